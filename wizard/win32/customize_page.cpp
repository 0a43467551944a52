#include "wizard/win32/customize_page.h"

#include <memory>

#include "runtime/lang_text.h"
#include "ui/win32/wizard_form.h"
#include "wizard/choice_log.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;
using cc::win::kAnchorBottom;
using cc::win::kAnchorLeft;
using cc::win::kAnchorRight;
using cc::win::kAnchorTop;

namespace {

constexpr uint32_t kNoTreeLines = 0x200000;
constexpr int kTreeTopBelowTypes = 58;
constexpr int kTreeTopAlone = 38;
constexpr int kAllAnchors = kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight;

// The tree's check images for the components' states.
int ViewState(int state) {
  switch (state) {
    case kChecked: return cc::win::kChecked;
    case kPartial: return cc::win::kPartlyChecked;
    default: return cc::win::kUnchecked;
  }
}

// A label inside a group box, anchored to all four sides.
cc::win::Label* AddInnerLabel(cc::win::GroupPanel* group, const char16_t* name, int width, int height) {
  auto label = std::make_unique<cc::win::Label>();
  label->SetName(Str(name));
  // Below the group's caption, inside its frame.
  label->SetBounds(8, 18, width - 16, height - 24);
  label->SetAnchor(kAllAnchors);
  label->ModifyStyle(cc::win::kStylePaint, 0, cc::win::kPaintTransparent);
  label->SetText(Str(u""));
  return group->Add(std::move(label));
}

}  // namespace

CustomizePage::CustomizePage(WizardContext& context, const Str& keyBase)
    : FunctionPage(kCustomizePage, context, keyBase) {
  BuildControls();
}

void CustomizePage::BuildControls() {
  labInfo_->SetBounds(3, 1, 595, 29);
  comboComp_ = AddControl<cc::win::ComboBox>(u"comboComp", 5, 35, 400, 145, kAnchorTop | kAnchorLeft | kAnchorRight);
  treeComp_ = AddControl<cc::win::TreeViewEx>(u"treeComp", 5, kTreeTopBelowTypes, 400, 537, kAllAnchors);
  grpDesc_ = AddControl<cc::win::GroupPanel>(u"grpDesc", 410, 35, 190, 505, kAnchorTop | kAnchorBottom | kAnchorRight);
  grpDesc_->SetText(Str(u"Description"));
  grpDesc_->ModifyStyle(cc::win::kStylePaint, 0, cc::win::kPaintTransparent);
  labDesc_ = AddInnerLabel(grpDesc_, u"labDesc", 190, 505);
  grpSpace_ = AddControl<cc::win::GroupPanel>(u"grpSpace", 410, 545, 190, 50, kAnchorBottom | kAnchorRight);
  grpSpace_->SetText(Str(u"Space required"));
  grpSpace_->ModifyStyle(cc::win::kStylePaint, 0, cc::win::kPaintTransparent);
  labSpace_ = AddInnerLabel(grpSpace_, u"labSpace", 190, 50);
  comboComp_->SelectedIndexChanged.Add(this, &CustomizePage::OnTypeChanged);
  treeComp_->CheckChanged.Add(this, &CustomizePage::OnCheckChanged);
  treeComp_->SelectionChanged.Add(this, &CustomizePage::OnSelectionChanged);
}

bool CustomizePage::LoadPage(int mode) {
  treeComp_->SetLinesAndButtons(!HasFlag(kNoTreeLines));
  FillTypes(mode);
  ReadComponents(mode);
  FillTree();
  ShowDescription();
  ShowSize();
  loaded_ = true;
  return true;
}

// The combo box is filled whether it is shown or not: leaving the page
// stores the type it holds either way.
void CustomizePage::FillTypes(int mode) {
  int kept = comboComp_->SelectedIndex();
  types_ = OfferedTypes(Config(), LangCode());
  comboComp_->ClearItems();
  for (const SetupType& type : types_) comboComp_->AddItem(type.name);
  bool shown = HasFlag(kComponentsShowTypes);
  comboComp_->SetVisible(shown);
  int top = shown ? kTreeTopBelowTypes : kTreeTopAlone;
  int width = 0, height = 0;
  ClientSize(&width, &height);
  const cc::win::Bounds& tree = treeComp_->GetBounds();
  treeComp_->SetBounds(tree.x, top, tree.width, height - 5 - top);
  if (types_.empty()) return;
  int position = TypePosition(types_, Config().GetInt(u"Ret.Content.Index", -1));
  // A language switch keeps the type the user picked and has not left with.
  if (mode == kLoadLanguageChanged && loaded_ && kept >= 0 && kept < static_cast<int>(types_.size())) {
    position = kept;
  }
  comboComp_->SetSelectedIndex(position < 0 ? 0 : position);
}

