#include "wizard/win32/shortcut_page.h"

#include <algorithm>
#include <memory>

#include "wizard/choice_log.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

namespace {

constexpr int kFirstRowTop = 31;
constexpr int kBoxLeft = 15;
constexpr int kBoxHeight = 17;
constexpr int kRowStep = 18;
constexpr int kEntryStep = 20;
constexpr int kSectionGap = 10;

const char16_t* CaptionName(TaskSection section) {
  switch (section) {
    case TaskSection::kShortcuts: return u"labShortcut";
    case TaskSection::kAssociations: return u"labAssoc";
    case TaskSection::kServices: return u"labService";
  }
  return u"labShortcut";
}

Str BoxName(const TaskBox& box) {
  switch (box.section) {
    case TaskSection::kShortcuts: return Str::Formatted(u"chkShort%d_%d", box.entry, box.index);
    case TaskSection::kAssociations: return Str(u"chkShortcut");
    case TaskSection::kServices: return Str::Formatted(u"chkShort%d", box.entry);
  }
  return Str(u"");
}

// The width a check box needs for its box and `text` in the control's font.
int CheckBoxWidth(cc::win::Control* box, const Str& text) {
  HWND window = box->Handle();
  HDC dc = GetDC(window);
  HFONT font = window != nullptr ? reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) : nullptr;
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {};
  GetTextExtentPoint32W(dc, cc::win::Wide(text), text.GetLength(), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return GetSystemMetrics(SM_CXMENUCHECK) + 8 + size.cx;
}

}  // namespace

ShortcutPage::ShortcutPage(WizardContext& context, const Str& keyBase)
    : ShortcutPage(kShortcutPage, context, keyBase) {}

ShortcutPage::ShortcutPage(int typeId, WizardContext& context, const Str& keyBase)
    : FunctionPage(typeId, context, keyBase), kind_(TaskKindOfPage(typeId)) {
  BuildControls();
}

void ShortcutPage::BuildControls() { labInfo_->SetBounds(3, 1, 595, 29); }

bool ShortcutPage::LoadPage(int mode) {
  bool skip = Config().GetBool(u"Ret.Menu.Skip", false);
  bool moved = mode == kLoadByNext || mode == kLoadByBack;
  if (built_ && moved && !LanguageChanged() && skip == model_.menuSkip) return true;
  TaskModel rebuilt = BuildTaskModel(Config(), LangCode(), kind_);
  if (built_) {
    ReadChecks();
    KeepTaskChecks(rebuilt, model_);
  }
  model_ = std::move(rebuilt);
  LayoutTasks();
  built_ = true;
  return true;
}

void ShortcutPage::RemoveTaskControls() {
  for (cc::win::Control* caption : captions_) RemoveChild(caption);
  for (cc::win::CheckBox* box : boxes_) RemoveChild(box);
  captions_.clear();
  boxes_.clear();
}

// Every box is made again from the model (its text in the page's language,
// its state kept by the model), one caption line and its rows per entry.
void ShortcutPage::LayoutTasks() {
  RemoveTaskControls();
  size_t next = 0;
  for (size_t c = 0; c < model_.captions.size(); ++c) {
    const TaskCaption& caption = model_.captions[c];
    cc::win::Label* label = AddControl<cc::win::Label>(CaptionName(caption.section), 5, 0, 590, kBoxHeight,
                                                       cc::win::kAnchorTop | cc::win::kAnchorLeft | cc::win::kAnchorRight);
    label->SetText(caption.text);
    captions_.push_back(label);
    for (; next < model_.boxes.size() && model_.boxes[next].caption == static_cast<int>(c); ++next) {
      const TaskBox& box = model_.boxes[next];
      Str name = BoxName(box);
      cc::win::CheckBox* check = AddControl<cc::win::CheckBox>(name.GetBuffer(), kBoxLeft, 0, 60, kBoxHeight);
      check->SetText(box.text);
      check->SetChecked(box.checked);
      check->SetEnabled(box.enabled);
      check->SetSize(std::max(20, CheckBoxWidth(check, box.text)), kBoxHeight);
      boxes_.push_back(check);
    }
  }
  PlaceTasks();
}

// Places the captions and boxes from the top down in the page's present
// width: a box starts a new row where the model starts one, and also where
// it would pass the page's right edge, so that the narrower page beside a
// left image cuts no box off.
void ShortcutPage::PlaceTasks() {
  const int right = GetBounds().width;
  int y = kFirstRowTop;
  size_t next = 0;
  for (size_t c = 0; c < captions_.size() && c < model_.captions.size(); ++c) {
    if (c > 0 && model_.captions[c - 1].section != model_.captions[c].section) y += kSectionGap;
    captions_[c]->SetBounds(5, y + 2, std::max(0, right - 10), kBoxHeight);
    y += kEntryStep;
    int x = kBoxLeft;
    int row = 0;
    for (; next < boxes_.size() && next < model_.boxes.size() && model_.boxes[next].caption == static_cast<int>(c);
         ++next) {
      int width = boxes_[next]->GetBounds().width;
      if (model_.boxes[next].row != row || (x > kBoxLeft && x + width > right)) {
        row = model_.boxes[next].row;
        y += kRowStep;
        x = kBoxLeft;
      }
      boxes_[next]->SetBounds(x, y, width, kBoxHeight);
      x += width + 1;
    }
    y += kEntryStep;
  }
}

void ShortcutPage::SetBounds(int x, int y, int width, int height) {
  bool widthChanged = width != GetBounds().width;
  FunctionPage::SetBounds(x, y, width, height);
  if (widthChanged) PlaceTasks();
}

void ShortcutPage::ReadChecks() {
  for (size_t i = 0; i < boxes_.size() && i < model_.boxes.size(); ++i) {
    model_.boxes[i].checked = boxes_[i]->Checked();
  }
}

bool ShortcutPage::LeavePage(int direction) {
  if (direction != 1) return true;
  ReadChecks();
  StoreTaskResults(Config(), model_, kind_);
  LogChoiceResults(Log(), Config(), {u"Ret.Shortcut.chk"});
  return true;
}

}  // namespace wizard
