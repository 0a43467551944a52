// SelContentPage: the setup types as radio buttons, each with its
// description below it. Next stores the chosen type (by its number) and the
// components it names. Windows flavour only.
#pragma once

#include <vector>

#include "wizard/component_choice.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class SelContentPage : public FunctionPage {
 public:
  SelContentPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"SelContentPage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();
  // Shows the offered types' radio buttons and descriptions, spread over
  // the page's height.
  void LayoutTypes();
  void OnResized(cc::win::Control* sender, cc::win::EventArgs& args);
  // The number of the offered type whose radio button is checked, -1 for none.
  int CheckedType() const;
  void CheckType(int number);

  cc::win::RadioButton* radios_[kMaxSetupTypes] = {};
  cc::win::Label* labels_[kMaxSetupTypes] = {};
  std::vector<SetupType> types_;
};

}  // namespace wizard
