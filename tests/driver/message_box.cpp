#include "tests/driver/message_box.h"

#include <cwchar>

#include "tests/driver/window_select.h"

namespace {

struct DialogSearch {
  const std::wstring* title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  if (!IsWindowVisible(window) || WindowClass(window) != L"#32770") return TRUE;
  if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
  search->found = window;
  return FALSE;
}

std::wstring WithoutMnemonic(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c != L'&') out += c;
  }
  return out;
}

}  // namespace

HWND FindDialog(const std::wstring& title) {
  DialogSearch search{&title};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring DialogText(HWND dialog) {
  std::wstring text;
  for (const TreeEntry& entry : Descendants(dialog)) {
    if (_wcsicmp(WindowClass(entry.window).c_str(), L"Static") != 0) continue;
    std::wstring part = WindowText(entry.window);
    if (part.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += part;
  }
  return text;
}

std::wstring PressDialogButton(HWND dialog, const std::wstring& button) {
  bool byId = button.rfind(L"id=", 0) == 0;
  int id = byId ? _wtoi(button.c_str() + 3) : 0;
  std::wstring wanted = WithoutMnemonic(button);
  for (const TreeEntry& entry : Descendants(dialog)) {
    if (_wcsicmp(WindowClass(entry.window).c_str(), L"Button") != 0 || !IsWindowVisible(entry.window)) continue;
    bool match = byId ? GetDlgCtrlID(entry.window) == id
                      : _wcsicmp(WithoutMnemonic(WindowText(entry.window)).c_str(), wanted.c_str()) == 0;
    if (!match) continue;
    if (!IsWindowEnabled(entry.window)) return L"the button '" + button + L"' is disabled";
    // What a click on the button sends its dialog; the dialog's own code
    // then ends it as it would for a person.
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(entry.window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(entry.window));
    // Wine's modal loop can sit in its wait after the dialog has ended until
    // one more message arrives; a person's mouse would provide it.
    for (int wait = 0; wait < 100 && IsWindow(dialog) && IsWindowVisible(dialog); ++wait) Sleep(20);
    PostThreadMessageW(thread, WM_NULL, 0, 0);
    return {};
  }
  return L"no button '" + button + L"' in the dialog";
}
