#include "wizard/win32/wizard_controller.h"

#include <string>

#include "runtime/ins_form.h"
#include "runtime/lang_text.h"
#include "runtime/setup_log.h"
#include "ui/win32/app.h"
#include "ui/win32/link_opener.h"
#include "ui/win32/wizard_form.h"
#include "wizard/close_decision.h"
#include "wizard/win32/page_factory.h"

namespace wizard {

using cc::Str;
using cc::win::Control;

namespace {

constexpr COLORREF kErrorTextColour = RGB(255, 0, 0);

Str Key(const Str& base, const char16_t* suffix) {
  std::u16string key(base.View());
  key += suffix;
  return Str(key);
}

// A top-bar text of `page`: its own (an empty one included), else the one
// every page shares (".s.c" + `suffix`), else empty rather than left from
// the page before.
Str TopBarText(const cc::KeyArr& config, const FunctionPage& page, const char16_t* suffix) {
  Str text = GetLangText(config, page.LangCode(), Key(page.KeyBase(), suffix));
  if (text.IsNull()) text = GetLangText(config, page.LangCode(), Key(Str(u".s.c"), suffix));
  return text.IsNull() ? Str(u"") : text;
}

}  // namespace

WizardController::WizardController(cc::win::WizardForm& form, InsForm& logic, Platform& platform)
    : context_{form, logic, platform, logic.Config(), *this, {}}, navigator_(logic.Config(), *this) {
  form.NextButton()->Click.Add(this, &WizardController::OnNextClick);
  form.BackButton()->Click.Add(this, &WizardController::OnBackClick);
  form.Closing.Add(this, &WizardController::OnClosing);
  form.SetTimerHandler([this](UINT_PTR id) { OnTimer(id); });
  form.SetDeclaredClickHandler([this](Control* clicked) { OnDeclaredClick(clicked); });
  form.SetLinkHandler([this](const Str& target) {
    cc::win::OpenLink(target, context_.config.Get(u"Ret.Location.Path"), cc::win::LinkOpener(),
                      [this](const Str& line) { Log(line); });
  });
}

WizardController::~WizardController() {
  context_.form.NextButton()->Click.Remove(this);
  context_.form.BackButton()->Click.Remove(this);
  context_.form.Closing.Remove(this);
  context_.form.SetTimerHandler({});
  context_.form.SetDeclaredClickHandler({});
  context_.form.SetLinkHandler({});
}

FunctionPage* WizardController::CurrentPage() const {
  int id = navigator_.CurrentPage();
  return id < 0 ? nullptr : pages_[id - kFirstPageId];
}

void WizardController::Start() {
  CreatePages(0);
  GoNext();
  StartTimer(kCreatePagesTimer, 10);
}

// ---- pages

FunctionPage* WizardController::GetPage(const PageSlot& slot) {
  FunctionPage*& cached = pages_[slot.typeId - kFirstPageId];
  if (cached != nullptr) return cached;
  ApplyDefaultFlags(context_.config, slot.typeId, slot.keyBase);
  std::unique_ptr<FunctionPage> page = CreatePage(slot.typeId, context_, slot.keyBase);
  if (page == nullptr) return nullptr;
  page->Hide();
  cached = context_.form.PageHost()->Add(std::move(page));
  if (slot.position < 1) context_.form.ResetBackgroundCache();
  cached->PreparePage(kLoadCreated);
  cached->SetConfigName(slot.keyBase);
  context_.form.ApplyDeclaredTo(cached, Str(u""));
  cached->SetConfigName(Str(u""));
  return cached;
}

void WizardController::CreatePages(int from) {
  for (int position = from;; ++position) {
    PageSlot slot = ResolvePage(context_.config, position, false, true);
    if (slot.kind != SlotKind::kPage || GetPage(slot) == nullptr) break;
    if (from == 0) break;
  }
  if (from > 0) allPagesCreated_ = true;
}

// ---- navigation

void WizardController::OnNextClick(Control*, cc::win::EventArgs&) { GoNext(); }
void WizardController::OnBackClick(Control*, cc::win::EventArgs&) { GoBack(); }

void WizardController::GoNext() {
  cc::win::Button* next = context_.form.NextButton();
  bool wasEnabled = next->Enabled();
  bool atStart = CurrentPage() == nullptr;
  next->SetEnabled(false);
  NavResult result = navigator_.GoNext();
  if (result == NavResult::kStayed) {
    next->SetEnabled(wasEnabled);
    return;
  }
  if (result == NavResult::kShown && atStart && !context_.logic.CheckBeforeFirstPage()) ShowError();
}

void WizardController::GoBack() { navigator_.GoBack(); }

bool WizardController::CanLeave(int typeId, int direction) {
  return pages_[typeId - kFirstPageId]->CanLeave(direction);
}

void WizardController::HidePage(int typeId) { pages_[typeId - kFirstPageId]->Hide(); }

void WizardController::ShowPage(const PageSlot& slot, int mode) {
  FunctionPage* page = GetPage(slot);
  if (page == nullptr) return;
  cc::win::WizardForm& form = context_.form;
  form.SetConfigName(slot.keyBase);
  page->PreparePage(mode);
  ApplyPageDeclared(page);
  if (context_.config.GetBool(Key(slot.keyBase, u".BG.Def"), true)) form.ApplyCommonTopBar();
  form.Layout(page, static_cast<int>(page->Flags()), slot.keyBase, slot.position, true);
  ApplyClientDeclared(page);
  StartTimer(kRaiseFrameTimer, 3);
  page->EnterSoon(mode);
  if (form.NextButton()->Visible() && form.NextButton()->Enabled()) form.NextButton()->Focus();
}

// The page's own children under its key base; the page itself takes no key part.
void WizardController::ApplyPageDeclared(FunctionPage* page) {
  context_.form.ApplyDeclaredTo(page, page->KeyBase(), &context_.form);
}

// The top bar's titles and every frame control under the page's key base.
void WizardController::ApplyClientDeclared(FunctionPage* page) {
  cc::win::WizardForm& form = context_.form;
  form.TitleLabel()->SetText(TopBarText(context_.config, *page, u".labBack1.labBTitle"));
  form.SubtitleLabel()->SetText(TopBarText(context_.config, *page, u".labBack1.labSTitle"));
  form.SetConfigName(Str(u""));
  form.ApplyDeclaredTo(&form, page->KeyBase(), page);
}

void WizardController::ShowNoPages() {
  cc::win::WizardForm& form = context_.form;
  form.TitleLabel()->SetText(Str(kNoPagesTitle));
  form.TitleLabel()->Show();
  form.SubtitleLabel()->SetText(Str(kNoPagesText));
  form.SubtitleLabel()->Show();
  form.BackButton()->Hide();
  form.NextButton()->Hide();
  form.CancelButton()->SetText(Str(kExitText));
  form.CancelButton()->SetEnabled(true);
  form.CancelButton()->Show();
  form.TopImage()->Hide();
  form.LeftImage()->Hide();
  form.TopBar()->Show();
  form.PageHost()->Hide();
  form.CancelButton()->Focus();
  end_.noPages = true;
  Log(Str(u"The page sequence has no first page."));
}

void WizardController::EndWizard() {
  if (navigator_.EndedOnInvalidPage()) {
    end_.invalidPage = true;
  } else {
    end_.ranToEnd = true;
  }
  if (cc::win::App* app = cc::win::App::Current()) app->EndLoop();
}

void WizardController::Log(const Str& line) { context_.logic.Log().Write(line); }

// ---- error page

void WizardController::ShowError() {
  cc::win::WizardForm& form = context_.form;
  navigator_.EnterErrorState();
  if (FunctionPage* page = CurrentPage()) page->Hide();
  Control* host = form.PageHost();
  host->SetTextColor(kErrorTextColour);
  Str error = context_.config.Get(Str(u"Ret.ErrorInfo"));
  if (error.StartsWith(u".s.")) error = GetLangText(context_.config, CurrentLanguage(context_.config), error);
  std::u16string text = u"\r\n";
  text += error.IsNull() ? std::u16string_view() : error.View();
  host->SetText(Str(text));
  host->Show();
  form.BackButton()->Hide();
  form.NextButton()->Hide();
  form.CancelButton()->SetEnabled(true);
  form.CancelButton()->Show();
  form.CancelButton()->Focus();
  form.Invalidate();
  Log(Str(u"Error page: ") + error);
}

// ---- closing

bool WizardController::AskYesNo(const Str& title, const Str& text) {
  HWND focus = GetFocus();
  int answer = MessageBoxW(context_.form.Handle(), cc::win::Wide(text), cc::win::Wide(title),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  // Without a window manager the focus does not come back by itself, and
  // the keyboard would go nowhere.
  if (answer != IDYES && focus != nullptr && IsWindow(focus)) SetFocus(focus);
  return answer == IDYES;
}

void WizardController::OnClosing(Control*, cc::win::CancelEventArgs& args) {
  CloseState state;
  state.errorState = navigator_.InErrorState();
  state.currentPage = navigator_.CurrentPage();
  CloseOutcome outcome = DecideClose(context_.config, state, [this](const Str& title, const Str& text) {
    return AskYesNo(title, text);
  });
  if (outcome.cancelRequested) {
    cc::win::Button* cancel = context_.form.CancelButton();
    cancel->SetEnabled(false);
    cancel->SetText(cancel->Text() + Str(u"..."));
  }
  if (!outcome.closes) {
    args.cancel = true;
    return;
  }
  if (outcome.finishes) {
    // Closing the finish page is finishing: its actions run as on Next.
    if (FunctionPage* page = CurrentPage()) page->LeavePage(1);
    end_.ranToEnd = true;
  } else if (!state.errorState && !end_.noPages) {
    end_.canceled = true;
  }
}

// ---- deferred steps and language

void WizardController::StartTimer(UINT_PTR id, UINT milliseconds) {
  if (context_.form.Created()) SetTimer(context_.form.Handle(), id, milliseconds, nullptr);
}

void WizardController::OnTimer(UINT_PTR id) {
  switch (id) {
    case kAdvanceTimer: GoNext(); break;
    case kCreatePagesTimer: if (!allPagesCreated_) CreatePages(1); break;
    case kRaiseFrameTimer: context_.form.RaiseFrameDecorations(); break;
    case kShowErrorTimer: ShowError(); break;
    default: break;
  }
}

void WizardController::AdvanceSoon() { StartTimer(kAdvanceTimer, 50); }
void WizardController::ShowErrorSoon() { StartTimer(kShowErrorTimer, 50); }

void WizardController::InstallEnded(bool succeeded, bool canceled) {
  end_.installRan = succeeded && !canceled;
  end_.installFailed = !succeeded && !canceled;
  end_.canceled = end_.canceled || canceled;
}

void WizardController::RefreshLanguage() {
  FunctionPage* page = CurrentPage();
  if (page == nullptr) return;
  cc::win::WizardForm& form = context_.form;
  form.ApplyFooterDeclared();
  page->PreparePage(kLoadLanguageChanged);
  form.ResetLayoutCaches();
  form.Layout(page, static_cast<int>(page->Flags()), page->KeyBase(), navigator_.Position(), false);
  ApplyPageDeclared(page);
  if (context_.config.GetBool(Key(page->KeyBase(), u".BG.Def"), true)) form.ApplyCommonTopBar();
  ApplyClientDeclared(page);
  form.Invalidate();
}

void WizardController::OnDeclaredClick(Control* clicked) {
  if (!context_.notify) return;
  int page = navigator_.CurrentPage();
  context_.notify(page, kExtensionDeclaredClick,
                  clicked->Created() ? reinterpret_cast<uintptr_t>(clicked->Handle()) : 0);
}

}  // namespace wizard
