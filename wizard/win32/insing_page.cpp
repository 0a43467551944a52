#include "wizard/win32/insing_page.h"

#include "install/cancel_rollback.h"
#include "install/install_driver.h"
#include "install/install_session.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "runtime/ins_form.h"
#include "runtime/setup_log.h"
#include "ui/win32/wizard_form.h"
#include "uninstall/earlier_installation.h"
#include "wizard/finish_actions.h"
#include "wizard/install_outcome.h"
#include "wizard/page_ids.h"
#include "wizard/win32/responsive_wait.h"
#include "wizard/win32/wizard_prompts.h"

namespace wizard {

using cc::Str;
using cc::win::kAnchorBottom;
using cc::win::kAnchorLeft;
using cc::win::kAnchorRight;
using cc::win::kAnchorTop;

namespace {

// How often the copy looks at the window's messages at most.
constexpr uint64_t kPumpIntervalMs = 10;

// Puts the page's progress and the wizard's questions in the platform for
// one run and takes them out again.
class LentSeams {
 public:
  LentSeams(Platform& platform, Progress& progress, Prompts& prompts)
      : platform_(platform), progress_(platform.progress), prompts_(platform.prompts) {
    platform.progress = &progress;
    platform.prompts = &prompts;
  }
  ~LentSeams() {
    platform_.progress = progress_;
    platform_.prompts = prompts_;
  }
  LentSeams(const LentSeams&) = delete;
  LentSeams& operator=(const LentSeams&) = delete;

 private:
  Platform& platform_;
  Progress* progress_;
  Prompts* prompts_;
};

}  // namespace

InsingPage::InsingPage(WizardContext& context, const Str& keyBase) : FunctionPage(kInsingPage, context, keyBase) {
  BuildControls();
}

void InsingPage::BuildControls() {
  const int across = kAnchorTop | kAnchorLeft | kAnchorRight;
  labInfo_->SetBounds(3, 1, 595, 17);
  // Paths may hold "&", which must not turn into an underlined letter.
  labInfo_->ModifyStyle(cc::win::kStyleWindow, 0, SS_NOPREFIX);
  labFiles_ = AddControl<cc::win::Label>(u"labFiles", 5, 18, 590, 14, across);
  // A long path keeps its file name: the middle gives way to "...".
  labFiles_->ModifyStyle(cc::win::kStyleWindow, 0, SS_NOPREFIX | SS_PATHELLIPSIS);
  labFiles_->SetText(Str(u"Extracting File Name"));
  progBar_ = AddControl<cc::win::ProgressBar>(u"progBar", 5, 38, 590, 17, across);
  progBar_->SetRange(0, 100);
  btnDetail_ = AddControl<cc::win::Button>(u"btnDetail", 5, 65, 100, 19);
  btnDetail_->SetText(Str(u"Show details"));
  btnDetail_->Click.Add(this, &InsingPage::OnDetailClick);
  textDetail_ = AddControl<cc::win::TextBox>(u"textDetail", 5, 65, 590, 525, across | kAnchorBottom);
  textDetail_->SetMultiline(true);
  textDetail_->SetReadOnly(true);
  textDetail_->Hide();
}

bool InsingPage::LoadPage(int mode) {
  AddFlags(cc::win::kPageNoBackEnable | cc::win::kPageNoNextEnable);
  if (mode == kLoadCreated || mode == kLoadLanguageChanged || LanguageChanged()) {
    btnDetail_->SetVisible(HasFlag(kInsingShowDetailButton));
    textDetail_->Hide();
  }
  buffered_.clear();
  textDetail_->SetText(Str(u""));
  return true;
}

void InsingPage::OnDetailClick(cc::win::Control*, cc::win::EventArgs&) {
  btnDetail_->Hide();
  textDetail_->SetText(Str(u""));
  AppendDetail(Str(buffered_));
  buffered_.clear();
  textDetail_->Show();
}

void InsingPage::AppendDetail(const Str& text) {
  if (!textDetail_->Created()) {
    textDetail_->SetText(textDetail_->Text() + text);
    return;
  }
  HWND box = textDetail_->Handle();
  // The default limit of an edit box (about 32,000 characters) would drop
  // the lines of a large installation.
  SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
  int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, end, end);
  SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(cc::win::Wide(text)));
}

// ---- Progress

