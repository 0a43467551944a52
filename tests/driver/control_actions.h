// What the driver does to a control, each as a person would do it: the
// program's own handlers run, and a modal box that an action opens does not
// block the driver (clicks are posted). Each returns an empty text on
// success, else what went wrong.
#pragma once

#include <windows.h>

#include <string>

std::wstring ClickControl(HWND control);
std::wstring TypeIntoControl(HWND control, const std::wstring& text);
// `choice` is an index or "text=ITEM".
std::wstring SelectInControl(HWND control, const std::wstring& choice);
// Clicks the state image of the item at `path` until it shows `checked`
// (a click may first give the partly checked state).
std::wstring CheckTreeItem(HWND tree, const std::wstring& path, bool checked);
// `key` is "enter", "escape" or "tab"; sent to the control that has the
// focus in `top`'s thread (or to `top`).
std::wstring PressKey(HWND top, const std::wstring& key);
