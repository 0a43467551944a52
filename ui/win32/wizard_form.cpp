#include "ui/win32/wizard_form.h"

#include <string>

#include "runtime/lang_text.h"
#include "runtime/setup_log.h"
#include "ui/declared_settings.h"
#include "ui/win32/declared_apply.h"

namespace cc::win {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kImagePlaceholder = 16711680;  // blue until an image is declared

Str Key(const Str& base, const char16_t* suffix) {
  std::u16string key(base.View());
  key += suffix;
  return Str(key);
}

template <class T>
T* Make(Control* parent, const char16_t* name) {
  const FrameControlSpec* spec = FindFrameControl(name);
  auto control = std::make_unique<T>();
  control->SetName(Str(name));
  control->SetBounds(spec->bounds.x, spec->bounds.y, spec->bounds.width, spec->bounds.height);
  control->SetAnchor(spec->anchors);
  return parent->Add(std::move(control));
}

}  // namespace

WizardForm::WizardForm(InsForm& logic) : logic_(logic), config_(logic.Config()) {
  SetName(Str(kFormName));
  SetText(Str(kFormName));
  ModifyStyle(kStyleExWindow, 0, WS_EX_CONTROLPARENT);
  // The client area carries the project's background; transparent frame
  // controls show it through.
  ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
  BuildFrame();
}

WizardForm::~WizardForm() { DestroyHandle(); }

void WizardForm::BuildFrame() {
  SetClientSize(kFrameDesignWidth, kFrameDesignHeight);
  // Creation order is drawing order: earlier siblings lie on top.
  btnBack_ = Make<Button>(this, u"btnBack");
  btnBack_->SetText(Str(u"< &Back"));
  btnNext_ = Make<Button>(this, u"btnNext");
  btnNext_->SetText(Str(u"&Next >"));
  btnNext_->ModifyStyle(kStyleWindow, 0, BS_DEFPUSHBUTTON);
  btnCancel_ = Make<Button>(this, u"btnCancel");
  btnCancel_->SetText(Str(u"&Cancel"));
  btnCancel_->Click.Add(this, &WizardForm::OnCancelClick);
  labLineTop_ = Make<Label>(this, u"labLineTop");
  labLineTop_->SetBackColor(kWhite);
  labLineTop_->ModifyStyle(kStyleWindow, SS_LEFT, SS_ETCHEDHORZ);
  labLineBottom_ = Make<Label>(this, u"labLineBottom");
  labLineBottom_->ModifyStyle(kStyleWindow, SS_LEFT, SS_ETCHEDHORZ);
  copyMain_ = Make<ToolItem>(this, u"copyMain");
  copyMain_->SetEnabled(false);
  copyMain_->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  // The credit text sits on the bottom line; the line shows on beside it.
  copyMain_->SetClipToText(true);
  linkMain_ = Make<LabelLink>(this, u"linkMain");
  linkMain_->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  labBack1_ = Make<Control>(this, u"labBack1");
  labBack1_->SetBackColor(kWhite);
  labBTitle_ = Make<Label>(labBack1_, u"labBTitle");
  labBTitle_->SetFont(15, Str(), true);
  labBTitle_->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  labSTitle_ = Make<Label>(labBack1_, u"labSTitle");
  labSTitle_->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  picTop_ = Make<Control>(labBack1_, u"picTop");
  picTop_->ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
  picTop_->SetBackColor(kImagePlaceholder);
  picLeft_ = Make<Control>(this, u"picLeft");
  picLeft_->ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
  picLeft_->SetBackColor(kImagePlaceholder);
  picLeft_->SetVisible(false);
  labBack2_ = Make<ControlContainer>(this, u"labBack2");
  labBack2_->SetBackColor(kWhite);
  labBack2_->SetMargins({10, 5, 10, 5});
  labBack2_->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  SetEnterButton(btnNext_);
  SetEscapeButton(btnCancel_);
}