void InsingPage::SetStatus(const Str& text) { labInfo_->SetText(text); }
// The copy reports before every block. Under Wine a window's text, its
// repainting and the message queue each cost a round trip to Wine's server,
// which made the page's share of a large install second only to the copy
// itself. So the file label takes its latest text when messages are pumped,
// which is every kPumpIntervalMs at most (a click waits no longer than
// that); the bar itself does not repaint for the value it shows.
void InsingPage::SetDetail(const Str& text) { pendingDetail_ = text; }

void InsingPage::ShowPendingDetail() {
  if (pendingDetail_.Equals(shownDetail_)) return;
  shownDetail_ = pendingDetail_;
  labFiles_->SetText(shownDetail_);
}

void InsingPage::SetBar(int percent) { progBar_->SetValue(percent); }

// The engine writes each status line to the setup log itself.
void InsingPage::AddStatusLine(const Str& line) {
  if (textDetail_->Visible()) {
    AppendDetail(line);
  } else {
    buffered_ += line.View();
  }
}

void InsingPage::PumpMessages() {
  const uint64_t now = GetTickCount64();
  if (now - lastPumpMs_ < kPumpIntervalMs) return;
  lastPumpMs_ = now;
  ShowPendingDetail();
  PumpWindowMessages();
}

// ---- the run

// The steps before the copy (an earlier installation's removal, folders)
// pump no messages: without this the question box just answered would
// stay drawn over a page not yet painted until the copy begins.
void InsingPage::ShowBeforeTheWork() {
  RedrawWindow(Form().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
}

bool InsingPage::Install(int direction) {
  Platform& platform = Context().platform;
  RunFootprint watch(*this, *platform.files);
  WizardPrompts prompts(Form());
  LentSeams lent(platform, watch, prompts);
  // An error page shows only this run's error.
  if (direction == kInstallPhase) Config().Remove(u"Ret.ErrorInfo");
  InstallSession session(platform, Config(), Context().logic.Payload().archive(), Log());
  EnableEarlierInstallationRemoval(session);
  bool ran = RunInstall(session, direction);
  ShowPendingDetail();
  // Stopped before its files were all in place, by Cancel or by a folder
  // or file that could not be made: no record names what it created, so
  // it goes now.
  if (direction == kInstallPhase && !ran && !session.files_in_place) {
    bool canceled = ClassifyInstall(ran, Config()) == InstallOutcome::kCanceledInFiles;
    Log().Write(Str(canceled ? u"Installation cancelled during the copy; removing what this run created."
                         : u"Installation failed before its files were in place; removing what this run created."));
    RollBackStoppedRun(*platform.files, Log(), session.record, watch);
    if (canceled) StoreCanceledError(Config());
  }
  return ran;
}

void InsingPage::OnEnter(int direction) {
  // The installation runs once, however often the page is shown; shown
  // again, the page only moves on.
  if (direction == kInstallPhase && installed_) {
    Context().actions.AdvanceSoon();
    return;
  }
  if (direction == kInstallPhase) installed_ = true;
  ShowBeforeTheWork();
  bool ran = Install(direction);
  Config().SetBool(u"Ret.CancelEnd", true);
  InstallOutcome outcome = ClassifyInstall(ran, Config());
  if (!ran) {
    Context().actions.InstallEnded(false, outcome == InstallOutcome::kCanceledInFiles);
    Context().actions.ShowErrorSoon();
    return;
  }
  if (direction != kInstallPhase) return;
  // The bar moves before each block is copied, so the last block would
  // leave it short of the end of a run that is complete.
  SetBar(100);
  Context().actions.InstallEnded(true, outcome == InstallOutcome::kCanceledLate);
  if (outcome == InstallOutcome::kSucceeded) RunLaunchFile();
  Context().actions.AdvanceSoon();
}

void InsingPage::RunLaunchFile() {
  Platform& platform = Context().platform;
  Str program = ResolveFinishPath(Config().Get(KeyOf(u".editLaunchfile0")), Config(), platform);
  if (program.IsEmpty()) return;
  Log().Line(u"ShellExecute:%s", program);
  if (!FileExists(*platform.files, program)) return;
  OpenAndWait(Form().Handle(), program, HasFlag(kInsingLaunchHidden) ? SW_HIDE : SW_SHOWNORMAL);
}

}  // namespace wizard
