#include "ui/win32/common_controls.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

namespace cc::win {

Label::Label() { styles_[kStyleWindow] |= SS_LEFT | SS_NOTIFY; }

LRESULT ToolItem::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT r;
      GetClientRect(hwnd_, &r);
      PaintText(dc, r);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_SIZE: {
      LRESULT result = Control::WndProc(message, wParam, lParam);
      UpdateTextClip();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    default:
      break;
  }
  return Control::WndProc(message, wParam, lParam);
}

void ToolItem::SetClipToText(bool clip) {
  clipToText_ = clip;
  if (hwnd_ != nullptr && !clip) SetWindowRgn(hwnd_, nullptr, TRUE);
  UpdateTextClip();
}

void ToolItem::UpdateTextClip() {
  if (!clipToText_ || hwnd_ == nullptr) return;
  constexpr int kMargin = 4;  // room for the last glyph's overhang
  RECT client;
  GetClientRect(hwnd_, &client);
  Str text = Text();
  LONG width = 0;
  if (!text.IsEmpty()) {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, Font() != nullptr ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    RECT r = client;
    DrawTextW(dc, Wide(text), text.GetLength(), &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    width = std::min(r.right - r.left + kMargin, client.right);
  }
  // The window owns the region from here on.
  SetWindowRgn(hwnd_, CreateRectRgn(0, 0, width, client.bottom), TRUE);
}

void ToolItem::PaintText(HDC dc, const RECT& rect) {
  HGDIOBJ old = SelectObject(dc, Font() != nullptr ? Font() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  COLORREF colour = TextColor() != kNoColour ? TextColor() : GetSysColor(COLOR_BTNTEXT);
  if (!IsWindowEnabled(hwnd_) && TextColor() == kNoColour) colour = GetSysColor(COLOR_GRAYTEXT);
  ::SetTextColor(dc, colour);
  Str text = Text();
  RECT r = rect;
  DrawTextW(dc, Wide(text), text.GetLength(), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
}

LabelLink::LabelLink() { SetTextColor(RGB(0, 0, 255)); }

LRESULT LabelLink::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return TRUE;
  }
  if (message == WM_LBUTTONUP && !link_.IsEmpty()) {
    LRESULT result = ToolItem::WndProc(message, wParam, lParam);
    HWND top = GetAncestor(hwnd_, GA_ROOT);
    SendMessageW(top, kToolkitMessage, kOpenLink, reinterpret_cast<LPARAM>(Wide(link_)));
    return result;
  }
  return ToolItem::WndProc(message, wParam, lParam);
}

void LabelLink::PaintText(HDC dc, const RECT& rect) {
  LOGFONTW lf = {};
  GetObjectW(Font() != nullptr ? static_cast<HGDIOBJ>(Font()) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfUnderline = TRUE;
  HFONT underlined = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, underlined);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, TextColor() != kNoColour ? TextColor() : RGB(0, 0, 255));
  Str text = Text();
  RECT r = rect;
  DrawTextW(dc, Wide(text), text.GetLength(), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(underlined);
}

Button::Button() { styles_[kStyleWindow] |= WS_TABSTOP | BS_PUSHBUTTON; }

void Button::PerformClick() {
  if (!Enabled()) return;
  EventArgs args;
  Click.Fire(this, args);
}

CheckBox::CheckBox() { ModifyStyle(kStyleWindow, BS_PUSHBUTTON, BS_AUTOCHECKBOX); }

void CheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (Created()) SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const {
  if (!Created()) return checked_;
  return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::OnCreated() {
  if (checked_) SendMessageW(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
}

bool CheckBox::OnCommand(int code) {
  if (code == BN_CLICKED) checked_ = Checked();
  return Button::OnCommand(code);
}

RadioButton::RadioButton() { ModifyStyle(kStyleWindow, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON); }

void PathButton::SetPath(const Str& path) {
  path_ = path;
  ShowPath();
}

void PathButton::SetFolderMode(const Str& title, Control* startFrom) {
  folderMode_ = true;
  browseTitle_ = title;
  browseStart_ = startFrom;
}

void PathButton::OnCreated() { ShowPath(); }

bool PathButton::OnCommand(int code) {
  bool handled = Button::OnCommand(code);
  if (code == BN_CLICKED && folderMode_) BrowseForFolder();
  return handled;
}

namespace {

// Selects the start folder once the browser is up.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start != 0) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

void PathButton::BrowseForFolder() {
  Str start = browseStart_ != nullptr ? browseStart_->Text() : path_;
  if (start.IsNull()) start = Str(u"");
  start.Trim();
  start.Replace(Str(u"/"), Str(u"\\"));
  // The browser wants the folder without its trailing separator (a drive
  // root keeps it).
  if (start.GetLength() > 3 && start.EndsWith(u"\\")) start = start.Substring(0, start.GetLength() - 1);
  // The browser's tree needs COM on this thread; balance only what we began.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW info = {};
  info.hwndOwner = hwnd_ != nullptr ? GetAncestor(hwnd_, GA_ROOT) : nullptr;
  Str title = browseTitle_.IsNull() ? Str(u"") : browseTitle_;
  info.lpszTitle = Wide(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = start.IsEmpty() ? 0 : reinterpret_cast<LPARAM>(Wide(start));
  PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
  path_ = Str();
  if (picked != nullptr) {
    wchar_t buffer[MAX_PATH] = {};
    if (SHGetPathFromIDListW(picked, buffer)) path_ = Str(reinterpret_cast<const char16_t*>(buffer));
    CoTaskMemFree(picked);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  EventArgs args;
  Browsed.Fire(this, args);
}

void PathButton::ShowPath() {
  if (folderMode_) return;
  if (!Created()) {
    SetText(path_);
    return;
  }
  std::u16string shown(path_.View());
  shown.resize(shown.size() + 8, u'\0');
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  RECT r;
  GetClientRect(hwnd_, &r);
  InflateRect(&r, -6, 0);
  DrawTextW(dc, reinterpret_cast<wchar_t*>(shown.data()), -1, &r,
            DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(shown.c_str()));
}

namespace {

constexpr ItemListMessages kListBoxMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_SETCURSEL, LB_GETCURSEL, LBN_SELCHANGE};
constexpr ItemListMessages kComboBoxMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_SETCURSEL, CB_GETCURSEL, CBN_SELCHANGE};

}  // namespace

int ItemList::AddItem(const Str& text) {
  items_.push_back(text);
  if (Created()) SendMessageW(hwnd_, messages_.add, 0, reinterpret_cast<LPARAM>(Wide(text)));
  return ItemCount() - 1;
}

void ItemList::ClearItems() {
  items_.clear();
  selected_ = -1;
  if (Created()) SendMessageW(hwnd_, messages_.reset, 0, 0);
}

void ItemList::SetSelectedIndex(int index) {
  selected_ = index;
  if (Created()) SendMessageW(hwnd_, messages_.setSelection, static_cast<WPARAM>(index), 0);
}

int ItemList::SelectedIndex() const {
  return Created() ? static_cast<int>(SendMessageW(hwnd_, messages_.getSelection, 0, 0)) : selected_;
}

void ItemList::OnCreated() {
  for (const Str& item : items_) SendMessageW(hwnd_, messages_.add, 0, reinterpret_cast<LPARAM>(Wide(item)));
  SendMessageW(hwnd_, messages_.setSelection, static_cast<WPARAM>(selected_), 0);
}

bool ItemList::OnCommand(int code) {
  if (code != messages_.selectionChanged) return false;
  selected_ = SelectedIndex();
  EventArgs args;
  SelectedIndexChanged.Fire(this, args);
  return true;
}

ListBox::ListBox() : ItemList(kListBoxMessages) {
  styles_[kStyleWindow] |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  styles_[kStyleExWindow] |= WS_EX_CLIENTEDGE;
}

bool ListBox::OnCommand(int code) {
  if (code == LBN_DBLCLK) {
    EventArgs args;
    DoubleClick.Fire(this, args);
    return true;
  }
  return ItemList::OnCommand(code);
}

ComboBox::ComboBox() : ItemList(kComboBoxMessages) {
  styles_[kStyleWindow] |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
}

TextBox::TextBox() {
  styles_[kStyleWindow] |= WS_TABSTOP | ES_AUTOHSCROLL;
  styles_[kStyleExWindow] |= WS_EX_CLIENTEDGE;
}

void TextBox::SetMultiline(bool on) {
  const uint32_t bits = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
  ModifyStyle(kStyleWindow, on ? ES_AUTOHSCROLL : bits, on ? bits : ES_AUTOHSCROLL);
}

void TextBox::SetReadOnly(bool on) {
  ModifyStyle(kStyleWindow, ES_READONLY, on ? ES_READONLY : 0);
  if (Created()) SendMessageW(hwnd_, EM_SETREADONLY, on, 0);
}

bool TextBox::OnCommand(int code) {
  if (code != EN_CHANGE) return false;
  EventArgs args;
  TextChanged.Fire(this, args);
  return true;
}

const wchar_t* ProgressBar::WindowClass() const { return PROGRESS_CLASSW; }

void ProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  if (Created()) SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

// A position the bar already shows is not set again: setting it repaints
// the bar, which under Wine is a round trip to its server, and a copy sets
// the same percentage many times over.
void ProgressBar::SetValue(int value) {
  value_ = value;
  if (!Created() || SendMessageW(hwnd_, PBM_GETPOS, 0, 0) == value) return;
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void ProgressBar::OnCreated() {
  SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(minimum_), maximum_);
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(value_), 0);
}

}  // namespace cc::win
