#include "tests/driver/control_report.h"

#include <commctrl.h>

#include <cwchar>

#include "tests/driver/remote_tree.h"
#include "tests/driver/window_select.h"

namespace {

std::wstring RectText(const RECT& r) {
  wchar_t text[80];
  swprintf(text, 80, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return text;
}

bool IsClass(HWND window, const wchar_t* name) { return _wcsicmp(WindowClass(window).c_str(), name) == 0; }

bool IsCheckableButton(HWND window) {
  if (!IsClass(window, L"Button")) return false;
  LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void WriteUtf8(HANDLE out, const std::wstring& line) {
  std::wstring withEnd = line + L"\n";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()), nullptr, 0, nullptr, nullptr);
  std::string text(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()), text.data(), bytes, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring ListSelection(HWND window, UINT getCurSel, UINT getTextLen, UINT getText) {
  LRESULT index = SendMessageW(window, getCurSel, 0, 0);
  if (index < 0) return L"sel=-1";
  LRESULT length = SendMessageW(window, getTextLen, index, 0);
  std::wstring text(length > 0 ? length + 1 : 1, L'\0');
  if (length > 0) SendMessageW(window, getText, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length > 0 ? length : 0);
  return L"sel=" + std::to_wstring(index) + L":" + Quoted(text);
}

}  // namespace

std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'"': out += L"\\\""; break;
      case L'\r': out += L"\\r"; break;
      case L'\n': out += L"\\n"; break;
      case L'\t': out += L"\\t"; break;
      default: out += c;
    }
  }
  return out + L"\"";
}

std::wstring RectInTop(HWND top, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
  return RectText(r);
}

std::wstring ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return RectText(r);
}

std::wstring StateFields(HWND window) {
  std::wstring fields = L"visible=" + std::to_wstring(IsWindowVisible(window) ? 1 : 0) +
                        L" enabled=" + std::to_wstring(IsWindowEnabled(window) ? 1 : 0);
  if (IsCheckableButton(window)) {
    fields += L" checked=" + std::to_wstring(SendMessageW(window, BM_GETCHECK, 0, 0));
  }
  return fields;
}

std::wstring SelectionField(HWND window) {
  if (IsClass(window, L"ComboBox")) return ListSelection(window, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT);
  if (IsClass(window, L"ListBox")) return ListSelection(window, LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT);
  if (IsClass(window, WC_TREEVIEWW)) {
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return L"sel=none";
    RemoteTreeItem read;
    return ReadTreeItem(window, item, &read) ? L"sel=" + Quoted(read.text) : L"sel=?";
  }
  return {};
}

std::wstring ControlLine(HWND top, HWND window) {
  std::wstring line = L"name=" + Quoted(ControlName(window)) + L" class=" + Quoted(WindowClass(window)) +
                      L" id=" + std::to_wstring(GetDlgCtrlID(window)) + L" text=" + Quoted(WindowText(window)) +
                      L" rect=" + RectInTop(top, window) + L" screen=" + ScreenRect(window) + L" " +
                      StateFields(window);
  std::wstring selection = SelectionField(window);
  if (!selection.empty()) line += L" " + selection;
  return line;
}

std::wstring TopLine(HWND top) {
  RECT client;
  GetClientRect(top, &client);
  wchar_t handle[32];
  swprintf(handle, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(top)));
  return L"window hwnd=" + std::wstring(handle) + L" name=" + Quoted(ControlName(top)) + L" class=" +
         Quoted(WindowClass(top)) + L" title=" + Quoted(WindowText(top)) + L" client=" +
         std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom) + L" screen=" + ScreenRect(top) +
         L" " + StateFields(top);
}

void PrintLine(const std::wstring& line) { WriteUtf8(GetStdHandle(STD_OUTPUT_HANDLE), line); }
void PrintError(const std::wstring& line) { WriteUtf8(GetStdHandle(STD_ERROR_HANDLE), line); }
