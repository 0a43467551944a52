#include "wizard/win32/page_factory.h"

#include "wizard/page_ids.h"
#include "wizard/win32/confirm_page.h"
#include "wizard/win32/location_page.h"
#include "wizard/win32/menu_folder_page.h"

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
    case kShortcutPage:
    case kInsingPage:
    case kFinishPage:
    case kInfoWebPage:
    case kShortcutMenuPage:
    case kShortcutAssocPage:
    case kShortcutServicePage:
      return std::make_unique<FunctionPage>(typeId, context, keyBase);
    case kLocationPage:
      return std::make_unique<LocationPage>(context, keyBase);
    case kMenuFolderPage:
      return std::make_unique<MenuFolderPage>(context, keyBase);
    case kConfirmPage:
      return std::make_unique<ConfirmPage>(context, keyBase);
    default:
      return nullptr;
  }
}

}  // namespace wizard
