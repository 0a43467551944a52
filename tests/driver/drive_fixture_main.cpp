// A plain Win32 window with one control of every kind the driver handles,
// each named as the toolkit names its windows. Whatever reaches the window
// (clicks, changes, keys, answers) is shown in the label "labLog", so a test
// reads the effect of every driver command through the driver itself.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/driver/window_select.h"

namespace {

enum ControlId { kHello = 100, kOption, kName, kLanguage, kItems, kTree, kBar, kAsk, kLog, kDisabled };

HWND g_log = nullptr;

void Log(const std::wstring& text) { SetWindowTextW(g_log, text.c_str()); }

HWND Add(HWND parent, const wchar_t* className, const wchar_t* name, const wchar_t* text, DWORD style, int id,
         int x, int y, int w, int h) {
  HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SetControlName(control, name);
  return control;
}

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const wchar_t* text) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(text);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  TreeView_SetCheckState(tree, item, FALSE);
  return item;
}

void BuildControls(HWND window) {
  Add(window, L"Button", L"btnHello", L"&Hello", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 10, 10, 90, 26);
  Add(window, L"Button", L"chkOption", L"Option", BS_AUTOCHECKBOX | WS_TABSTOP, kOption, 110, 10, 90, 26);
  Add(window, L"Edit", L"textName", L"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, kName, 10, 46, 190, 24);
  HWND combo = Add(window, L"ComboBox", L"comboLang", L"", CBS_DROPDOWNLIST | WS_TABSTOP, kLanguage, 10, 80, 190, 120);
  for (const wchar_t* language : {L"English", L"Deutsch", L"Русский"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language));
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  HWND list = Add(window, L"ListBox", L"lstItems", L"", WS_BORDER | LBS_NOTIFY, kItems, 10, 112, 190, 60);
  for (const wchar_t* item : {L"alpha", L"beta", L"gamma"}) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  HWND tree = Add(window, WC_TREEVIEWW, L"treeComp", L"", WS_BORDER | TVS_CHECKBOXES | TVS_HASLINES | TVS_HASBUTTONS,
                  kTree, 210, 10, 200, 160);
  HTREEITEM program = AddItem(tree, TVI_ROOT, L"Program");
  AddItem(tree, program, L"Core");
  AddItem(tree, program, L"Samples");
  AddItem(tree, TVI_ROOT, L"Help");
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(program));
  HWND bar = Add(window, PROGRESS_CLASSW, L"progBar", L"", 0, kBar, 10, 180, 400, 16);
  SendMessageW(bar, PBM_SETRANGE32, 0, 100);
  SendMessageW(bar, PBM_SETPOS, 40, 0);
  Add(window, L"Button", L"btnAsk", L"&Ask", WS_TABSTOP, kAsk, 10, 204, 90, 26);
  HWND disabled = Add(window, L"Button", L"btnDisabled", L"Off", 0, kDisabled, 110, 204, 90, 26);
  EnableWindow(disabled, FALSE);
  g_log = Add(window, L"Static", L"labLog", L"ready", 0, kLog, 10, 240, 400, 20);
}

void OnCommand(HWND window, int id, int code, HWND control) {
  switch (id) {
    case IDOK: Log(L"clicked btnHello"); break;
    case IDCANCEL: Log(L"escape"); break;
    case kOption: Log(L"option " + std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0))); break;
    case kName:
      if (code == EN_CHANGE) {
        wchar_t text[256];
        GetWindowTextW(control, text, 256);
        Log(std::wstring(L"name ") + text);
      }
      break;
    case kLanguage:
      if (code == CBN_SELCHANGE) Log(L"language " + std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      break;
    case kItems:
      if (code == LBN_SELCHANGE) Log(L"item " + std::to_wstring(SendMessageW(control, LB_GETCURSEL, 0, 0)));
      break;
    case kAsk: {
      int answer = MessageBoxW(window, L"Proceed with the test?", L"Fixture question", MB_YESNO | MB_ICONQUESTION);
      Log(answer == IDYES ? L"answer yes" : L"answer no");
      break;
    }
  }
}

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: BuildControls(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FixtureProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VelmoraDriveFixture";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Velmora Drive Fixture", WS_OVERLAPPEDWINDOW,
                                40, 40, 440, 310, nullptr, nullptr, instance, nullptr);
  SetControlName(window, L"fixture");
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
