// cc::win::Control: one window of the toolkit. A control can be built and
// configured before its window exists; creating it (CreateControl) creates
// its children too. Every window carries its control name in the window
// property L"Velmora.Name" (a global atom) for the test driver. Windows
// flavour only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/object.h"
#include "core/str.h"
#include "ui/anchors.h"
#include "ui/background.h"
#include "ui/event.h"

namespace cc::win {

// The toolkit's private message; the first parameter is a code.
inline constexpr UINT kToolkitMessage = 5001;
inline constexpr WPARAM kRefreshBackground = 41;  // background settings changed: rebuild, repaint
inline constexpr WPARAM kOpenLink = 13;           // to the main window; lParam: the target text

// The window property holding the control name's global atom.
inline constexpr wchar_t kNameProperty[] = L"Velmora.Name";

inline constexpr const char16_t kRegisterClassError[] =
    u"Control::PreCreateWindow, Failed to register Window Class.";
// Formatted with the class name.
inline constexpr const char16_t kDeferRegisterFormat[] =
    u"[%s::PreCreateWindow]CC_DeferRegisterClass,not OK!";

// Style word indexes and the bits other code relies on.
enum StyleWord : int {
  kStyleWindow = 0,    // the platform window style
  kStyleExWindow = 1,  // the platform extended style
  kStylePaint = 2,     // painting participation
  kStyleBack = 3,      // background mode and form options
  kStyleState = 4,     // internal state
  kStyleWordCount = 5,
};
// kPaintOwnBackground, kPaintTransparent and the background modes come from
// ui/background.h.
inline constexpr uint32_t kPaintPlatformErase = 0x20000;
inline constexpr uint32_t kPaintSizeFromLayout = 0x1;
inline constexpr uint32_t kBackImage = kBackStretchedImage;
inline constexpr uint32_t kBackModeMask = 0x1F;
inline constexpr uint32_t kFormCloseDisabled = 0x80;
inline constexpr uint32_t kStateRebuildBrush = 0x1, kStateBrushOwned = 0x10,
                          kStateBitmapOwned = 0x20, kStateVerticalGradient = 0x80;

inline constexpr COLORREF kNoColour = 0xFFFFFFFF;

inline const wchar_t* Wide(const Str& s) { return reinterpret_cast<const wchar_t*>(s.GetBuffer()); }

class Control : public Object {
 public:
  Control();
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  const char16_t* ClassName() const override { return u"Control"; }

  // --- identity and text
  void SetName(const Str& name);
  const Str& Name() const { return name_; }
  // The name under which declared settings are looked up (null: Name()).
  void SetConfigName(const Str& name) { configName_ = name; }
  const Str& ConfigName() const { return configName_; }
  virtual void SetText(const Str& text);
  // The window's text when it exists, else the stored text.
  Str Text() const;

  // --- geometry (relative to the parent's client area)
  void SetLocation(int x, int y);
  void SetSize(int width, int height);
  virtual void SetBounds(int x, int y, int width, int height);
  const Bounds& GetBounds() const { return bounds_; }
  // Width and height of the client area (the bounds until the window exists).
  void ClientSize(int* width, int* height) const;
  void SetAnchor(int anchors) { anchors_ = anchors; }
  int Anchor() const { return anchors_; }

