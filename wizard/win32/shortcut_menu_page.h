// ShortcutMenuPage: the tasks page with the shortcut places alone.
// Windows flavour only.
#pragma once

#include "wizard/page_ids.h"
#include "wizard/win32/shortcut_page.h"

namespace wizard {

class ShortcutMenuPage : public ShortcutPage {
 public:
  ShortcutMenuPage(WizardContext& context, const cc::Str& keyBase)
      : ShortcutPage(kShortcutMenuPage, context, keyBase) {}
  const char16_t* ClassName() const override { return u"ShortcutMenuPage"; }
};

}  // namespace wizard
