#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

// Items and a selection set before the window exists reach it when it is
// made; a selection change from the window updates the index and fires the
// event. The same for both kinds, through their own messages.
template <typename T>
void CheckItemList(UINT countMessage, UINT selectionMessage, WORD changeCode, const char* kind) {
  App app;
  Form form;
  form.SetClientSize(200, 200);
  T* list = form.Add(std::make_unique<T>());
  list->SetBounds(5, 5, 150, 120);
  list->AddItem(Str(u"alpha"));
  list->AddItem(Str(u"beta"));
  EXPECT_EQ(list->AddItem(Str(u"gamma")), 2) << kind;
  list->SetSelectedIndex(1);
  ASSERT_TRUE(form.CreateControl()) << kind;
  HWND window = list->Handle();
  EXPECT_EQ(SendMessageW(window, countMessage, 0, 0), 3) << kind;
  EXPECT_EQ(list->SelectedIndex(), 1) << kind;

  int fired = 0;
  list->SelectedIndexChanged.Add([&](Object*, EventArgs&) { ++fired; });
  SendMessageW(window, selectionMessage, 2, 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), changeCode),
               reinterpret_cast<LPARAM>(window));
  EXPECT_EQ(fired, 1) << kind;
  EXPECT_EQ(list->SelectedIndex(), 2) << kind;

  list->ClearItems();
  EXPECT_EQ(list->ItemCount(), 0) << kind;
  EXPECT_EQ(SendMessageW(window, countMessage, 0, 0), 0) << kind;
}

TEST(ItemListTest, ListAndComboBoxKeepItemsAndSelection) {
  CheckItemList<ListBox>(LB_GETCOUNT, LB_SETCURSEL, LBN_SELCHANGE, "list box");
  CheckItemList<ComboBox>(CB_GETCOUNT, CB_SETCURSEL, CBN_SELCHANGE, "combo box");
}

}  // namespace
}  // namespace cc::win