  // --- state
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Visible() const { return visible_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void Focus();

  // --- children (owned)
  // Appends (index < 0) or inserts `child`; creates its window when this
  // one exists. Returns the child.
  Control* AddChild(std::unique_ptr<Control> child, int index = -1);
  template <class T>
  T* Add(std::unique_ptr<T> child, int index = -1) {
    return static_cast<T*>(AddChild(std::unique_ptr<Control>(child.release()), index));
  }
  // The first descendant (depth first) named `name`, or nullptr.
  Control* FindChild(const Str& name, bool recursive = true) const;
  int ChildCount() const { return static_cast<int>(children_.size()); }
  Control* ChildAt(int index) const;
  Control* Parent() const { return parent_; }
  // Removes and destroys `child`; false when it is not a child.
  bool RemoveChild(Control* child);

  // --- look
  // A face that is null or empty keeps the default GUI face.
  void SetFont(int height, const Str& face = Str(), bool bold = false, bool italic = false,
               bool underline = false, bool strikeOut = false);
  HFONT Font() const { return font_; }
  // Clears `clear` and sets `set` in style word `word` (0..4); words 0 and 1
  // are applied to the window at once.
  void ModifyStyle(int word, uint32_t clear, uint32_t set);
  uint32_t Style(int word) const { return styles_[word]; }
  bool HasStyle(int word, uint32_t bits) const { return (styles_[word] & bits) == bits; }
  void SetTextColor(COLORREF colour);
  void SetBackColor(COLORREF colour);
  void SetSecondColor(COLORREF colour);
  void SetAccentColor(COLORREF colour) { accentColour_ = colour; }
  void SetHatch(int hatch);
  COLORREF TextColor() const { return textColour_; }
  COLORREF BackColor() const { return backColour_; }
  COLORREF SecondColor() const { return secondColour_; }
  COLORREF AccentColor() const { return accentColour_; }
  int Hatch() const { return hatch_; }
  void Invalidate();

  // --- background (mode bits of style word 3, brush state in word 4)
  // Switches to `mode` (kBackSolid .. kBackGradient) and rebuilds the brush
  // on the next paint.
  void SetBackgroundMode(uint32_t mode);
  uint32_t BackgroundModeOf() const { return styles_[kStyleBack] & kBackModeMask; }
  // Fixed-brush mode with `brush` (a tiled image or a hatch); the control
  // deletes it later when `owned`.
  void SetFixedBrush(HBRUSH brush, bool owned);
  // Stretched-image mode with `bitmap` (deleted later when `owned`).
  void SetStretchedImage(HBITMAP bitmap, bool owned);
  // Gradient mode from the back colour to the second colour.
  void SetGradient(bool vertical);
  // The brush the background is painted with at the current client size,
  // built on demand and cached; nullptr when there is none (themed mode
  // without visual styles falls back to the back colour).
  HBRUSH BackgroundBrush();

  // --- window
  // Creates the window and those of the children. Throws cc::UserException
  // with kRegisterClassError or the kDeferRegisterFormat text when a window
  // class cannot be registered; returns false when the window cannot be made.
  bool CreateControl();
  HWND Handle() const { return hwnd_; }
  bool Created() const { return hwnd_ != nullptr; }
  // Destroys the window (and its children's); the control object stays.
  void DestroyHandle();
  // The control of a toolkit window, or nullptr.
  static Control* FromHandle(HWND window);
  // Destroys every top-level toolkit window; false when one refused.
  static bool DestroyAllWindows();

  // A key message on its way to the focused window; true consumes it.
  virtual bool PreTranslateKey(MSG* msg, int modifiers);

  // Paints this control's background into `dc` over `rect` (client
  // coordinates). The default fills the back colour; a transparent control
  // asks its parent. Returns false when nothing was painted.
  virtual bool PaintBackground(HDC dc, const RECT& rect);

  Event<EventArgs> Click;
  Event<EventArgs> DoubleClick;
  Event<EventArgs> TextChanged;
  Event<EventArgs> GotFocus;
  Event<EventArgs> LostFocus;
  Event<EventArgs> Resize;
  Event<MouseEventArgs> MouseDown;
  Event<MouseEventArgs> MouseUp;
  Event<KeyEventArgs> KeyDown;
  Event<KeyPressEventArgs> KeyPress;

 protected:
  // The window class; toolkit classes are registered on first use.
  virtual const wchar_t* WindowClass() const { return L"ccWnd"; }
  // True for classes the toolkit registers; false for platform controls,
  // which are subclassed after creation.
  virtual bool OwnsWindowClass() const { return true; }
  // The class style of a toolkit class.
  virtual UINT ClassStyle() const { return CS_DBLCLKS; }
  virtual HWND CreateWindowFor(HWND parent);
  virtual void OnCreated() {}
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A WM_COMMAND / WM_NOTIFY the parent passed to the control it is about.
  virtual bool OnCommand(int code);
  virtual bool OnNotify(NMHDR* header, LRESULT* result);
  // A WM_CTLCOLOR* for this control; returns the brush.
  virtual HBRUSH OnControlColour(HDC dc);
  // The parent's client size changed from old to new: apply the anchors.
  void LayoutChildren(int oldWidth, int oldHeight, int newWidth, int newHeight);
  virtual void OnBackgroundChanged() { Invalidate(); }
  // Records bounds without moving anything (a window not made yet).
  void StoreBounds(const Bounds& bounds) { bounds_ = bounds; }

  static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void RegisterClassOnce(const wchar_t* name, UINT style);

  HWND hwnd_ = nullptr;
  WNDPROC baseProc_ = nullptr;
  uint32_t styles_[kStyleWordCount] = {};

 private:
  void Attach(HWND window);
  void Detach();
  void ApplyFont();
  void HandleSized();
  void DeleteBackBrush();
  void DropBitmap();
  // The colours changed: rebuild the brush unless it is a fixed one.
  void ColoursChanged();
  bool FillWithOwnBrush(HDC dc, const RECT& rect);
  bool FillFromAncestor(HDC dc, const RECT& rect, Control* ancestor, bool brushOnly);


  Str name_;
  Str configName_;
  Str text_;
  Bounds bounds_;
  int clientWidth_ = -1, clientHeight_ = -1;
  int anchors_ = kDefaultAnchors;
  bool visible_ = true;
  bool enabled_ = true;
  Control* parent_ = nullptr;
  std::vector<std::unique_ptr<Control>> children_;
  HFONT font_ = nullptr;
  bool ownsFont_ = false;
  COLORREF textColour_ = kNoColour, backColour_ = kNoColour, secondColour_ = kNoColour,
           accentColour_ = kNoColour;
  int hatch_ = 0;
  HBRUSH backBrush_ = nullptr;  // the cached brush; deleted when kStateBrushOwned
  int brushWidth_ = -1, brushHeight_ = -1;  // client size the cached brush was built for
  HBITMAP backBitmap_ = nullptr;  // stretched image or gradient strip
  ATOM nameAtom_ = 0;
};

}  // namespace cc::win
