// The wizard's side of the extension library hook: the main form's windows
// as the hook and the library's callback see them. Windows flavour only.
#pragma once

#include <functional>

#include "runtime/extension_hook.h"
#include "ui/win32/control.h"

class WizardExtensionHost : public ExtensionHost {
 public:
  // `form` is the main wizard form and outlives the host; `currentPage`
  // (may be empty: no page) gives the page shown now, or nullptr.
  explicit WizardExtensionHost(cc::win::Control& form,
                               std::function<cc::win::Control*()> currentPage = {});

  // The form's window; 0 before it is made and after it is destroyed.
  uintptr_t MainWindow() override;
  // The current page's window and that of the control it is placed in
  // (the page host); 0 when no page is shown.
  uintptr_t PageWindow() override;
  uintptr_t PageHostWindow() override;
  // The first control named `name` (letter case ignored) among the form's
  // children and theirs, depth first, the last child first, whose window
  // exists; 0 when there is none.
  uintptr_t FindControl(const cc::Str& name) override;
  // A toolkit control takes the text through its own SetText (so that it
  // keeps it), any other window through the system. False when `handle` is
  // not a window.
  bool SetControlText(uintptr_t handle, const cc::Str& text) override;

 private:
  cc::win::Control* CurrentPage() const;

  cc::win::Control& form_;
  std::function<cc::win::Control*()> current_page_;
};