bool WizardForm::Build() {
  if (config_.GetBool(Str(u"s.c.Var.NoMiniBox"), false)) SetMinimizeBox(false);
  if (!CreateControl()) return false;
  int width = config_.GetInt(Str(u"s.c.Width"), 500);
  int height = config_.GetInt(Str(u"s.c.Height"), 355);
  SetClientSize(width, height);
  SetCloseBoxEnabled(!config_.GetBool(Str(u"s.c.Var.DisabledCloseButton"), false));
  CenterToScreen();
  return true;
}

Str WizardForm::LangText(const Str& key) const { return GetLangText(config_, CurrentLanguage(config_), key); }

void WizardForm::Layout(Control* page, int flags, const Str& keyBase, int position, bool show) {
  const bool commonBackground = config_.GetBool(Key(keyBase, u".BG.Def"), true);
  if (commonBackground) {
    int common = config_.GetInt(Str(u"s.c.Flags"), 0);
    flags = (flags & ~0x840) | (common & 0x840);
  }
  copyMain_->SetVisible(!(flags & (kPageNoCopy | kPageWide)));
  linkMain_->SetVisible(!(flags & kPageNoLink));
  labBTitle_->Hide();
  if ((flags & kLayoutGeometryMask) != cacheGeometry_) {
    cacheGeometry_ = flags & kLayoutGeometryMask;
    ApplyGeometry(flags);
  }
  if ((flags & kLayoutTopBarMask) != cacheTopBar_) {
    cacheTopBar_ = flags & kLayoutTopBarMask;
    ApplyTopBar(flags, keyBase);
  }
  if (!(flags & kPageNoImages)) {
    if ((flags & kPageTopImage) && !picTop_->Visible()) picTop_->Show();
    if ((flags & kPageWide) && !picLeft_->Visible()) picLeft_->Show();
  } else if (picTop_->Visible() || picLeft_->Visible()) {
    picTop_->Hide();
    picLeft_->Hide();
  }
  labBTitle_->Show();
  ApplyTitle(keyBase);
  ApplyButtonTexts(keyBase);
  if (config_.Get(Str(u"Ret.ErrorInfo")).IsEmpty()) {
    ApplyButtonStates(flags, position);
    if (page != nullptr) {
      int width = 0, height = 0;
      ClientSize(&width, &height);
      Bounds b = ComputeFrameLayout(flags, width, height, config_.GetInt(Str(u"s.c.TopImageWidth"), 57),
                                    config_.GetInt(Str(u"s.c.LeftImageWidth"), 164))
                     .page;
      page->SetBounds(b.x, b.y, b.width, b.height);
      if (show) page->Show();
    }
  }
  KeepAWayOut();
}

