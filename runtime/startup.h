// The road from process entry to a loaded setup, for the program without its
// window: the process privileges, the main form's initialisation, the
// shared-memory block, the run conditions and the rights check, and the
// teardown.
#pragma once

#include <functional>

class InsForm;
class Platform;

// The privileges the setup enables on its own token, in this order.
inline constexpr const char16_t* kStartupPrivileges[] = {u"SeDebugPrivilege", u"SeShutdownPrivilege"};

// Enables kStartupPrivileges; a refused privilege is ignored.
void EnableStartupPrivileges(Platform& platform);

// Runs the whole start-up without a window and tears it down again: the
// privileges, InsForm::Initialize (payload, configuration, log, language,
// initial results), the shared-memory block "ccProj", then what the form
// does when it loads (run conditions, rights check; a failure leaves its
// message in "Ret.ErrorInfo", which only the wizard's error page shows).
// Returns the process exit code, which is 0 whatever the outcome, as the
// setup's is. `afterInitialize` (may be empty) is called with the form once
// it is initialised, before the checks. Needs every interface of `platform`.
int RunStartupWithoutWindow(Platform& platform,
                            const std::function<void(InsForm&)>& afterInitialize = {});
