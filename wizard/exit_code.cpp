#include "wizard/exit_code.h"

namespace wizard {

int WizardExitCode(const WizardEnd& end) {
  if (end.installFailed) return kExitInstallFailed;
  if (end.canceled) return kExitCanceled;
  if (end.noPages) return kExitNoValidPage;
  if (end.invalidPage) return end.installRan ? kExitSuccess : kExitNoValidPage;
  return end.ranToEnd ? kExitSuccess : kExitCanceled;
}

}  // namespace wizard
