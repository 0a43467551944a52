#include "wizard/win32/page_factory.h"

#include "wizard/page_ids.h"
#include "wizard/win32/finish_page.h"
#include "wizard/win32/insing_page.h"

namespace wizard {

std::unique_ptr<FunctionPage> CreatePage(int typeId, WizardContext& context, const cc::Str& keyBase) {
  switch (typeId) {
    // Pages without their own class yet show their information text only.
    case kSelLangPage:
    case kWelcomePage:
    case kInfoPage:
    case kLicensePage:
    case kSelContentPage:
    case kCustomizePage:
    case kLocationPage:
    case kMenuFolderPage:
    case kShortcutPage:
    case kConfirmPage:
    case kInfoWebPage:
    case kShortcutMenuPage:
    case kShortcutAssocPage:
    case kShortcutServicePage:
      return std::make_unique<FunctionPage>(typeId, context, keyBase);
    case kInsingPage:
      return std::make_unique<InsingPage>(context, keyBase);
    case kFinishPage:
      return std::make_unique<FinishPage>(context, keyBase);
    default:
      return nullptr;
  }
}

}  // namespace wizard
