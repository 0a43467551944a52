#include "wizard/win32/page_factory.h"

#include "wizard/page_ids.h"
#include "wizard/win32/confirm_page.h"
#include "wizard/win32/customize_page.h"
#include "wizard/win32/finish_page.h"
#include "wizard/win32/info_page.h"
#include "wizard/win32/info_web_page.h"
#include "wizard/win32/insing_page.h"
#include "wizard/win32/license_page.h"
#include "wizard/win32/location_page.h"
#include "wizard/win32/menu_folder_page.h"
#include "wizard/win32/sel_content_page.h"
#include "wizard/win32/sel_lang_page.h"
#include "wizard/win32/shortcut_assoc_page.h"
#include "wizard/win32/shortcut_menu_page.h"
#include "wizard/win32/shortcut_page.h"
#include "wizard/win32/shortcut_service_page.h"
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
    case kSelContentPage:
      return std::make_unique<SelContentPage>(context, keyBase);
    case kCustomizePage:
      return std::make_unique<CustomizePage>(context, keyBase);
    case kLocationPage:
      return std::make_unique<LocationPage>(context, keyBase);
    case kMenuFolderPage:
      return std::make_unique<MenuFolderPage>(context, keyBase);
    case kShortcutPage:
      return std::make_unique<ShortcutPage>(context, keyBase);
    case kConfirmPage:
      return std::make_unique<ConfirmPage>(context, keyBase);
    case kInfoWebPage:
      return std::make_unique<InfoWebPage>(context, keyBase);
    case kShortcutMenuPage:
      return std::make_unique<ShortcutMenuPage>(context, keyBase);
    case kShortcutAssocPage:
      return std::make_unique<ShortcutAssocPage>(context, keyBase);
    case kShortcutServicePage:
      return std::make_unique<ShortcutServicePage>(context, keyBase);
    case kInsingPage:
      return std::make_unique<InsingPage>(context, keyBase);
    case kFinishPage:
      return std::make_unique<FinishPage>(context, keyBase);
    default:
      return nullptr;
  }
}

}  // namespace wizard
