// The setup's start-up with its window: the windowless start-up of InsForm,
// then the main form is built, set up from the configuration, centred and
// the wizard's pages run in the application's loop; everything is torn down
// in order. Windows flavour only.
#pragma once

#include <functional>

class InsForm;
class Platform;

namespace wizard {

// Runs the setup with its window and returns the process exit code (see
// wizard/exit_code.h; 1 also when the window cannot be made).
// `afterInitialize` (may be empty) sees the initialised form before the
// window appears.
int RunWizard(Platform& platform, const std::function<void(InsForm&)>& afterInitialize = {});

}  // namespace wizard
