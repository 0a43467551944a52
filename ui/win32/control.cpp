#include "ui/win32/control.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/exceptions.h"
#include "ui/win32/app.h"
#include "ui/win32/draw_actor.h"

namespace cc::win {
namespace {

constexpr wchar_t kControlProperty[] = L"Velmora.Control";

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

Str DeferRegisterText(const wchar_t* className) {
  Str text(kDeferRegisterFormat);
  text.Replace(Str(u"%s"), Str(reinterpret_cast<const char16_t*>(className)));
  return text;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  if (Control::FromHandle(window) != nullptr) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// One painter per process: it caches the themed brushes.
DrawActor& SharedDrawActor() {
  static DrawActor actor;
  return actor;
}

// The one mode in effect: the highest mode bit set, solid when none is.
int EffectiveMode(uint32_t backWord) {
  uint32_t bits = backWord & kBackModeMask;
  if (bits == 0) return kBackSolid;
  int mode = kBackGradient;
  while ((bits & static_cast<uint32_t>(mode)) == 0) mode >>= 1;
  return mode;
}

bool SizeDependent(BrushSource source) {
  return source == BrushSource::kGradientStrip || source == BrushSource::kStretchPattern ||
         source == BrushSource::kThemed;
}

}  // namespace

Control::Control() { styles_[kStyleWindow] = WS_CHILD | WS_CLIPSIBLINGS; }

Control::~Control() {
  DestroyHandle();
  children_.clear();
  if (ownsFont_ && font_ != nullptr) DeleteObject(font_);
  DeleteBackBrush();
  DropBitmap();
}

void Control::SetName(const Str& name) {
  name_ = name;
  if (hwnd_ == nullptr) return;
  RemovePropW(hwnd_, kNameProperty);
  if (nameAtom_ != 0) GlobalDeleteAtom(nameAtom_);
  nameAtom_ = name_.IsEmpty() ? 0 : GlobalAddAtomW(Wide(name_));
  if (nameAtom_ != 0) SetPropW(hwnd_, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
}

void Control::SetText(const Str& text) {
  text_ = text;
  if (hwnd_ != nullptr) SetWindowTextW(hwnd_, Wide(text_));
}

Str Control::Text() const {
  if (hwnd_ == nullptr) return text_;
  int length = GetWindowTextLengthW(hwnd_);
  std::u16string buffer(static_cast<size_t>(length) + 1, u'\0');
  int got = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(buffer.data()), length + 1);
  buffer.resize(static_cast<size_t>(got < 0 ? 0 : got));
  return Str(buffer);
}

void Control::SetLocation(int x, int y) { SetBounds(x, y, bounds_.width, bounds_.height); }

void Control::SetSize(int width, int height) { SetBounds(bounds_.x, bounds_.y, width, height); }

void Control::SetBounds(int x, int y, int width, int height) {
  const Bounds old = bounds_;
  bounds_ = {x, y, width, height};
  if (hwnd_ != nullptr) {
    MoveWindow(hwnd_, x, y, width, height, TRUE);  // WM_SIZE applies the anchors
    return;
  }
  if (old.width != width || old.height != height) {
    LayoutChildren(old.width, old.height, width, height);
  }
}

void Control::ClientSize(int* width, int* height) const {
  if (hwnd_ != nullptr) {
    RECT r;
    GetClientRect(hwnd_, &r);
    *width = r.right;
    *height = r.bottom;
    return;
  }
  *width = bounds_.width;
  *height = bounds_.height;
}

void Control::LayoutChildren(int oldWidth, int oldHeight, int newWidth, int newHeight) {
  if (oldWidth < 0 || oldHeight < 0) return;
  if (oldWidth == newWidth && oldHeight == newHeight) return;
  for (auto& child : children_) {
    Bounds b = AnchoredBounds(child->bounds_, child->anchors_, oldWidth, oldHeight, newWidth, newHeight);
    if (!(b == child->bounds_)) child->SetBounds(b.x, b.y, b.width, b.height);
  }
}

void Control::HandleSized() {
  RECT r;
  GetClientRect(hwnd_, &r);
  int oldWidth = clientWidth_, oldHeight = clientHeight_;
  clientWidth_ = r.right;
  clientHeight_ = r.bottom;
  LayoutChildren(oldWidth, oldHeight, clientWidth_, clientHeight_);
  EventArgs args;
  Resize.Fire(this, args);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  // The window's own visible bit, not IsWindowVisible: before the form is
  // shown every child counts as invisible, and a hide would be skipped.
  if (hwnd_ != nullptr && ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0) != visible) {
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
  }
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_ != nullptr) EnableWindow(hwnd_, enabled);
}

