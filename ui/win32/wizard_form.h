// The setup's main window: the frame around the wizard pages (top bar with
// titles and top image, left image, page host, lines, credit text and link,
// Back/Next/Cancel), skinned and placed from the configuration, and the
// layout that runs each time a page is shown. The windowless start-up work
// stays in InsForm, which this form uses. Windows flavour only.
#pragma once

#include <functional>

#include "core/key_arr.h"
#include "runtime/ins_form.h"
#include "ui/frame_geometry.h"
#include "ui/win32/background_apply.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/container.h"
#include "ui/win32/form.h"

namespace cc::win {

inline constexpr const char16_t kFormName[] = u"Velmora";
// The credit text on the bottom line until the project declares its own
// ("<lang>.s.c.copyMain"). The link beside it has no built-in text: there
// is no address it could open.
inline constexpr const char16_t kBuiltInCredit[] = u"Velmora";

class WizardForm : public Dialog {
 public:
  // `logic` must be initialised (its configuration loaded) and outlive
  // the form.
  explicit WizardForm(InsForm& logic);
  ~WizardForm() override;
  const char16_t* ClassName() const override { return u"WizardForm"; }

  // Creates the window at the design size, applies the form settings
  // ("s.c.Width", "s.c.Height", "s.c.Var.NoMiniBox",
  // "s.c.Var.DisabledCloseButton") and centres it. False when the window
  // cannot be made.
  bool Build();

  // Lays the frame out for a page with flag word `flags` and key base
  // `keyBase` ("s.p.p3") at sequence position `position`, then places
  // `page` (may be null: the frame alone) in the page host and shows it
  // when `show` is true.
  void Layout(Control* page, int flags, const Str& keyBase, int position, bool show);
  // The buttons' declared rectangles ("s.c.btnX._DFlag" bit 0x1 with
  // "s.c.btnX._DRect" = x,y,w,h). A malformed rectangle is skipped.
  void ApplyButtonRects();
  // How background and declared images are read (by name from the payload);
  // without one no image loads ("BG" groups fall back to their first
  // colour, declared image backgrounds stay as they are).
  void SetImageLoader(ImageLoader loader) { loadImage_ = std::move(loader); }
  // What the form does when it loads: the built-in credit text, declared
  // settings under "s.c" for the credit text and link, the common top bar
  // and images (ApplyCommonTopBar), then the whole
  // client area under "s.p.pForm"; afterwards the client area itself is
  // left out (configuration name "").
  void ApplyLoadDeclared();
  // Declared settings under "s.c" for the credit text and link again (their
  // texts after a language switch).
  void ApplyFooterDeclared();
  // Declared settings under "s.c" for the top bar and the left image, and
  // the button rectangles (run when a page uses the common settings).
  void ApplyCommonTopBar();
  // Applies the background group of the page (`keyBase` + ".BG", or "s.c.BG"
  // when the page uses the common background) to the client area; a group
  // without an index (or one below 0) is given the themed one, 3.
  void ApplyPageBackground(const Str& keyBase);
  // Forgets the background cache so the next group is applied in full.
  void ResetBackgroundCache() { backgroundCache_.Reset(); }
  // Forgets both layout caches so that the next Layout recomputes all.
  void ResetLayoutCaches() { cacheGeometry_ = cacheTopBar_ = -1; }

  // The value of `key` qualified by the current language ("en-US." + key).
  Str LangText(const Str& key) const;

  // Applies the declared settings under `prefix` to `control` and its
  // children; with `stop`, hidden siblings of it (the pages not shown) are
  // skipped. Declared controls' clicks go to the declared-click handler.
  void ApplyDeclaredTo(Control* control, const Str& prefix, Control* stop = nullptr);
  void SetDeclaredClickHandler(std::function<void(Control*)> handler) {
    onDeclaredClick_ = std::move(handler);
  }
  // Receives the targets that link controls ask the form to open; without
  // a handler the form opens nothing, so no target escapes the link policy
  // its owner applies.
  void SetLinkHandler(std::function<void(const Str&)> handler) { onLink_ = std::move(handler); }
  // Hands `target` to the link handler: what link controls and pages that
  // open a link both call.
  void OpenLinkTarget(const Str& target) {
    if (onLink_) onLink_(target);
  }
  // Receives the form's timers (each stopped before the handler runs).
  void SetTimerHandler(std::function<void(UINT_PTR)> handler) { onTimer_ = std::move(handler); }

  Control* PageHost() const { return labBack2_; }
  Control* TopBar() const { return labBack1_; }
  Label* TitleLabel() const { return labBTitle_; }
  Label* SubtitleLabel() const { return labSTitle_; }
  Control* TopImage() const { return picTop_; }
  Control* LeftImage() const { return picLeft_; }
  // The frame's lines and footer, kept above the pages.
  void RaiseFrameDecorations();
  Button* NextButton() const { return btnNext_; }
  Button* BackButton() const { return btnBack_; }
  Button* CancelButton() const { return btnCancel_; }
  InsForm& Logic() { return logic_; }

  // The Cancel button's request to end the setup; until the page framework
  // asks its questions this closes the form.
  Event<CancelEventArgs> CancelRequested;

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildFrame();
  void ApplyGeometry(int flags);
  void ApplyTopBar(int flags, const Str& keyBase);
  void ApplyTitle(const Str& keyBase);
  void ApplyButtonTexts(const Str& keyBase);
  void ApplyButtonStates(int flags, int position);
  void KeepAWayOut();
  void ApplyDeclaredUnder(Control* control, const Str& prefix, Control* stop = nullptr);
  void LogProblems(const std::vector<Str>& problems);
  void OnCancelClick(Control* sender, EventArgs& args);

  InsForm& logic_;
  KeyArr& config_;
  Control* labBack1_ = nullptr;
  Label* labBTitle_ = nullptr;
  Label* labSTitle_ = nullptr;
  Control* picTop_ = nullptr;
  Control* picLeft_ = nullptr;
  ControlContainer* labBack2_ = nullptr;
  Label* labLineTop_ = nullptr;
  Label* labLineBottom_ = nullptr;
  ToolItem* copyMain_ = nullptr;
  LabelLink* linkMain_ = nullptr;
  Button* btnBack_ = nullptr;
  Button* btnNext_ = nullptr;
  Button* btnCancel_ = nullptr;
  Str lastTitle_;
  int cacheGeometry_ = -1;
  int cacheTopBar_ = -1;
  int titleFontHeight_ = 0;
  ImageLoader loadImage_;
  std::function<void(Control*)> onDeclaredClick_;
  std::function<void(UINT_PTR)> onTimer_;
  std::function<void(const Str&)> onLink_;
  BackgroundCache backgroundCache_;
};

}  // namespace cc::win
