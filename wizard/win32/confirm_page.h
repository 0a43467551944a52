// The confirmation page: a read-only summary of what the earlier pages
// chose, and optionally a last question on Next. Windows flavour only.
#pragma once

#include "wizard/win32/function_page.h"

namespace wizard {

class ConfirmPage : public FunctionPage {
 public:
  ConfirmPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"ConfirmPage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();

  cc::win::TextBox* textConfirm_ = nullptr;
};

}  // namespace wizard
