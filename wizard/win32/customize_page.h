// CustomizePage: the components in a tree with tri-state check boxes, the
// setup types in a combo box above it (shown with page flag 0x100000), the
// chosen component's description and the size of what is chosen. Leaving
// stores the type and the components. Windows flavour only.
#pragma once

#include <vector>

#include "ui/win32/tree_view.h"
#include "wizard/component_choice.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class CustomizePage : public FunctionPage {
 public:
  CustomizePage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"CustomizePage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();
  void FillTypes(int mode);
  // Reads the components again and decides their states for `mode`.
  void ReadComponents(int mode);
  void FillTree();
  // Copies the components' states into the tree's check boxes.
  void ShowStates();
  void ShowDescription();
  void ShowSize();
  void OnTypeChanged(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnCheckChanged(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnSelectionChanged(cc::win::Control* sender, cc::win::EventArgs& args);

  cc::win::ComboBox* comboComp_ = nullptr;
  cc::win::TreeViewEx* treeComp_ = nullptr;
  cc::win::GroupPanel* grpDesc_ = nullptr;
  cc::win::Label* labDesc_ = nullptr;
  cc::win::GroupPanel* grpSpace_ = nullptr;
  cc::win::Label* labSpace_ = nullptr;
  std::vector<SetupType> types_;
  ComponentTree components_;
  bool loaded_ = false;
  bool filling_ = false;  // the tree is being refilled: its events are not the user's
};

}  // namespace wizard
