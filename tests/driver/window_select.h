// Finding windows from outside the program that owns them: top-level windows
// by title, class or handle, and controls inside them by the name the
// program stored on each window, by control id or by class and position.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The window property that carries a control's name: its value is a global
// atom whose text is the name ("btnNext"). The toolkit sets it on every
// window it creates; the fixture does the same.
inline constexpr wchar_t kControlNameProperty[] = L"Velmora.Name";

// Stores `name` on `window` as kControlNameProperty (for test programs).
void SetControlName(HWND window, const wchar_t* name);

// The name stored on `window`; empty when it has none.
std::wstring ControlName(HWND window);

// A top-level window by selector: "title=TEXT", "class=NAME" or
// "hwnd=0xHEX". Only visible windows count for title and class. Returns
// null when none matches (or the selector is malformed; `error` says why).
HWND FindTopWindow(const std::wstring& selector, std::wstring* error);

// A descendant of `top` by selector: a control name, a path of names
// "parent/child" (each step searched among all descendants of the previous
// one), "id=N" or "class=NAME#k" (the k-th descendant of that class, from
// 0, in tree order). Returns null when none matches.
HWND FindControl(HWND top, const std::wstring& selector);

// Every descendant of `parent` in tree order with its depth (1 for direct
// children).
struct TreeEntry {
  HWND window;
  int depth;
};
std::vector<TreeEntry> Descendants(HWND parent);

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
