// The exit code of the setup program from how the wizard ended.
#pragma once

namespace wizard {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitInstallFailed = 1;
inline constexpr int kExitCanceled = 2;
inline constexpr int kExitNoValidPage = 3;

struct WizardEnd {
  bool ranToEnd = false;      // Next past the last page, or the finish page closed
  bool noPages = false;       // the sequence had no first page
  bool invalidPage = false;   // an item without a page class ended the wizard
  bool installRan = false;    // the installation finished without error
  bool installFailed = false; // the installation ended with an error
  bool canceled = false;      // "Ret.Canceled", or the user quit before the end
};

// 0 only when the wizard ran to its end and no installation failed or was
// cancelled; an invalid item after a successful installation still counts
// as success, since everything the user asked for is done.
int WizardExitCode(const WizardEnd& end);

}  // namespace wizard
