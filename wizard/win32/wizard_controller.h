// The page framework on the window: it owns the pages (created once, one per
// type id), moves through the configured sequence with the Navigator's
// rules, shows the error page, decides close requests, re-applies every text
// after a language switch and runs the deferred steps on one-shot timers.
// Windows flavour only.
#pragma once

#include <array>
#include <memory>

#include "core/str.h"
#include "ui/event.h"
#include "wizard/exit_code.h"
#include "wizard/navigator.h"
#include "wizard/page_ids.h"
#include "wizard/win32/function_page.h"
#include "wizard/win32/wizard_context.h"

namespace wizard {

// One-shot form timers of the framework.
inline constexpr UINT_PTR kAdvanceTimer = 66;
inline constexpr UINT_PTR kCreatePagesTimer = 67;
inline constexpr UINT_PTR kRaiseFrameTimer = 70;
inline constexpr UINT_PTR kShowErrorTimer = 71;

// The built-in texts of a sequence without a first page.
inline constexpr const char16_t kNoPagesTitle[] = u"Error";
inline constexpr const char16_t kNoPagesText[] = u"Error for no any setup files, Click Exit to exit.";
inline constexpr const char16_t kExitText[] = u"Exit";

class WizardController : public PageHost, public WizardActions {
 public:
  WizardController(cc::win::WizardForm& form, InsForm& logic, Platform& platform);
  ~WizardController() override;
  WizardController(const WizardController&) = delete;
  WizardController& operator=(const WizardController&) = delete;

  // The extension library's notifier (may stay empty).
  void SetExtensionNotifier(ExtensionNotifier notify) { context_.notify = std::move(notify); }

  // Creates the first page, shows it, checks the run conditions and
  // creates the remaining pages shortly after.
  void Start();
  void GoNext();
  void GoBack();
  void ShowError();
  // The form's Closing event: refuses (args.cancel) or lets the form close.
  void OnClosing(cc::win::Control* sender, cc::win::CancelEventArgs& args);

  // WizardActions
  void AdvanceSoon() override;
  void ShowErrorSoon() override;
  void RefreshLanguage() override;
  void InstallEnded(bool succeeded, bool canceled) override;

  // How the wizard ended, for the exit code.
  const WizardEnd& End() const { return end_; }
  FunctionPage* CurrentPage() const;

 private:
  // PageHost
  bool CanLeave(int typeId, int direction) override;
  void HidePage(int typeId) override;
  void ShowPage(const PageSlot& slot, int mode) override;
  void ShowNoPages() override;
  void EndWizard() override;
  void Log(const cc::Str& line) override;

  FunctionPage* GetPage(const PageSlot& slot);
  void CreatePages(int from);
  void ApplyPageDeclared(FunctionPage* page);
  void ApplyClientDeclared(FunctionPage* page);
  void OnTimer(UINT_PTR id);
  void OnNextClick(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnBackClick(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnDeclaredClick(cc::win::Control* clicked);
  bool AskYesNo(const cc::Str& title, const cc::Str& text);
  void StartTimer(UINT_PTR id, UINT milliseconds);

  WizardContext context_;
  Navigator navigator_;
  std::array<FunctionPage*, kLastPageId - kFirstPageId + 1> pages_{};
  WizardEnd end_;
  bool allPagesCreated_ = false;
};

}  // namespace wizard
