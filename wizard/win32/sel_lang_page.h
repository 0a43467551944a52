// The language page (id 100): the information text and a drop-down list of
// the project's languages; choosing one switches every text of the setup
// at once. The welcome page builds on it. Windows flavour only.
#pragma once

#include "wizard/win32/function_page.h"

namespace wizard {

class SelLangPage : public FunctionPage {
 public:
  SelLangPage(WizardContext& context, const cc::Str& keyBase);
  ~SelLangPage() override;
  const char16_t* ClassName() const override { return u"SelLangPage"; }

  // Mode 0 fills the list and selects the language in force (by the rule
  // that chose it at start-up); Next/Back select the entry a language page
  // chose since. Always true.
  bool LoadPage(int mode) override;

 protected:
  SelLangPage(int typeId, WizardContext& context, const cc::Str& keyBase);

  cc::win::Label* labLang_ = nullptr;
  cc::win::ComboBox* comboLang_ = nullptr;

 private:
  void BuildControls();
  void FillLanguages();
  // Makes entry `index` the language of the setup; every text follows.
  void SwitchTo(int index);
  void OnLanguageSelected(cc::win::Control* sender, cc::win::EventArgs& args);

  int selected_ = -1;
};

}  // namespace wizard
