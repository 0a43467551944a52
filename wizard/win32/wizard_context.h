// What every page of the wizard reaches: the main form, the start-up state
// with its configuration store (which also holds every result), the
// platform, and the few requests a page may make of the framework.
// Windows flavour only.
#pragma once

#include <cstdint>
#include <functional>

#include "core/key_arr.h"

class InsForm;
class Platform;

namespace cc::win {
class WizardForm;
}

namespace wizard {

// The framework's side of the pages' requests. Each runs after the current
// message has been handled (a one-shot timer), so a page may ask from
// inside its own handlers.
class WizardActions {
 public:
  virtual ~WizardActions() = default;
  // Moves on to the next page as Next would (the installing page when the
  // installation has ended).
  virtual void AdvanceSoon() = 0;
  // Shows "Ret.ErrorInfo" on the error page.
  virtual void ShowErrorSoon() = 0;
  // The language in "s.c.IniLang" changed: every text of the form follows.
  virtual void RefreshLanguage() = 0;
  // The installing page reports how the installation ended, for the exit code.
  virtual void InstallEnded(bool succeeded, bool canceled) = 0;
};

// Tells the project's extension library about a page event (1 created, 2/3
// shown by Next/Back, 4/5 about to be left by Next/Back, 50 a declared
// control clicked); returns its answer, 0 when no library is loaded.
using ExtensionNotifier = std::function<int(int pageTypeId, int event, uintptr_t control)>;

struct WizardContext {
  cc::win::WizardForm& form;
  InsForm& logic;
  Platform& platform;
  cc::KeyArr& config;
  WizardActions& actions;
  ExtensionNotifier notify;
};

// Extension events of the page framework.
inline constexpr int kExtensionPageCreated = 1;
inline constexpr int kExtensionShownByNext = 2;
inline constexpr int kExtensionShownByBack = 3;
inline constexpr int kExtensionLeavingByNext = 4;
inline constexpr int kExtensionLeavingByBack = 5;
inline constexpr int kExtensionDeclaredClick = 50;
// A library's answer to event 4 or 5 that keeps the page.
inline constexpr int kExtensionRefuse = -1;

}  // namespace wizard
