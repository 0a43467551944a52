// InsingPage: the page on which the installation runs. It shows the current
// step (labInfo), the current item (labFiles), the progress bar and, on
// request, the status lines of the run; it lends itself to the install
// engine as its progress display and the wizard's dialogs as its
// questions, runs the installation as soon as it was shown by Next, and
// then moves on by itself or shows the error page. A run cancelled during
// its copy is undone before the error page tells so. Windows flavour only.
#pragma once

#include <string>

#include "platform/progress.h"
#include "wizard/win32/function_page.h"

namespace wizard {

// Installing page flags.
inline constexpr uint32_t kInsingShowDetailButton = 0x100000;
inline constexpr uint32_t kInsingLaunchHidden = 0x400000;

class InsingPage : public FunctionPage, public Progress {
 public:
  InsingPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"InsingPage"; }

  bool LoadPage(int mode) override;
  void OnEnter(int direction) override;

  // Progress
  void SetStatus(const cc::Str& text) override;
  void SetDetail(const cc::Str& text) override;
  void SetBar(int percent) override;
  void AddStatusLine(const cc::Str& line) override;
  void PumpMessages() override;

 private:
  void BuildControls();
  void OnDetailClick(cc::win::Control* sender, cc::win::EventArgs& args);
  void AppendDetail(const cc::Str& text);
  void ShowPendingDetail();
  // Runs the installation; RunInstall's result.
  void ShowBeforeTheWork();
  bool Install(int direction);
  // The program of ".editLaunchfile0", started and waited for.
  void RunLaunchFile();

  cc::win::Label* labFiles_ = nullptr;
  cc::win::ProgressBar* progBar_ = nullptr;
  cc::win::Button* btnDetail_ = nullptr;
  cc::win::TextBox* textDetail_ = nullptr;
  // Status lines that arrived while the detail box was hidden.
  std::u16string buffered_;
  // The file label's text as the engine last set it and as shown, and when
  // messages were last pumped: see SetDetail.
  cc::Str pendingDetail_;
  cc::Str shownDetail_;
  uint64_t lastPumpMs_ = 0;
  bool installed_ = false;
};

}  // namespace wizard
