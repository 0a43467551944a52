#include "wizard/win32/sel_lang_page.h"

#include "runtime/ins_form.h"
#include "wizard/language_choice.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

SelLangPage::SelLangPage(WizardContext& context, const Str& keyBase)
    : SelLangPage(kSelLangPage, context, keyBase) {}

SelLangPage::SelLangPage(int typeId, WizardContext& context, const Str& keyBase)
    : FunctionPage(typeId, context, keyBase) {
  BuildControls();
}

SelLangPage::~SelLangPage() { comboLang_->SelectedIndexChanged.Remove(this); }

void SelLangPage::BuildControls() {
  labInfo_->SetSize(595, 70);
  labLang_ = AddControl<cc::win::Label>(u"labLang", 5, 75, 200, 17);
  labLang_->SetText(Str(u"Select Language:"));
  const cc::win::Bounds& lab = labLang_->GetBounds();
  comboLang_ = AddControl<cc::win::ComboBox>(u"comboLang", lab.x, lab.y + lab.height + 1, 200, 145);
  comboLang_->SelectedIndexChanged.Add(this, &SelLangPage::OnLanguageSelected);
}

bool SelLangPage::LoadPage(int mode) {
  if (mode == kLoadCreated) {
    FillLanguages();
  } else if (mode == kLoadByNext || mode == kLoadByBack) {
    // Another language page may have switched the language meanwhile.
    int chosen = Config().GetInt(u"Ret.Lang.Ind", -1);
    if (chosen >= 0 && chosen != selected_ && chosen < comboLang_->ItemCount()) {
      comboLang_->SetSelectedIndex(chosen);
      selected_ = chosen;
    }
  }
  return true;
}

void SelLangPage::FillLanguages() {
  comboLang_->ClearItems();
  for (const Str& name : LanguageNames(Config())) comboLang_->AddItem(name);
  int index = LanguageEntryFor(Config(), LangCode());
  if (index < 0) return;
  comboLang_->SetSelectedIndex(index);
  selected_ = index;
  SwitchTo(index);
}

void SelLangPage::SwitchTo(int index) {
  if (Context().logic.SwitchLanguage(index)) Context().actions.RefreshLanguage();
}

void SelLangPage::OnLanguageSelected(cc::win::Control*, cc::win::EventArgs&) {
  int index = comboLang_->SelectedIndex();
  if (index < 0 || index == selected_) return;
  selected_ = index;
  SwitchTo(index);
}

}  // namespace wizard
