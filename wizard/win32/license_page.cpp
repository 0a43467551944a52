#include "wizard/win32/license_page.h"

#include "ui/win32/wizard_form.h"
#include "wizard/language_choice.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

namespace {
// After a language switch the framework gives the agreement text its new
// language once this page has loaded; the caption goes in after that.
constexpr UINT_PTR kAgreementTextTimer = 0x4C1;
constexpr int kBottomLeft = cc::win::kAnchorBottom | cc::win::kAnchorLeft;
}  // namespace

LicensePage::LicensePage(WizardContext& context, const Str& keyBase) : InfoPage(kLicensePage, context, keyBase) {
  BuildControls();
}

LicensePage::~LicensePage() {
  radYes_->Click.Remove(this);
  radNo_->Click.Remove(this);
}

void LicensePage::BuildControls() {
  textMsg_->SetSize(590, 534);
  radYes_ = AddControl<cc::win::RadioButton>(u"radYes", 5, 566, 590, 17, kBottomLeft);
  radNo_ = AddControl<cc::win::RadioButton>(u"radNo", 5, 566 + 17, 590, 17, kBottomLeft);
  radNo_->SetChecked(true);
  labIAgreeMsg_ = AddControl<cc::win::Label>(u"labIAgreeMsg", 5, 571, 590, 29, kBottomLeft | cc::win::kAnchorRight);
  labIAgreeMsg_->SetText(Str(u""));
  radYes_->Click.Add(this, &LicensePage::OnAgreementClick);
  radNo_->Click.Add(this, &LicensePage::OnAgreementClick);
}

bool LicensePage::LoadPage(int mode) {
  if (mode == kLoadCreated || mode == kLoadLanguageChanged || LanguageChanged()) ShowAgreementControls();
  if (HasFlag(kLicenseRadioButtons) && !radYes_->Checked()) AddFlags(cc::win::kPageNoNextEnable);
  if (mode == kLoadLanguageChanged && Created()) SetTimer(hwnd_, kAgreementTextTimer, 5, nullptr);
  return InfoPage::LoadPage(mode);
}

void LicensePage::ShowAgreementControls() {
  bool radios = HasFlag(kLicenseRadioButtons);
  radYes_->SetVisible(radios);
  radNo_->SetVisible(radios);
  labIAgreeMsg_->SetVisible(!radios);
}

void LicensePage::OnAgreementClick(cc::win::Control*, cc::win::EventArgs&) {
  if (HasFlag(kLicenseRadioButtons)) Form().NextButton()->SetEnabled(radYes_->Checked());
}

// Arriving from either side: the framework has just given the text its
// declared value again, placeholder included.
void LicensePage::OnEnter(int) { ReplaceNextButtonName(); }

void LicensePage::ReplaceNextButtonName() {
  Str text = labIAgreeMsg_->Text();
  if (text.IndexOf(u"[#NextButton#]") < 0) return;
  labIAgreeMsg_->SetText(ReplaceNextButton(text, Form().NextButton()->Text()));
}

LRESULT LicensePage::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kAgreementTextTimer) {
    KillTimer(hwnd_, wParam);
    ReplaceNextButtonName();
    return 0;
  }
  return InfoPage::WndProc(message, wParam, lParam);
}

}  // namespace wizard