void WizardForm::ApplyGeometry(int flags) {
  int width = 0, height = 0;
  ClientSize(&width, &height);
  FrameLayout g = ComputeFrameLayout(flags, width, height, config_.GetInt(Str(u"s.c.TopImageWidth"), 57),
                                     config_.GetInt(Str(u"s.c.LeftImageWidth"), 164));
  auto place = [](Control* c, const Bounds& b) { c->SetBounds(b.x, b.y, b.width, b.height); };
  place(labBack1_, g.labBack1);
  place(labBack2_, g.labBack2);
  if (g.hasPicLeft) place(picLeft_, g.picLeft);
  place(picTop_, g.picTop);
  picTop_->SetVisible(g.picTopVisible);
  picLeft_->SetVisible(g.picLeftVisible);
  place(labLineTop_, g.labLineTop);
  labLineTop_->SetVisible(g.labLineTopVisible);
  if (g.titleFontHeight != titleFontHeight_) {
    titleFontHeight_ = g.titleFontHeight;
    labBTitle_->SetFont(g.titleFontHeight, Str(), true);
  }
  place(labBTitle_, g.labBTitle);
  place(labSTitle_, g.labSTitle);
  labSTitle_->SetVisible(g.labSTitleVisible);
  labLineBottom_->SetVisible(g.labLineBottomVisible);
  // The page host's single page fills the page rectangle.
  for (int i = 0; i < labBack2_->ChildCount(); ++i) place(labBack2_->ChildAt(i), g.page);
  // Moved transparent controls leave their old place to be repainted.
  if (Created()) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WizardForm::ApplyTopBar(int flags, const Str& keyBase) {
  const bool commonBackground = config_.GetBool(Key(keyBase, u".BG.Def"), true);
  int declared = commonBackground ? config_.GetInt(Str(u"s.c.labBack1._DFlag"), 0)
                                  : config_.GetInt(Key(keyBase, u".labBack1._DFlag"), 0);
  if ((flags & kPageOwnTopBar) && declared != 0) {
    labBack1_->ModifyStyle(kStylePaint, kPaintTransparent, kPaintOwnBackground);
  } else {
    labBack1_->ModifyStyle(kStylePaint, kPaintOwnBackground, kPaintTransparent);
  }
  if (commonBackground && config_.GetInt(Str(u"s.c.BG.Index"), -1) < 0) {
    config_.SetInt(Str(u"s.c.BG.Index"), 3);
  } else if (!commonBackground && config_.GetInt(Key(keyBase, u".BG.Index"), -1) < 0) {
    config_.SetInt(Key(keyBase, u".BG.Index"), 3);
  }
  if (labBack1_->Created()) SendMessageW(labBack1_->Handle(), kToolkitMessage, kRefreshBackground, 0);
  if (Created()) SendMessageW(hwnd_, kToolkitMessage, kRefreshBackground, 0);
}

void WizardForm::ApplyTitle(const Str& keyBase) {
  Str title = LangText(Key(keyBase, u".FTitle"));
  if (title.IsEmpty()) title = LangText(Str(u".s.c.FTitle"));
  if (title.IsEmpty()) title = Str(kFormName);
  if (title.Equals(lastTitle_)) return;
  lastTitle_ = title;
  if (config_.GetBool(Str(u"s.c.Var.TitleWithoutCR"), false)) {
    SetText(title);
    return;
  }
  std::u16string text(title.View());
  text += u" - ";
  text += kFormName;
  SetText(Str(text));
}

void WizardForm::ApplyButtonTexts(const Str& keyBase) {
  struct Entry {
    Button* button;
    const char16_t* suffix;
    const char16_t* common;
    const char16_t* fallback;
  };
  const Entry entries[] = {{btnCancel_, u".btnCancel", u".s.c.btnCancel", u"&Cancel"},
                           {btnBack_, u".btnBack", u".s.c.btnBack", u"< &Back"},
                           {btnNext_, u".btnNext", u".s.c.btnNext", u"&Next >"}};
  for (const Entry& e : entries) {
    Str text = LangText(Key(keyBase, e.suffix));
    if (text.IsEmpty()) text = LangText(Str(e.common));
    if (text.IsEmpty()) text = Str(e.fallback);
    e.button->SetText(text);
  }
}

void WizardForm::ApplyButtonStates(int flags, int position) {
  btnCancel_->SetEnabled(!(flags & kPageNoCancelEnable));
  btnBack_->SetEnabled(!(flags & kPageNoBackEnable) && position > 0);
  btnNext_->SetEnabled(!(flags & kPageNoNextEnable));
  auto show = [](Control* c, bool on) {
    if (c->Visible() != on) c->SetVisible(on);
  };
  show(btnCancel_, !(flags & kPageHideCancel));
  show(btnBack_, !(flags & kPageHideBack));
  show(btnNext_, !(flags & kPageHideNext));
}

// With every button hidden the close box is the only way out: keep it
// working even when the project disabled it.
void WizardForm::KeepAWayOut() {
  bool anyButton = btnCancel_->Visible() || btnBack_->Visible() || btnNext_->Visible();
  bool disabledByProject = config_.GetBool(Str(u"s.c.Var.DisabledCloseButton"), false);
  SetCloseBoxEnabled(anyButton ? !disabledByProject : true);
}

void WizardForm::ApplyButtonRects() {
  struct Entry {
    Button* button;
    const char16_t* flag;
    const char16_t* rect;
  };
  const Entry entries[] = {{btnCancel_, u"s.c.btnCancel._DFlag", u"s.c.btnCancel._DRect"},
                           {btnBack_, u"s.c.btnBack._DFlag", u"s.c.btnBack._DRect"},
                           {btnNext_, u"s.c.btnNext._DFlag", u"s.c.btnNext._DRect"}};
  for (const Entry& e : entries) {
    if (!(config_.GetInt(Str(e.flag), 0) & kDeclRect) || !config_.Has(Str(e.rect))) continue;
    DeclaredRect rect;
    Str reason;
    if (!ParseDeclaredRect(config_.Get(Str(e.rect)), &rect, &reason)) {
      LogProblems({Str(e.rect) + Str(u": ") + reason});
      continue;
    }
    ApplyDeclaredRect(e.button, rect);
  }
}

void WizardForm::LogProblems(const std::vector<Str>& problems) {
  for (const Str& line : problems) logic_.Log().Write(line);
}

void WizardForm::ApplyDeclaredTo(Control* control, const Str& prefix, Control* stop) {
  ApplyDeclaredUnder(control, prefix, stop);
}

void WizardForm::RaiseFrameDecorations() {
  // The footer texts go last: the credit text sits across the bottom line
  // and interrupts it where its letters are (it covers only its text).
  for (Control* c : {static_cast<Control*>(labLineTop_), static_cast<Control*>(labLineBottom_),
                     static_cast<Control*>(copyMain_), static_cast<Control*>(linkMain_)}) {
    if (!c->Created()) continue;
    SetWindowPos(c->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    c->Invalidate();
  }
}

void WizardForm::ApplyDeclaredUnder(Control* control, const Str& prefix, Control* stop) {
  std::vector<Str> problems;
  DeclaredContext context;
  context.config = &config_;
  context.stop = stop;
  context.onDeclaredClick = onDeclaredClick_;
  context.textPrefix = logic_.CurrentLang() + Str(u".");
  context.loadImage = loadImage_;
  context.problems = &problems;
  ApplyDeclared(control, prefix, context);
  LogProblems(problems);
}

void WizardForm::ApplyFooterDeclared() {
  ApplyDeclaredUnder(copyMain_, Str(u"s.c"));
  ApplyDeclaredUnder(linkMain_, Str(u"s.c"));
}

void WizardForm::ApplyLoadDeclared() {
  copyMain_->SetText(Str(kBuiltInCredit));
  ApplyFooterDeclared();
  // The common top bar and images from the start: a first page with its
  // own background takes no common settings when shown, and would show the
  // empty image places where the project declares its images. Such a page
  // still puts its own declared settings over these.
  ApplyCommonTopBar();
  SetConfigName(Str(u"s.p.pForm"));
  ApplyDeclaredUnder(this, Str());
  // Later passes over the whole client area (a language switch) run under
  // the page's key base: the client area itself then takes no key part.
  SetConfigName(Str(u""));
}

void WizardForm::ApplyCommonTopBar() {
  ApplyDeclaredUnder(labBack1_, Str(u"s.c"));
  ApplyDeclaredUnder(picLeft_, Str(u"s.c"));
  ApplyButtonRects();
}

void WizardForm::ApplyPageBackground(const Str& keyBase) {
  const bool common = config_.GetBool(Key(keyBase, u".BG.Def"), true);
  Str group = common ? Str(u"s.c.BG") : Key(keyBase, u".BG");
  // Layout makes an undeclared background the themed one, but only after
  // the first page has been painted; without this the first page alone
  // would show the window's plain colour.
  Str index = group + Str(u".Index");
  if (config_.GetInt(index, -1) < 0) config_.SetInt(index, 3);
  std::vector<Str> problems;
  if (ApplyBackground(this, config_, group, &backgroundCache_, loadImage_, &problems) && Created()) {
    SendMessageW(hwnd_, kToolkitMessage, kRefreshBackground, 0);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  LogProblems(problems);
}

void WizardForm::OnCancelClick(Control*, EventArgs&) {
  CancelEventArgs args;
  CancelRequested.Fire(this, args);
  if (!args.cancel) Close();
}

LRESULT WizardForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kToolkitMessage && wParam == kOpenLink && lParam != 0) {
    OpenLinkTarget(Str(reinterpret_cast<const char16_t*>(lParam)));
    return 0;
  }
  if (message == WM_TIMER && onTimer_) {
    KillTimer(hwnd_, wParam);
    onTimer_(wParam);
    return 0;
  }
  return Dialog::WndProc(message, wParam, lParam);
}

}  // namespace cc::win
