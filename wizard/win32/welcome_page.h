// The welcome page (id 101): a language page with a larger text, an
// optional link and the language list at the bottom right, each shown as
// the page's flags ask. Windows flavour only.
#pragma once

#include "wizard/win32/sel_lang_page.h"

namespace wizard {

// Flags of the welcome page.
inline constexpr uint32_t kWelcomeShowLanguages = 0x10000000;
inline constexpr uint32_t kWelcomeShowLink = 0x20000000;

class WelcomePage : public SelLangPage {
 public:
  WelcomePage(WizardContext& context, const cc::Str& keyBase);
  ~WelcomePage() override;
  const char16_t* ClassName() const override { return u"WelcomePage"; }

  // Shows the link and the language list by the flags, then loads as the
  // language page does.
  bool LoadPage(int mode) override;

 private:
  void BuildControls();
  void OnLinkClick(cc::win::Control* sender, cc::win::EventArgs& args);

  cc::win::LabelLink* linkPage_ = nullptr;
};

}  // namespace wizard
