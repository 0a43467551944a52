#include "wizard/win32/sel_content_page.h"

#include <algorithm>

#include "runtime/lang_text.h"
#include "wizard/choice_log.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

namespace {

constexpr int kFirstTypeTop = 51;
constexpr int kRadioLeft = 15;
constexpr int kRadioHeight = 20;
constexpr int kLabelLeft = 33;

}  // namespace

SelContentPage::SelContentPage(WizardContext& context, const Str& keyBase)
    : FunctionPage(kSelContentPage, context, keyBase) {
  BuildControls();
}

void SelContentPage::BuildControls() {
  labInfo_->SetSize(595, 30);
  for (int t = 0; t < kMaxSetupTypes; ++t) {
    radios_[t] = AddControl<cc::win::RadioButton>(Str::Formatted(u"radCont%d", t).GetBuffer(), kRadioLeft,
                                                  kFirstTypeTop - kRadioHeight, 100, kRadioHeight);
    radios_[t]->SetFont(-14, Str(), true);
    radios_[t]->SetText(Str(u""));
    labels_[t] = AddControl<cc::win::Label>(Str::Formatted(u"labCont%d", t).GetBuffer(), kLabelLeft,
                                            kFirstTypeTop, 100, 20);
    labels_[t]->SetText(Str(u""));
  }
  radios_[0]->SetChecked(true);
  Resize.Add(this, &SelContentPage::OnResized);
}

void SelContentPage::OnResized(cc::win::Control*, cc::win::EventArgs&) { LayoutTypes(); }

void SelContentPage::LayoutTypes() {
  int width = 0, height = 0;
  ClientSize(&width, &height);
  int count = std::max(1, static_cast<int>(types_.size()));
  int slot = (height - kFirstTypeTop) / count;
  int y = kFirstTypeTop;
  for (int t = 0; t < kMaxSetupTypes; ++t) {
    bool offered = TypePosition(types_, t) >= 0;
    radios_[t]->SetVisible(offered);
    labels_[t]->SetVisible(offered);
    if (!offered) continue;
    // The caption takes the row's width: a longer name is not cut off.
    radios_[t]->SetBounds(kRadioLeft, y - kRadioHeight, std::max(100, width - kRadioLeft - 10), kRadioHeight);
    labels_[t]->SetBounds(kLabelLeft, y, width - 43, std::max(0, slot - 15));
    y += slot + 5;
  }
}

bool SelContentPage::LoadPage(int mode) {
  types_ = OfferedTypes(Config(), LangCode());
  for (const SetupType& type : types_) {
    radios_[type.number]->SetText(type.name);
    Str info = GetLangText(Str::Formatted(u".s.i.Type.%d.Info", type.number));
    labels_[type.number]->SetText(info.IsNull() ? Str(u"") : info);
  }
  LayoutTypes();
  if (types_.empty()) return true;
  // The type in force ("Ret.Content.Index", a type number, whichever page
  // stored it last) is the one shown checked; a language switch keeps
  // what the user has just clicked.
  if (mode != kLoadLanguageChanged || CheckedType() < 0) {
    int stored = Config().GetInt(u"Ret.Content.Index", -1);
    CheckType(TypePosition(types_, stored) >= 0 ? stored : types_.front().number);
  }
  return true;
}

int SelContentPage::CheckedType() const {
  for (const SetupType& type : types_) {
    if (radios_[type.number]->Checked()) return type.number;
  }
  return -1;
}

void SelContentPage::CheckType(int number) {
  for (int t = 0; t < kMaxSetupTypes; ++t) radios_[t]->SetChecked(t == number);
}

bool SelContentPage::LeavePage(int direction) {
  if (direction != 1) return true;
  int chosen = CheckedType();
  if (chosen < 0 && !types_.empty()) chosen = types_.front().number;
  ChooseSetupType(Config(), LangCode(), types_, chosen);
  LogChoiceResults(Log(), Config(), {u"Ret.Content.Index", u"Ret.Customize.", u"Ret.Location.Required"});
  return true;
}

}  // namespace wizard