void Control::Focus() {
  if (hwnd_ != nullptr) SetFocus(hwnd_);
}

Control* Control::AddChild(std::unique_ptr<Control> child, int index) {
  Control* raw = child.get();
  raw->parent_ = this;
  if (index < 0 || index > ChildCount()) {
    children_.push_back(std::move(child));
  } else {
    children_.insert(children_.begin() + index, std::move(child));
  }
  if (hwnd_ != nullptr) raw->CreateControl();
  return raw;
}

Control* Control::FindChild(const Str& name, bool recursive) const {
  for (const auto& child : children_) {
    if (child->name_.Equals(name)) return child.get();
  }
  if (!recursive) return nullptr;
  for (const auto& child : children_) {
    if (Control* found = child->FindChild(name, true)) return found;
  }
  return nullptr;
}

Control* Control::ChildAt(int index) const {
  if (index < 0 || index >= ChildCount()) return nullptr;
  return children_[static_cast<size_t>(index)].get();
}

bool Control::RemoveChild(Control* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const std::unique_ptr<Control>& c) { return c.get() == child; });
  if (it == children_.end()) return false;
  children_.erase(it);
  return true;
}

void Control::SetFont(int height, const Str& face, bool bold, bool italic, bool underline, bool strikeOut) {
  LOGFONTW lf = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfHeight = -height;
  lf.lfWidth = 0;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  if (!face.IsEmpty()) lstrcpynW(lf.lfFaceName, Wide(face), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  if (font == nullptr) return;
  if (ownsFont_ && font_ != nullptr) DeleteObject(font_);
  font_ = font;
  ownsFont_ = true;
  ApplyFont();
}

void Control::ApplyFont() {
  if (hwnd_ == nullptr) return;
  HFONT font = font_;
  if (font == nullptr && parent_ != nullptr) font = parent_->font_;
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Control::ModifyStyle(int word, uint32_t clear, uint32_t set) {
  if (word < 0 || word >= kStyleWordCount) return;
  styles_[word] = (styles_[word] & ~clear) | set;
  if (hwnd_ == nullptr || word > kStyleExWindow) return;
  if (word == kStyleWindow) {
    // Visibility and enabling have their own operations.
    LONG keep = GetWindowLongW(hwnd_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
    SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(styles_[word] & ~(WS_VISIBLE | WS_DISABLED)) | keep);
  } else {
    SetWindowLongW(hwnd_, GWL_EXSTYLE, static_cast<LONG>(styles_[word]));
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Control::SetTextColor(COLORREF colour) {
  textColour_ = colour;
  Invalidate();
}

void Control::SetBackColor(COLORREF colour) {
  backColour_ = colour;
  ColoursChanged();
}

void Control::SetSecondColor(COLORREF colour) {
  secondColour_ = colour;
  ColoursChanged();
}

void Control::SetHatch(int hatch) {
  hatch_ = hatch;
  ColoursChanged();
}

void Control::ColoursChanged() {
  int mode = EffectiveMode(styles_[kStyleBack]);
  if (mode == kBackFixedBrush) return;
  if (mode == kBackGradient) DropBitmap();
  DeleteBackBrush();
  Invalidate();
}

void Control::DeleteBackBrush() {
  if (backBrush_ != nullptr && (styles_[kStyleState] & kStateBrushOwned)) DeleteObject(backBrush_);
  backBrush_ = nullptr;
  styles_[kStyleState] &= ~kStateBrushOwned;
  styles_[kStyleState] |= kStateRebuildBrush;
}

void Control::DropBitmap() {
  if (backBitmap_ != nullptr && (styles_[kStyleState] & kStateBitmapOwned)) DeleteObject(backBitmap_);
  backBitmap_ = nullptr;
  styles_[kStyleState] &= ~kStateBitmapOwned;
}

void Control::SetBackgroundMode(uint32_t mode) {
  if (EffectiveMode(styles_[kStyleBack]) == kBackFixedBrush && mode != kBackFixedBrush) {
    DeleteBackBrush();  // the fixed brush belongs to the old mode
  }
  if (mode == kBackSolid || mode == kBackThemed) DropBitmap();
  styles_[kStyleBack] = (styles_[kStyleBack] & ~kBackModeMask) | (mode & kBackModeMask);
  DeleteBackBrush();
  Invalidate();
}

void Control::SetFixedBrush(HBRUSH brush, bool owned) {
  DeleteBackBrush();
  DropBitmap();
  styles_[kStyleBack] = (styles_[kStyleBack] & ~kBackModeMask) | kBackFixedBrush;
  backBrush_ = brush;
  styles_[kStyleState] &= ~kStateRebuildBrush;
  if (owned) styles_[kStyleState] |= kStateBrushOwned;
  Invalidate();
}

void Control::SetStretchedImage(HBITMAP bitmap, bool owned) {
  DropBitmap();
  SetBackgroundMode(kBackStretchedImage);
  backBitmap_ = bitmap;
  if (owned) styles_[kStyleState] |= kStateBitmapOwned;
}

void Control::SetGradient(bool vertical) {
  DropBitmap();  // the strip is built for the colours and direction
  if (vertical) {
    styles_[kStyleState] |= kStateVerticalGradient;
  } else {
    styles_[kStyleState] &= ~kStateVerticalGradient;
  }
  SetBackgroundMode(kBackGradient);
}

HBRUSH Control::BackgroundBrush() {
  int width = 0, height = 0;
  ClientSize(&width, &height);
  int mode = EffectiveMode(styles_[kStyleBack]);
  BrushSource source = ChooseBrush(mode, backBitmap_ != nullptr, hatch_);
  if (source == BrushSource::kFixed) return backBrush_;
  bool resized = SizeDependent(source) && (width != brushWidth_ || height != brushHeight_);
  if (backBrush_ != nullptr && !(styles_[kStyleState] & kStateRebuildBrush) && !resized) {
    return backBrush_;
  }
  DeleteBackBrush();
  COLORREF back = backColour_ == kNoColour ? GetSysColor(COLOR_BTNFACE) : backColour_;
  if (source == BrushSource::kGradientStrip) {
    COLORREF second = secondColour_ == kNoColour ? back : secondColour_;
    HDC screen = GetDC(nullptr);
    // The strip runs from the second colour to the back colour at full
    // length; the pattern brush stretches it to the client size.
    backBitmap_ = DrawActor::CreateGradientBitmap(screen, second, back, 0, 0,
                                                  (styles_[kStyleState] & kStateVerticalGradient) != 0);
    ReleaseDC(nullptr, screen);
    if (backBitmap_ != nullptr) styles_[kStyleState] |= kStateBitmapOwned;
    source = backBitmap_ != nullptr ? BrushSource::kStretchPattern : BrushSource::kSolid;
  }
  HBRUSH brush = nullptr;
  bool owned = true;
  if (source == BrushSource::kThemed) {
    brush = SharedDrawActor().GetThemedBrush(height);
    owned = false;
  } else if (source == BrushSource::kStretchPattern) {
    brush = DrawActor::CreateStretchedPatternBrush(backBitmap_, width, height);
  }
  if (brush == nullptr) {
    brush = DrawActor::CreateBackBrush(back, hatch_);
    owned = true;
  }
  backBrush_ = brush;
  brushWidth_ = width;
  brushHeight_ = height;
  styles_[kStyleState] &= ~kStateRebuildBrush;
  if (owned && brush != nullptr) styles_[kStyleState] |= kStateBrushOwned;
  return backBrush_;
}

void Control::Invalidate() {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::RegisterClassOnce(const wchar_t* name, UINT style) {
  static std::set<std::wstring> registered;
  if (registered.count(name) != 0) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = ClassProc;
  wc.hInstance = Module();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw UserException(DeferRegisterText(name));
  }
  registered.insert(name);
}

HWND Control::CreateWindowFor(HWND parent) {
  const wchar_t* cls = WindowClass();
  if (OwnsWindowClass()) {
    RegisterClassOnce(cls, ClassStyle());
  } else {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    if (!GetClassInfoExW(nullptr, cls, &info) && !GetClassInfoExW(Module(), cls, &info)) {
      throw UserException(kRegisterClassError);
    }
  }
  DWORD style = styles_[kStyleWindow] & ~(WS_VISIBLE | WS_DISABLED);
  if (visible_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  if (parent == nullptr) style &= ~WS_CHILD;
  return CreateWindowExW(styles_[kStyleExWindow], cls, Wide(text_), style, bounds_.x, bounds_.y,
                         bounds_.width, bounds_.height, parent, nullptr, Module(), this);
}

bool Control::CreateControl() {
  if (hwnd_ != nullptr) return true;
  HWND parent = parent_ != nullptr ? parent_->hwnd_ : nullptr;
  if (parent_ != nullptr && parent == nullptr) return false;
  HWND window = CreateWindowFor(parent);
  if (window == nullptr) return false;
  if (hwnd_ == nullptr) Attach(window);  // platform classes: subclass now
  ApplyFont();
  RECT r;
  GetClientRect(hwnd_, &r);
  clientWidth_ = r.right;
  clientHeight_ = r.bottom;
  for (auto& child : children_) child->CreateControl();
  OnCreated();  // the children's windows exist by now
  return true;
}

void Control::Attach(HWND window) {
  hwnd_ = window;
  SetPropW(window, kControlProperty, this);
  if (!name_.IsEmpty()) {
    nameAtom_ = GlobalAddAtomW(Wide(name_));
    if (nameAtom_ != 0) SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
  }
  if (!OwnsWindowClass()) {
    baseProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  }
}

void Control::Detach() {
  if (hwnd_ == nullptr) return;
  RemovePropW(hwnd_, kControlProperty);
  RemovePropW(hwnd_, kNameProperty);
  if (nameAtom_ != 0) GlobalDeleteAtom(nameAtom_);
  nameAtom_ = 0;
  if (baseProc_ != nullptr) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
  baseProc_ = nullptr;
  hwnd_ = nullptr;
  clientWidth_ = clientHeight_ = -1;
}

void Control::DestroyHandle() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);  // WM_NCDESTROY detaches every child
}

Control* Control::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<Control*>(GetPropW(window, kControlProperty));
}

bool Control::DestroyAllWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
  bool ok = true;
  for (HWND w : windows) {
    if (IsWindow(w) && !DestroyWindow(w)) ok = false;
  }
  return ok;
}

bool Control::PreTranslateKey(MSG*, int) { return false; }

bool Control::FillWithOwnBrush(HDC dc, const RECT& rect) {
  HBRUSH brush = BackgroundBrush();
  if (brush == nullptr) return false;
  // Pattern brushes start at the client origin wherever the viewport is.
  POINT viewport;
  GetViewportOrgEx(dc, &viewport);
  POINT oldOrigin;
  SetBrushOrgEx(dc, viewport.x, viewport.y, &oldOrigin);
  FillRect(dc, &rect, brush);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  return true;
}

bool Control::FillFromAncestor(HDC dc, const RECT& rect, Control* ancestor, bool brushOnly) {
  if (hwnd_ == nullptr || ancestor->hwnd_ == nullptr) return false;
  POINT offset = {0, 0};
  MapWindowPoints(hwnd_, ancestor->hwnd_, &offset, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -offset.x, -offset.y, &old);
  RECT inAncestor = rect;
  OffsetRect(&inAncestor, offset.x, offset.y);
  bool painted = brushOnly ? ancestor->FillWithOwnBrush(dc, inAncestor)
                           : ancestor->PaintBackground(dc, inAncestor);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  return painted;
}

bool Control::PaintBackground(HDC dc, const RECT& rect) {
  std::vector<uint32_t> words;
  std::vector<Control*> ancestors;
  for (Control* a = parent_; a != nullptr; a = a->parent_) {
    words.push_back(a->styles_[kStylePaint]);
    ancestors.push_back(a);
  }
  EraseDecision decision = DecideErase(styles_[kStylePaint], words);
  switch (decision.action) {
    case EraseAction::kFillOwn:
      return FillWithOwnBrush(dc, rect);
    case EraseAction::kFillAncestorBrush:
      return FillFromAncestor(dc, rect, ancestors[static_cast<size_t>(decision.ancestor)], true);
    case EraseAction::kAncestorErases:
      return FillFromAncestor(dc, rect, ancestors[static_cast<size_t>(decision.ancestor)], false);
    case EraseAction::kPlatform:
      break;
  }
  if (PaintRoleOf(styles_[kStylePaint]) == PaintRole::kTransparent) return false;
  // A control that neither paints nor is transparent shows its background
  // settings when it has any, else the dialog face.
  if (backColour_ == kNoColour && EffectiveMode(styles_[kStyleBack]) == kBackSolid) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }
  return FillWithOwnBrush(dc, rect);
}

