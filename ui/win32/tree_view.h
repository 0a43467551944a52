// TreeView ("SysTreeView32") and TreeViewEx, the tree whose state images
// are tri-state check boxes following the rules of ui/tri_state.h.
// Windows flavour only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/tri_state.h"
#include "ui/win32/control.h"

namespace cc::win {

class TreeView : public Control {
 public:
  TreeView();
  const char16_t* ClassName() const override { return u"TreeView"; }
  // Adds an item under `parent` (-1 for a root); returns its index.
  virtual int AddItem(int parent, const Str& text);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // Removes every item.
  virtual void ClearItems();
  void ExpandAll();
  // The selected item's index, -1 for none.
  int SelectedItem() const;
  // Selects item `index` (and shows it); false for a bad index.
  bool SelectItem(int index);
  // Lines between the items and expand buttons (the default), or neither.
  void SetLinesAndButtons(bool on);
  Event<EventArgs> SelectionChanged;

 protected:
  const wchar_t* WindowClass() const override { return WC_TREEVIEWW; }
  bool OwnsWindowClass() const override { return false; }
  void OnCreated() override;
  bool OnNotify(NMHDR* header, LRESULT* result) override;
  HTREEITEM ItemHandle(int index) const;
  int IndexOf(HTREEITEM item) const;
  virtual void InsertItem(int index);

  struct Node {
    int parent;
    Str text;
    HTREEITEM handle = nullptr;
  };
  std::vector<Node> items_;
};

// Items carry tri-state check boxes; a click (or Space) on a box changes
// the item, its descendants and its ancestors together.
class TreeViewEx : public TreeView {
 public:
  TreeViewEx();
  const char16_t* ClassName() const override { return u"TreeViewEx"; }
  int AddItem(int parent, const Str& text) override;
  // Adds an item with the given check state (kNoCheckBox for none) and
  // data flags (kItemDisabled).
  int AddCheckItem(int parent, const Str& text, int state, int flags = 0);
  // As a click; returns false for an item without a box or a bad index.
  bool SetChecked(int index, bool checked);
  bool SetHasCheckBox(int index, bool on);
  int CheckState(int index) const;
  // Shows `state` on the item alone, nothing propagated (the caller keeps
  // the tree consistent); false for a bad index or an item without a box.
  bool SetCheckState(int index, int state);
  // The item the user's last click (or Space) changed, -1 before any.
  int ToggledItem() const { return toggled_; }
  void ClearItems() override;
  const TriStateTree& States() const { return states_; }
  // Fired after a user's click changed the check states.
  Event<EventArgs> CheckChanged;

 protected:
  void OnCreated() override;
  void InsertItem(int index) override;
  bool OnNotify(NMHDR* header, LRESULT* result) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowStates();
  void UserToggle(int index);

  TriStateTree states_;
  HIMAGELIST stateImages_ = nullptr;
  int toggled_ = -1;
};

}  // namespace cc::win
