// FinishPage: the last page. It offers to start the installed program and
// to open a readme, and offers or forces a restart; leaving it by Finish or
// by closing the window runs the project's script, then the restart or the
// launches. After an installation the user cancelled once its files were
// in place it says so instead of reporting success, and starts nothing.
// Windows flavour only.
#pragma once

#include "wizard/win32/function_page.h"

namespace wizard {

// Finish page flags.
inline constexpr uint32_t kFinishAlwaysLaunch = 0x100000;
inline constexpr uint32_t kFinishShowReadme = 0x200000;
inline constexpr uint32_t kFinishShowLaunch = 0x400000;
inline constexpr uint32_t kFinishShowRestart = 0x800000;
inline constexpr uint32_t kFinishForcedRestart = 0x1000000;

class FinishPage : public FunctionPage {
 public:
  FinishPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"FinishPage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();
  void OnRestartClick(cc::win::Control* sender, cc::win::EventArgs& args);
  // Enables and checks the check boxes after the restart choice.
  void ApplyRestartChoice();
  void ShowCanceledLate();
  void RunScript();
  // The restart question or notice; true when the restart branch was taken.
  bool Restart();
  // Starts the program; true when it was started.
  bool Launch();
  void OpenReadme(bool afterLaunch);
  // ShellExecuteW "open" of the resolved `value`, logged first; true when
  // the file exists and was opened.
  bool OpenResolved(const cc::Str& value);

  cc::win::CheckBox* chkReadme_ = nullptr;
  cc::win::CheckBox* chkLaunch_ = nullptr;
  cc::win::Label* labReboot_ = nullptr;
  cc::win::RadioButton* radYes_ = nullptr;
  cc::win::RadioButton* radNo_ = nullptr;
  bool canceledLate_ = false;
  bool finished_ = false;
};

}  // namespace wizard
