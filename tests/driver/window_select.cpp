#include "tests/driver/window_select.h"

#include <cwchar>

void SetControlName(HWND window, const wchar_t* name) {
  ATOM atom = GlobalAddAtomW(name);
  if (atom != 0) SetPropW(window, kControlNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

std::wstring ControlName(HWND window) {
  HANDLE value = GetPropW(window, kControlNameProperty);
  if (value == nullptr) return {};
  wchar_t name[256];
  UINT length = GlobalGetAtomNameW(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(value)), name, 256);
  return std::wstring(name, length);
}

std::wstring WindowText(HWND window) {
  // An edit box keeps its text to itself: what another process reads of
  // its window text is the text it was created with. Ask the box.
  if (_wcsicmp(WindowClass(window).c_str(), L"Edit") == 0) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
      std::wstring text(length + 1, L'\0');
      DWORD_PTR copied = 0;
      if (SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                              SMTO_ABORTIFHUNG, 5000, &copied)) {
        text.resize(copied);
        return text;
      }
    }
  }
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? copied : 0);
  return text;
}

std::wstring WindowClass(HWND window) {
  wchar_t name[256];
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

namespace {

struct TopSearch {
  bool byTitle;
  std::wstring wanted;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TopSearch*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  std::wstring have = search->byTitle ? WindowText(window) : WindowClass(window);
  if (_wcsicmp(have.c_str(), search->wanted.c_str()) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix, std::wstring* rest) {
  size_t length = wcslen(prefix);
  if (text.compare(0, length, prefix) != 0) return false;
  *rest = text.substr(length);
  return true;
}

void CollectDescendants(HWND parent, int depth, std::vector<TreeEntry>* out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    out->push_back({child, depth});
    CollectDescendants(child, depth + 1, out);
  }
}

HWND FindByName(HWND scope, const std::wstring& name) {
  for (const TreeEntry& entry : Descendants(scope)) {
    if (ControlName(entry.window) == name) return entry.window;
  }
  return nullptr;
}

}  // namespace

std::vector<TreeEntry> Descendants(HWND parent) {
  std::vector<TreeEntry> out;
  CollectDescendants(parent, 1, &out);
  return out;
}

HWND FindTopWindow(const std::wstring& selector, std::wstring* error) {
  std::wstring value;
  if (StartsWith(selector, L"hwnd=", &value)) {
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(value.c_str(), nullptr, 16)));
    return IsWindow(window) ? window : nullptr;
  }
  TopSearch search;
  if (StartsWith(selector, L"title=", &value)) {
    search.byTitle = true;
  } else if (StartsWith(selector, L"class=", &value)) {
    search.byTitle = false;
  } else {
    *error = L"a window is named title=TEXT, class=NAME or hwnd=0xHEX, not '" + selector + L"'";
    return nullptr;
  }
  search.wanted = value;
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControl(HWND top, const std::wstring& selector) {
  std::wstring value;
  if (StartsWith(selector, L"id=", &value)) {
    int id = _wtoi(value.c_str());
    for (const TreeEntry& entry : Descendants(top)) {
      if (GetDlgCtrlID(entry.window) == id) return entry.window;
    }
    return nullptr;
  }
  if (StartsWith(selector, L"class=", &value)) {
    size_t hash = value.rfind(L'#');
    int wanted = hash == std::wstring::npos ? 0 : _wtoi(value.c_str() + hash + 1);
    std::wstring className = value.substr(0, hash);
    for (const TreeEntry& entry : Descendants(top)) {
      if (_wcsicmp(WindowClass(entry.window).c_str(), className.c_str()) == 0 && wanted-- == 0) return entry.window;
    }
    return nullptr;
  }
  HWND scope = top;
  size_t start = 0;
  while (scope != nullptr) {
    size_t slash = selector.find(L'/', start);
    scope = FindByName(scope, selector.substr(start, slash - start));
    if (slash == std::wstring::npos) return scope;
    start = slash + 1;
  }
  return nullptr;
}
