#include "wizard/win32/finish_page.h"

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "runtime/lang_text.h"
#include "runtime/setup_log.h"
#include "ui/win32/wizard_form.h"
#include "wizard/finish_actions.h"
#include "wizard/install_outcome.h"
#include "wizard/page_ids.h"
#include "wizard/win32/responsive_wait.h"

namespace wizard {

using cc::Str;

namespace {

// The readme opens this long after the program, in steps that pump.
constexpr int kReadmeDelaySteps = 20;
constexpr int kReadmeDelayStepMs = 100;
// The shutdown reason of a restart the setup asks for (planned, application
// installation).
constexpr DWORD kRestartReason = 0x80020003;

void RestartComputer(Platform& platform) {
  if (GetVersion() < 0x80000000 && platform.process) platform.process->EnablePrivilege(u"SeShutdownPrivilege");
  if (!ExitWindowsEx(EWX_REBOOT | EWX_FORCE, kRestartReason)) ExitWindowsEx(EWX_REBOOT, 0);
}

}  // namespace

FinishPage::FinishPage(WizardContext& context, const Str& keyBase) : FunctionPage(kFinishPage, context, keyBase) {
  BuildControls();
}

void FinishPage::BuildControls() {
  labInfo_->SetBounds(3, 1, 595, 47);
  chkReadme_ = AddControl<cc::win::CheckBox>(u"chkReadme", 5, 57, 600, 17);
  chkReadme_->SetChecked(true);
  chkLaunch_ = AddControl<cc::win::CheckBox>(u"chkLaunch", 5, 80, 600, 17);
  chkLaunch_->SetChecked(true);
  labReboot_ = AddControl<cc::win::Label>(u"labReboot", 5, 120, 595, 30,
                                          cc::win::kAnchorTop | cc::win::kAnchorLeft | cc::win::kAnchorRight);
  labReboot_->SetText(Str(u"Reboot"));
  radYes_ = AddControl<cc::win::RadioButton>(u"radYes", 5, 150, 600, 17);
  radYes_->ModifyStyle(cc::win::kStyleWindow, 0, WS_GROUP);
  radYes_->SetChecked(true);
  radNo_ = AddControl<cc::win::RadioButton>(u"radNo", 5, 168, 600, 17);
  radYes_->Click.Add(this, &FinishPage::OnRestartClick);
  radNo_->Click.Add(this, &FinishPage::OnRestartClick);
}

bool FinishPage::LoadPage(int mode) {
  AddFlags(cc::win::kPageNoBackEnable | cc::win::kPageNoCancelEnable);
  if (mode == kLoadCreated || mode == kLoadLanguageChanged || LanguageChanged()) {
    chkReadme_->SetVisible(HasFlag(kFinishShowReadme));
    chkLaunch_->SetVisible(HasFlag(kFinishShowLaunch));
    bool restart = HasFlag(kFinishShowRestart);
    labReboot_->SetVisible(restart);
    radYes_->SetVisible(restart);
    radNo_->SetVisible(restart);
    chkLaunch_->SetEnabled(!HasFlag(kFinishAlwaysLaunch));
    if (HasFlag(kFinishAlwaysLaunch)) chkLaunch_->SetChecked(true);
    bool forced = HasFlag(kFinishForcedRestart);
    radYes_->SetEnabled(!forced);
    radNo_->SetEnabled(!forced);
    if (forced) {
      radYes_->SetChecked(true);
      radNo_->SetChecked(false);
    }
    ApplyRestartChoice();
  }
  if (mode == kLoadByNext && Context().platform.shell) {
    Context().platform.shell->NotifyChange(kChangeAssocChanged, kChangeFlagFlushNoWait, Str());
  }
  canceledLate_ = Config().GetBool(u"Ret.Canceled", false) || Config().GetBool(u"Ret.Canceling", false);
  if (canceledLate_) ShowCanceledLate();
  return true;
}

// The install did not end the way the user wanted: no success text (the
// page's declared text is left out) and nothing offered to start.
void FinishPage::ShowCanceledLate() {
  labInfo_->SetConfigName(Str(u""));
  labInfo_->SetText(CanceledLateText(Config(), LangCode()));
  for (cc::win::CheckBox* box : {chkLaunch_, chkReadme_}) {
    box->SetChecked(false);
    box->Hide();
  }
}

void FinishPage::OnRestartClick(cc::win::Control*, cc::win::EventArgs&) { ApplyRestartChoice(); }

void FinishPage::ApplyRestartChoice() {
  bool restart = radYes_->Visible() && radYes_->Checked();
  chkReadme_->SetEnabled(!restart);
  chkLaunch_->SetEnabled(!restart && !HasFlag(kFinishAlwaysLaunch));
  if (!canceledLate_) {
    chkReadme_->SetChecked(!restart);
    chkLaunch_->SetChecked(!restart);
  }
}

bool FinishPage::LeavePage(int direction) {
  if (direction != 1) return true;
  // Finish and the close box both end here; the actions run once.
  if (finished_) return true;
  finished_ = true;
  if (!canceledLate_) RunScript();
  if (Restart()) return true;
  if (canceledLate_) return true;
  bool launched = false;
  if (HasFlag(kFinishAlwaysLaunch) || (chkLaunch_->Visible() && chkLaunch_->Checked())) launched = Launch();
  if (chkReadme_->Visible() && chkReadme_->Checked()) OpenReadme(launched);
  return true;
}

void FinishPage::RunScript() {
  Str text = Config().Get(KeyOf(u".Bat"));
  if (text.IsEmpty()) return;
  Platform& platform = Context().platform;
  Str folder = Config().Get(u"Ret.Location.Path");
  ScriptPlan plan = PlanScript(Config().GetInt(KeyOf(u".BatTy"), 0), folder);
  if (!WriteScriptFile(platform, plan.file, FillScriptText(text, folder))) {
    Log().Line(u"Script not written:%s", plan.file);
    return;
  }
  if (!RunHiddenAndWait(plan.commandLine)) Log().Line(u"Script not started:%s", plan.commandLine);
  DeleteFileForced(*platform.files, plan.file);
}

bool FinishPage::Restart() {
  if (!radYes_->Visible() || !radYes_->Checked()) return false;
  HWND owner = Form().Handle();
  if (radYes_->Enabled()) {
    Str text = PageText(u".s.i.Var.RebootMsg");
    Str caption = PageText(u".s.c.Var.QTitle");
    int answer = MessageBoxW(owner, cc::win::Wide(text), cc::win::Wide(caption), MB_YESNO | MB_ICONQUESTION);
    // Any other answer ends the setup now, without starting anything.
    if (answer == IDYES) RestartComputer(Context().platform);
    return true;
  }
  Str text = PageText(u".s.i.Var.FRebootMsg");
  Str caption = PageText(u".s.c.Var.ITitle");
  MessageBoxW(owner, cc::win::Wide(text), cc::win::Wide(caption), MB_OK | MB_ICONEXCLAMATION);
  RestartComputer(Context().platform);
  return true;
}

bool FinishPage::Launch() { return OpenResolved(Config().Get(KeyOf(u".Launch"))); }

void FinishPage::OpenReadme(bool afterLaunch) {
  Str value = Config().Get(LangKey(LangCode(), KeyOf(u".Readme")));
  Str readme = ResolveFinishPath(value, Config(), Context().platform);
  if (afterLaunch && !readme.IsEmpty() && FileExists(*Context().platform.files, readme)) {
    for (int step = 0; step < kReadmeDelaySteps; ++step) {
      PumpWindowMessages();
      Sleep(kReadmeDelayStepMs);
    }
  }
  OpenResolved(value);
}

bool FinishPage::OpenResolved(const Str& value) {
  Platform& platform = Context().platform;
  Str path = ResolveFinishPath(value, Config(), platform);
  Log().Line(u"ShellExecute:%s", path);
  if (path.IsEmpty() || !FileExists(*platform.files, path)) return false;
  ShellExecuteW(Handle(), L"open", cc::win::Wide(path), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

}  // namespace wizard
