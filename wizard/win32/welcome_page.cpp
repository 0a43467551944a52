#include "wizard/win32/welcome_page.h"

#include "runtime/setup_log.h"
#include "ui/win32/wizard_form.h"
#include "wizard/link_target.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

namespace {
constexpr COLORREF kLinkPageColour = 0x00FF00;
constexpr int kBottomRight = cc::win::kAnchorBottom | cc::win::kAnchorRight;
}  // namespace

WelcomePage::WelcomePage(WizardContext& context, const Str& keyBase)
    : SelLangPage(kWelcomePage, context, keyBase) {
  BuildControls();
}

WelcomePage::~WelcomePage() { linkPage_->Click.Remove(this); }

void WelcomePage::BuildControls() {
  labInfo_->SetSize(595, 120);
  linkPage_ = AddControl<cc::win::LabelLink>(u"linkPage", 0, 125, 200, 17);
  linkPage_->SetTextColor(kLinkPageColour);
  linkPage_->Click.Add(this, &WelcomePage::OnLinkClick);
  labLang_->SetBounds(390, 558, 200, 17);
  labLang_->SetAnchor(kBottomRight);
  comboLang_->SetBounds(390, 558 + 17 + 1, 200, 145);
  comboLang_->SetAnchor(kBottomRight);
}

bool WelcomePage::LoadPage(int mode) {
  linkPage_->SetVisible(HasFlag(kWelcomeShowLink));
  labLang_->SetVisible(HasFlag(kWelcomeShowLanguages));
  comboLang_->SetVisible(HasFlag(kWelcomeShowLanguages));
  return SelLangPage::LoadPage(mode);
}

// The link opens the address it shows, as far as the link policy allows.
void WelcomePage::OnLinkClick(cc::win::Control*, cc::win::EventArgs&) {
  Str target = LinkTargetOfText(linkPage_->Text());
  if (target.IsNull()) {
    Log().Write(Str(u"Link not opened: ") + linkPage_->Text() + Str(u" (not an address)"));
    return;
  }
  Form().OpenLinkTarget(target);
}

}  // namespace wizard