HBRUSH Control::OnControlColour(HDC dc) {
  if (textColour_ != kNoColour) ::SetTextColor(dc, textColour_);
  if ((styles_[kStylePaint] & kPaintTransparent) && parent_ != nullptr) {
    RECT r;
    GetClientRect(hwnd_, &r);
    PaintBackground(dc, r);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
  if (backColour_ != kNoColour || EffectiveMode(styles_[kStyleBack]) != kBackSolid) {
    if (backColour_ != kNoColour) SetBkColor(dc, backColour_);
    if (EffectiveMode(styles_[kStyleBack]) != kBackSolid || hatch_ != 0) SetBkMode(dc, TRANSPARENT);
    return BackgroundBrush();
  }
  if (textColour_ != kNoColour) {
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  return nullptr;
}

bool Control::OnCommand(int code) {
  if (code == BN_CLICKED || code == STN_CLICKED) {
    EventArgs args;
    Click.Fire(this, args);
    return true;
  }
  return false;
}

bool Control::OnNotify(NMHDR*, LRESULT*) { return false; }

LRESULT Control::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (baseProc_ != nullptr) return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Control::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (child->OnCommand(HIWORD(wParam))) return 0;
      }
      break;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT result = 0;
      if (Control* child = FromHandle(header->hwndFrom)) {
        if (child->OnNotify(header, &result)) return result;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->OnControlColour(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_ERASEBKGND:
      if (OwnsWindowClass() && !(styles_[kStylePaint] & kPaintPlatformErase)) {
        RECT r;
        GetClientRect(hwnd_, &r);
        if (PaintBackground(reinterpret_cast<HDC>(wParam), r)) return 1;
      }
      break;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) HandleSized();
      break;
    case WM_LBUTTONUP:
      if (OwnsWindowClass()) {
        EventArgs args;
        Click.Fire(this, args);
      }
      break;
    case WM_SETFOCUS: {
      EventArgs args;
      GotFocus.Fire(this, args);
      break;
    }
    case WM_KILLFOCUS: {
      EventArgs args;
      LostFocus.Fire(this, args);
      break;
    }
    case kToolkitMessage:
      if (wParam == kRefreshBackground) {
        if (EffectiveMode(styles_[kStyleBack]) != kBackFixedBrush) DeleteBackBrush();
        if (EffectiveMode(styles_[kStyleBack]) == kBackGradient) DropBitmap();
        OnBackgroundChanged();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK Control::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = FromHandle(window);
  if (control == nullptr && message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    control = static_cast<Control*>(create->lpCreateParams);
    if (control != nullptr) control->Attach(window);
  }
  if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = control->WndProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) control->Detach();
  return result;
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = FromHandle(window);
  if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  WNDPROC base = control->baseProc_;
  LRESULT result = control->WndProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    control->Detach();
    (void)base;
  }
  return result;
}

}  // namespace cc::win
