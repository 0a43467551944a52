// ShortcutAssocPage: the tasks page with the file associations alone.
// Windows flavour only.
#pragma once

#include "wizard/page_ids.h"
#include "wizard/win32/shortcut_page.h"

namespace wizard {

class ShortcutAssocPage : public ShortcutPage {
 public:
  ShortcutAssocPage(WizardContext& context, const cc::Str& keyBase)
      : ShortcutPage(kShortcutAssocPage, context, keyBase) {}
  const char16_t* ClassName() const override { return u"ShortcutAssocPage"; }
};

}  // namespace wizard
