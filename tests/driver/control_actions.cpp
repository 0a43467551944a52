#include "tests/driver/control_actions.h"

#include <commctrl.h>

#include <cwchar>

#include "tests/driver/remote_tree.h"
#include "tests/driver/window_select.h"

namespace {

std::wstring RefuseUnusable(HWND control) {
  if (!IsWindowVisible(control)) return L"the control is hidden";
  if (!IsWindowEnabled(control)) return L"the control is disabled";
  return {};
}

bool IsClass(HWND window, const wchar_t* name) { return _wcsicmp(WindowClass(window).c_str(), name) == 0; }

void NotifyParent(HWND control, WORD code) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

std::wstring ItemText(HWND control, bool combo, int index) {
  LRESULT length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::wstring text(length + 1, L'\0');
  SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

int IndexOfText(HWND control, bool combo, const std::wstring& wanted) {
  int count = static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (ItemText(control, combo, i) == wanted) return i;
  }
  return -1;
}

// A real click at a point of the control: the pointer moves there first, so
// a handler that asks where the click was sees the same point.
void ClickAt(HWND control, POINT clientPoint) {
  POINT screen = clientPoint;
  ClientToScreen(control, &screen);
  SetCursorPos(screen.x, screen.y);
  LPARAM at = MAKELPARAM(clientPoint.x, clientPoint.y);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

int StateImageOf(HWND tree, HTREEITEM item) {
  RemoteTreeItem read;
  return ReadTreeItem(tree, item, &read) ? read.stateImage : -1;
}

}  // namespace

std::wstring ClickControl(HWND control) {
  std::wstring refused = RefuseUnusable(control);
  if (!refused.empty()) return refused;
  if (IsClass(control, L"Button")) {
    PostMessageW(control, BM_CLICK, 0, 0);
  } else {
    RECT client;
    GetClientRect(control, &client);
    ClickAt(control, {client.right / 2, client.bottom / 2});
  }
  return {};
}

std::wstring TypeIntoControl(HWND control, const std::wstring& text) {
  std::wstring refused = RefuseUnusable(control);
  if (!refused.empty()) return refused;
  // The edit control announces the change to its parent itself.
  if (!SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) return L"the control refused the text";
  return {};
}

std::wstring SelectInControl(HWND control, const std::wstring& choice) {
  std::wstring refused = RefuseUnusable(control);
  if (!refused.empty()) return refused;
  bool combo = IsClass(control, L"ComboBox");
  if (!combo && !IsClass(control, L"ListBox")) return L"the control is neither a combo box nor a list box";
  int index = choice.rfind(L"text=", 0) == 0 ? IndexOfText(control, combo, choice.substr(5)) : _wtoi(choice.c_str());
  int count = static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return L"no item '" + choice + L"' among " + std::to_wstring(count);
  SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
  NotifyParent(control, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  return {};
}

std::wstring CheckTreeItem(HWND tree, const std::wstring& path, bool checked) {
  std::wstring refused = RefuseUnusable(tree);
  if (!refused.empty()) return refused;
  HTREEITEM item = FindTreeItem(tree, path);
  if (item == nullptr) return L"no tree item '" + path + L"'";
  int wanted = checked ? 2 : 1;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int state = StateImageOf(tree, item);
    if (state == wanted) return {};
    if (state <= 0) return L"the item has no check box";
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT text;
    if (!ReadTreeItemRect(tree, item, &text)) return L"cannot read the item's rectangle";
    // The state image sits just left of the text (and of the icon, if any).
    int imageWidth = 16;
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    int iconWidth = icons != nullptr ? imageWidth + 3 : 0;
    ClickAt(tree, {text.left - iconWidth - imageWidth / 2, (text.top + text.bottom) / 2});
    for (int wait = 0; wait < 40 && StateImageOf(tree, item) == state; ++wait) Sleep(25);
  }
  return StateImageOf(tree, item) == wanted ? std::wstring() : L"the item did not take the state (locked?)";
}

std::wstring PressKey(HWND top, const std::wstring& key) {
  UINT code = key == L"enter" ? VK_RETURN : key == L"escape" ? VK_ESCAPE : key == L"tab" ? VK_TAB : 0;
  if (code == 0) return L"keys are enter, escape or tab, not '" + key + L"'";
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = top;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus != nullptr) {
    target = info.hwndFocus;
  }
  UINT scan = MapVirtualKeyW(code, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, code, MAKELPARAM(1, scan));
  PostMessageW(target, WM_KEYUP, code, MAKELPARAM(1, scan | KF_UP | KF_REPEAT));
  return {};
}
