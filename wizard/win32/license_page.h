// The licence page (id 103): the information page's document with an
// agreement below it, either two radio buttons ("I agree" keeps Next
// disabled until it is chosen) or a text that may name the Next button by
// "[#NextButton#]". Windows flavour only.
#pragma once

#include "wizard/win32/info_page.h"

namespace wizard {

// The agreement is given by the radio buttons.
inline constexpr uint32_t kLicenseRadioButtons = 0x100000;

class LicensePage : public InfoPage {
 public:
  LicensePage(WizardContext& context, const cc::Str& keyBase);
  ~LicensePage() override;
  const char16_t* ClassName() const override { return u"LicensePage"; }

  // Shows the agreement's controls, keeps Next disabled while "I agree" is
  // not chosen, then loads the document. Always true.
  bool LoadPage(int mode) override;
  // Puts the Next button's caption into the agreement text.
  void OnEnter(int direction) override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildControls();
  void ShowAgreementControls();
  void ReplaceNextButtonName();
  void OnAgreementClick(cc::win::Control* sender, cc::win::EventArgs& args);

  cc::win::RadioButton* radYes_ = nullptr;
  cc::win::RadioButton* radNo_ = nullptr;
  cc::win::Label* labIAgreeMsg_ = nullptr;
};

}  // namespace wizard
