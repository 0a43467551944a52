#include "wizard/win32/confirm_page.h"

#include "ui/win32/wizard_form.h"
#include "wizard/confirm_summary.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;
using namespace cc::win;

ConfirmPage::ConfirmPage(WizardContext& context, const Str& keyBase)
    : FunctionPage(kConfirmPage, context, keyBase) {
  BuildControls();
}

void ConfirmPage::BuildControls() {
  labInfo_->SetBounds(3, 1, 595, 29);
  textConfirm_ = AddControl<TextBox>(u"textConfirm", 5, 31, 590, 559,
                                     kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight);
  textConfirm_->SetMultiline(true);
  textConfirm_->SetReadOnly(true);
}

bool ConfirmPage::LoadPage(int mode) {
  if (ConfirmRebuildsOn(mode)) textConfirm_->SetText(ConfirmSummary(Config(), LangCode()));
  return true;
}

bool ConfirmPage::LeavePage(int direction) {
  if (direction != 1 || !HasFlag(kConfirmAskOnNext)) return true;
  Str text = PageText(u".ConfirmMsg");
  Str caption = GetLangText(Str(u".s.c.Var.QTitle"));
  if (caption.IsNull() || caption.IsEmpty()) caption = Str(u"Question");
  int answer = MessageBoxW(Form().Handle(), Wide(text.IsNull() ? Str(u"") : text), Wide(caption),
                           MB_YESNO | MB_ICONQUESTION);
  return answer == IDYES;
}

}  // namespace wizard