void CustomizePage::ReadComponents(int mode) {
  ComponentTree previous = components_;
  components_.Load(Config(), LangCode());
  if (mode == kLoadLanguageChanged && loaded_) {
    components_.KeepStates(previous);  // the user's checks, not yet stored
    return;
  }
  int stored = Config().GetInt(u"Ret.Content.Index", -1);
  if (!types_.empty() && TypePosition(types_, stored) < 0) {
    // The type in force is not one of those offered: the combo box shows
    // the first offered type, and the tree what that type names.
    components_.ApplyType(types_.front().number);
  } else {
    components_.ApplyStored(Config());
  }
}

void CustomizePage::FillTree() {
  filling_ = true;
  treeComp_->ClearItems();
  const std::vector<Component>& all = components_.Components();
  for (const Component& c : all) {
    int flags = c.locked ? cc::win::kItemDisabled : 0;
    treeComp_->AddCheckItem(c.parent, c.name, ViewState(c.state), flags);
  }
  treeComp_->ExpandAll();
  if (!all.empty()) treeComp_->SelectItem(0);
  filling_ = false;
}

void CustomizePage::ShowStates() {
  const std::vector<Component>& all = components_.Components();
  for (size_t i = 0; i < all.size(); ++i) treeComp_->SetCheckState(static_cast<int>(i), ViewState(all[i].state));
}

void CustomizePage::ShowDescription() {
  int index = treeComp_->SelectedItem();
  const std::vector<Component>& all = components_.Components();
  bool valid = index >= 0 && index < static_cast<int>(all.size());
  labDesc_->SetText(valid ? all[static_cast<size_t>(index)].description : Str(u""));
}

// The size shown is the one stored: the bytes the install is told it needs.
void CustomizePage::ShowSize() {
  int64_t bytes = components_.RequiredBytes();
  labSpace_->SetText(FormatSize(bytes));
  Config().Set(u"Ret.Location.Required", Str::Formatted(u"%lld", static_cast<long long>(bytes)));
}

void CustomizePage::OnTypeChanged(cc::win::Control*, cc::win::EventArgs&) {
  int position = comboComp_->SelectedIndex();
  if (position < 0 || position >= static_cast<int>(types_.size())) return;
  components_.ApplyType(types_[static_cast<size_t>(position)].number);
  ShowStates();
  ShowSize();
}

void CustomizePage::OnCheckChanged(cc::win::Control*, cc::win::EventArgs&) {
  int index = treeComp_->ToggledItem();
  if (filling_ || index < 0) return;
  components_.SetChecked(index, treeComp_->CheckState(index) == cc::win::kChecked);
  ShowStates();  // the tree shows what the components hold (locks included)
  ShowSize();
  // The component clicked is the one described.
  treeComp_->SelectItem(index);
  ShowDescription();
}

void CustomizePage::OnSelectionChanged(cc::win::Control*, cc::win::EventArgs&) {
  if (!filling_) ShowDescription();
}

bool CustomizePage::LeavePage(int) {
  if (!components_.AnyChosen() && !components_.Components().empty()) {
    Str message = PageText(u".labBack1.labSTitle");
    Str caption = GetLangText(Str(u".s.c.Var.ITitle"));
    if (message.IsNull() || message.IsEmpty()) message = Str(u"Please choose at least one component.");
    if (caption.IsNull() || caption.IsEmpty()) caption = Str(u"Information");
    MessageBoxW(Form().Handle(), cc::win::Wide(message), cc::win::Wide(caption), MB_OK | MB_ICONERROR);
    return false;
  }
  int position = comboComp_->SelectedIndex();
  if (position >= 0 && position < static_cast<int>(types_.size())) {
    StoreSetupType(Config(), types_[static_cast<size_t>(position)], false);
  }
  components_.Store(Config());
  LogChoiceResults(Log(), Config(), {u"Ret.Content.Index", u"Ret.Customize.", u"Ret.Location.Required"});
  return true;
}

}  // namespace wizard
