// ShortcutPage: for each program entry, a caption and a row of check boxes
// for its shortcut places, its file extensions and its service; Next
// stores each box and the summaries the confirmation page shows. The kind
// (wizard/task_choices.h) decides which sections a page shows; the three
// single-section pages are the same page with another kind. Windows
// flavour only.
#pragma once

#include <vector>

#include "wizard/task_choices.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class ShortcutPage : public FunctionPage {
 public:
  ShortcutPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"ShortcutPage"; }

  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;
  // Places the boxes again for the new width (see PlaceTasks).
  void SetBounds(int x, int y, int width, int height) override;

 protected:
  // For the single-section pages: `typeId` decides the kind.
  ShortcutPage(int typeId, WizardContext& context, const cc::Str& keyBase);

 private:
  void BuildControls();
  // Replaces the captions and boxes by those of `model_`.
  void LayoutTasks();
  // Moves the captions and boxes to their rows in the page's width.
  void PlaceTasks();
  void RemoveTaskControls();
  // Takes the boxes' check states into `model_`.
  void ReadChecks();

  int kind_;
  bool built_ = false;
  TaskModel model_;
  std::vector<cc::win::Control*> captions_;
  std::vector<cc::win::CheckBox*> boxes_;  // in the order of model_.boxes
};

}  // namespace wizard
