// What the driver prints about windows and controls: one line per control
// with its name, class, id, text, rectangles and state, readable by a
// person and by a test script (key=value fields, text quoted and escaped).
#pragma once

#include <windows.h>

#include <string>

// Text with backslash, quote, CR, LF and tab escaped, in double quotes.
std::wstring Quoted(const std::wstring& text);

// The window's rectangle in the client coordinates of `top`, as "x,y,w,h".
std::wstring RectInTop(HWND top, HWND window);
// The window's rectangle on the screen, as "x,y,w,h".
std::wstring ScreenRect(HWND window);

// "visible=1 enabled=1 checked=0" (checked only for buttons that can be).
std::wstring StateFields(HWND window);

// The selection of a combo box, list box or tree view: "sel=INDEX:"TEXT""
// or "sel=-1"; empty for other classes.
std::wstring SelectionField(HWND window);

// The whole line for one control (without indentation).
std::wstring ControlLine(HWND top, HWND window);

// The top window's own line: title, class and client size.
std::wstring TopLine(HWND top);

// Writes UTF-8 to standard output, then a line feed.
void PrintLine(const std::wstring& line);
// Writes UTF-8 to standard error, then a line feed.
void PrintError(const std::wstring& line);
