#include "wizard/win32/info_web_page.h"

#include "runtime/setup_log.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

InfoWebPage::InfoWebPage(WizardContext& context, const Str& keyBase) : FunctionPage(kInfoWebPage, context, keyBase) {
  BuildControls();
}

void InfoWebPage::BuildControls() {
  labInfo_->SetSize(595, 29);
  ie_ = AddControl<cc::win::IEControl>(u"ie", 5, 30, 590, 570,
                                       cc::win::kAnchorTop | cc::win::kAnchorBottom | cc::win::kAnchorLeft |
                                           cc::win::kAnchorRight);
  ie_->SetAppFolder([this] { return Config().Get(u"Ret.Location.Path"); });
  ie_->SetLogger([this](const Str& line) { Log().Write(line); });
}

bool InfoWebPage::LoadPage(int mode) {
  if ((mode != kLoadByNext && mode != kLoadLanguageChanged) || HasFlag(kWebPageOpened)) return true;
  AddFlags(kWebPageOpened);
  Str url = Config().Get(KeyOf(u".InfoUrl"));
  if (url.IsNull() || url.IsEmpty()) return true;
  ie_->SetSilent(true);
  if (!ie_->Navigate(url)) {
    Log().Write(Str(u"No web browser to show ") + url + Str(u"; its address is offered instead."));
  }
  return true;
}

}  // namespace wizard
