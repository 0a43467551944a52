#include "wizard/win32/menu_folder_page.h"

#include <vector>

#include "wizard/menu_folder_name.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;
using namespace cc::win;

MenuFolderPage::MenuFolderPage(WizardContext& context, const Str& keyBase)
    : FunctionPage(kMenuFolderPage, context, keyBase) {
  BuildControls();
}

void MenuFolderPage::BuildControls() {
  labInfo_->SetBounds(3, 1, 595, 40);
  textMenu_ = AddControl<TextBox>(u"textMenu", 3, 42, 590, 17, kAnchorTop | kAnchorLeft | kAnchorRight);
  lstMenu_ = AddControl<ListBox>(u"lstMenu", 3, 60, 590, 520,
                                 kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight);
  chkSkip_ = AddControl<CheckBox>(u"chkSkip", 5, 583, 600, 17, kAnchorBottom | kAnchorLeft);
  lstMenu_->SelectedIndexChanged.Add(this, &MenuFolderPage::OnEntrySelected);
  chkSkip_->Click.Add(this, &MenuFolderPage::OnSkipClicked);
}

void MenuFolderPage::FillList() {
  bool allUsers = Config().GetBool(u"Ret.Location.AllUser", true);
  if (listedAllUsers_ == static_cast<int>(allUsers)) return;
  listedAllUsers_ = static_cast<int>(allUsers);
  lstMenu_->ClearItems();
  Platform& platform = Context().platform;
  entries_ = MenuFolderEntries(platform, MenuFolderBase(platform, allUsers));
  for (const Str& entry : entries_) lstMenu_->AddItem(entry);
}

bool MenuFolderPage::LoadPage(int mode) {
  FillList();
  if (mode == kLoadCreated || mode == kLoadLanguageChanged || LanguageChanged()) {
    chkSkip_->SetVisible(HasFlag(kMenuFolderShowSkip));
    Str appName = GetLangText(Str(u".s.c.Var.AppName"));
    // A name the user typed survives a language switch.
    text_.Edit(textMenu_->Text());
    text_.Load(ProposedMenuFolder(Config(), appName));
    textMenu_->SetText(text_.Text());
  }
  EnableForSkip();
  return true;
}

void MenuFolderPage::EnableForSkip() {
  // A hidden check box cannot be cleared by the user, so it never skips.
  bool skip = chkSkip_->Visible() && chkSkip_->Checked();
  textMenu_->SetEnabled(!skip);
  lstMenu_->SetEnabled(!skip);
}

void MenuFolderPage::OnSkipClicked(Control*, EventArgs&) { EnableForSkip(); }

void MenuFolderPage::OnEntrySelected(Control*, EventArgs&) {
  int index = lstMenu_->SelectedIndex();
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  const Str& entry = entries_[static_cast<size_t>(index)];
  Str initPath = Config().Get(u"Ret.Menu.InitPath");
  textMenu_->SetText(ComposeMenuFolder(entry, textMenu_->Text(), initPath));
}

bool MenuFolderPage::LeavePage(int direction) {
  if (direction != 1) return true;
  if (chkSkip_->Visible() && chkSkip_->Checked()) {
    StoreMenuFolder(Config(), true, Str(u""));
    return true;
  }
  CheckedMenuFolder checked = CheckMenuFolder(textMenu_->Text());
  if (checked.error != MenuFolderError::kNone) {
    const char16_t* key = checked.error == MenuFolderError::kEmpty ? u".editMenuErrEpt" : u".editMenuErrCht";
    ShowMessage(PageText(key), GetLangText(Str(u".s.c.Var.ITitle")));
    textMenu_->Focus();
    return false;
  }
  StoreMenuFolder(Config(), false, checked.name);
  return true;
}

}  // namespace wizard
