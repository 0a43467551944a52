// ShortcutServicePage: the tasks page with the services alone.
// Windows flavour only.
#pragma once

#include "wizard/page_ids.h"
#include "wizard/win32/shortcut_page.h"

namespace wizard {

class ShortcutServicePage : public ShortcutPage {
 public:
  ShortcutServicePage(WizardContext& context, const cc::Str& keyBase)
      : ShortcutPage(kShortcutServicePage, context, keyBase) {}
  const char16_t* ClassName() const override { return u"ShortcutServicePage"; }
};

}  // namespace wizard
