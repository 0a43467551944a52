// The information page (id 102): a text and a document from the payload
// (".txt", ".rtf", ".htm"/".html") in an HTML text box, named per language
// by "<lang>.<key base>.InfoFile". The licence page builds on it. Windows
// flavour only.
#pragma once

#include "ui/win32/html_text_box.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class InfoPage : public FunctionPage {
 public:
  InfoPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"InfoPage"; }

  // Loads the document at creation, after a language switch and whenever
  // the language changed since it was loaded. Always true.
  bool LoadPage(int mode) override;

 protected:
  InfoPage(int typeId, WizardContext& context, const cc::Str& keyBase);

  cc::win::HtmlTextBox* textMsg_ = nullptr;

 private:
  void BuildControls();
  // Shows the page's document; leaves the box as it is (and logs why) when
  // there is none to show.
  void ShowDocument();
};

}  // namespace wizard
