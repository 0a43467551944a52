#include "wizard/win32/page_factory.h"

#include "wizard/page_ids.h"

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
    case kInsingPage:
    case kFinishPage:
    case kInfoWebPage:
    case kShortcutMenuPage:
    case kShortcutAssocPage:
    case kShortcutServicePage:
      return std::make_unique<FunctionPage>(typeId, context, keyBase);
    default:
      return nullptr;
  }
}

}  // namespace wizard
