#include "ui/win32/container.h"

namespace cc::win {

Container::Container() { styles_[kStyleWindow] |= WS_CLIPCHILDREN; }

LRESULT GroupPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return Panel::WndProc(message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT r;
  GetClientRect(hwnd_, &r);
  HGDIOBJ oldFont = SelectObject(dc, Font() != nullptr ? Font() : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  r.top += tm.tmHeight / 2;
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  Str text = Text();
  if (!text.IsEmpty()) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, BackColor() == kNoColour ? GetSysColor(COLOR_BTNFACE) : BackColor());
    if (TextColor() != kNoColour) ::SetTextColor(dc, TextColor());
    TextOutW(dc, 8, 0, Wide(text), text.GetLength());
  }
  SelectObject(dc, oldFont);
  EndPaint(hwnd_, &ps);
  return 0;
}

void ControlContainer::SetText(const Str& text) {
  Container::SetText(text);
  Invalidate();
}

LRESULT ControlContainer::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return Container::WndProc(message, wParam, lParam);
  Str text = Text();
  if (text.IsEmpty()) return Container::WndProc(message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT r;
  GetClientRect(hwnd_, &r);
  r.left += margins_.left;
  r.top += margins_.top;
  r.right -= margins_.right;
  r.bottom -= margins_.bottom;
  HGDIOBJ oldFont = SelectObject(dc, Font() != nullptr ? Font() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, TextColor() == kNoColour ? GetSysColor(COLOR_WINDOWTEXT) : TextColor());
  DrawTextW(dc, Wide(text), text.GetLength(), &r, DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(hwnd_, &ps);
  return 0;
}

}  // namespace cc::win
