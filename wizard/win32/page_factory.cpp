#include "wizard/win32/page_factory.h"

#include "wizard/page_ids.h"
#include "wizard/win32/info_page.h"
#include "wizard/win32/info_web_page.h"
#include "wizard/win32/license_page.h"
#include "wizard/win32/sel_lang_page.h"
#include "wizard/win32/welcome_page.h"

namespace wizard {

std::unique_ptr<FunctionPage> CreatePage(int typeId, WizardContext& context, const cc::Str& keyBase) {
  switch (typeId) {
    case kSelLangPage:
      return std::make_unique<SelLangPage>(context, keyBase);
    case kWelcomePage:
      return std::make_unique<WelcomePage>(context, keyBase);
    case kInfoPage:
      return std::make_unique<InfoPage>(context, keyBase);
    case kLicensePage:
      return std::make_unique<LicensePage>(context, keyBase);
    case kInfoWebPage:
      return std::make_unique<InfoWebPage>(context, keyBase);
    // Pages without their own class yet show their information text only.
    case kSelContentPage:
    case kCustomizePage:
    case kLocationPage:
    case kMenuFolderPage:
    case kShortcutPage:
    case kConfirmPage:
    case kInsingPage:
    case kFinishPage:
    case kShortcutMenuPage:
    case kShortcutAssocPage:
    case kShortcutServicePage:
      return std::make_unique<FunctionPage>(typeId, context, keyBase);
    default:
      return nullptr;
  }
}

}  // namespace wizard
