// The web information page (id 122): a text and a web page from the
// address "<key base>.InfoUrl", shown by the browser control, or, where no
// browser can show it, a clear text with the address as a link. Windows
// flavour only.
#pragma once

#include "ui/win32/ie_control.h"
#include "wizard/win32/function_page.h"

namespace wizard {

// Flag of the web page: the address was opened during this showing.
inline constexpr uint32_t kWebPageOpened = 0x20000000;

class InfoWebPage : public FunctionPage {
 public:
  InfoWebPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"InfoWebPage"; }

  // Opens the address when the page is shown by Next or the language
  // changed (once per showing). Always true.
  bool LoadPage(int mode) override;

 private:
  void BuildControls();

  cc::win::IEControl* ie_ = nullptr;
};

}  // namespace wizard
