#include "ui/win32/tree_view.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

int StateImage(HWND tree, HTREEITEM item) {
  TVITEMW tv = {};
  tv.mask = TVIF_STATE | TVIF_HANDLE;
  tv.hItem = item;
  tv.stateMask = TVIS_STATEIMAGEMASK;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return static_cast<int>((tv.state & TVIS_STATEIMAGEMASK) >> 12);
}

HTREEITEM Caret(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// A group with two children and a locked one: the window shows the states
// the tree holds; Space on the selected item toggles it and its children
// and names it; a locked item refuses; a state set alone stays alone;
// clearing empties the window and the states; lines and buttons follow
// their switch.
TEST(TreeViewExTest, StatesSelectionSpaceAndClearing) {
  App app;
  Form form;
  form.SetClientSize(300, 300);
  TreeViewEx* tree = form.Add(std::make_unique<TreeViewEx>());
  tree->SetBounds(5, 5, 250, 250);
  int group = tree->AddCheckItem(-1, Str(u"Group"), kUnchecked);
  int a = tree->AddCheckItem(group, Str(u"A"), kUnchecked);
  int b = tree->AddCheckItem(group, Str(u"B"), kUnchecked);
  int locked = tree->AddCheckItem(-1, Str(u"Locked"), kChecked, kItemDisabled);
  ASSERT_TRUE(form.CreateControl());
  HWND window = tree->Handle();
  tree->ExpandAll();
  EXPECT_EQ(SendMessageW(window, TVM_GETCOUNT, 0, 0), 4);

  int selections = 0, toggles = 0;
  tree->SelectionChanged.Add([&](Object*, EventArgs&) { ++selections; });
  tree->CheckChanged.Add([&](Object*, EventArgs&) { ++toggles; });
  ASSERT_TRUE(tree->SelectItem(group));
  EXPECT_EQ(tree->SelectedItem(), group);
  EXPECT_GE(selections, 1);
  EXPECT_FALSE(tree->SelectItem(9));

  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(toggles, 1);
  EXPECT_EQ(tree->ToggledItem(), group);
  EXPECT_EQ(tree->CheckState(a), kChecked);
  EXPECT_EQ(tree->CheckState(b), kChecked);
  EXPECT_EQ(StateImage(window, Caret(window)), kChecked);

  ASSERT_TRUE(tree->SelectItem(locked));
  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(toggles, 1);
  EXPECT_EQ(tree->CheckState(locked), kChecked);

  EXPECT_TRUE(tree->SetCheckState(a, kUnchecked));
  EXPECT_EQ(tree->CheckState(group), kChecked);  // nothing propagated
  EXPECT_FALSE(tree->SetCheckState(a, 7));

  tree->SetLinesAndButtons(false);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (TVS_HASLINES | TVS_HASBUTTONS), 0);
  tree->SetLinesAndButtons(true);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (TVS_HASLINES | TVS_HASBUTTONS), TVS_HASLINES | TVS_HASBUTTONS);

  tree->ClearItems();
  EXPECT_EQ(SendMessageW(window, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(tree->ItemCount(), 0);
  EXPECT_EQ(tree->ToggledItem(), -1);
  EXPECT_EQ(tree->CheckState(0), kNoCheckBox);
  int again = tree->AddCheckItem(-1, Str(u"Again"), kPartlyChecked);
  EXPECT_EQ(again, 0);
  EXPECT_EQ(StateImage(window, reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_GETNEXTITEM, TVGN_ROOT, 0))),
            kPartlyChecked);
}

}  // namespace
}  // namespace cc::win
