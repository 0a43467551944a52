// The start-menu folder page: the name of the program-menu folder for the
// shortcuts, the folders that already exist there to build on, and
// optionally a check box to create no folder at all. Stores "Ret.Menu.Path"
// and "Ret.Menu.Skip" on Next. Windows flavour only.
#pragma once

#include <vector>

#include "wizard/proposed_text.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class MenuFolderPage : public FunctionPage {
 public:
  MenuFolderPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"MenuFolderPage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();
  // Fills the list from the program menu of all users or of the current
  // user, when that answer changed since the list was last filled.
  void FillList();
  void EnableForSkip();
  void OnEntrySelected(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnSkipClicked(cc::win::Control* sender, cc::win::EventArgs& args);

  cc::win::TextBox* textMenu_ = nullptr;
  cc::win::ListBox* lstMenu_ = nullptr;
  cc::win::CheckBox* chkSkip_ = nullptr;
  ProposedText text_;
  std::vector<cc::Str> entries_;  // the list's texts, the empty entry first
  int listedAllUsers_ = -1;  // the answer the list was filled for; -1 none yet
};

}  // namespace wizard
