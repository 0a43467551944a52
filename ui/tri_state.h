// The check-box rules of the tri-state tree, over a plain tree of items so
// that they are tested without a window. The tree view keeps one TriStateItem
// per tree item and copies the states into its state images.
#pragma once

#include <vector>

namespace cc::win {

// State image numbers of the tree's check boxes; kNoCheckBox has none.
enum CheckState : int {
  kNoCheckBox = 0,
  kUnchecked = 1,
  kChecked = 2,
  kPartlyChecked = 3,
};

// Flag bit of an item's data record: the user may not change the item.
inline constexpr int kItemDisabled = 2;

struct TriStateItem {
  int parent = -1;  // index in the tree, -1 for a root
  std::vector<int> children;
  int state = kNoCheckBox;
  int flags = 0;
};

class TriStateTree {
 public:
  // Adds an item under `parent` (-1 for a root) and returns its index.
  int Add(int parent, int state, int flags = 0);
  const TriStateItem& Item(int index) const { return items_[index]; }
  int Count() const { return static_cast<int>(items_.size()); }

  // Checks (true) or unchecks an item as the program does: the item and all
  // its descendants with a check box get the state, then the ancestors are
  // recomputed. Returns false (and changes nothing) for a bad index or an
  // item without a check box.
  bool SetChecked(int index, bool checked);
  // The same for a click of the user, which a disabled item refuses.
  bool Toggle(int index);

  // Sets one item's state (kUnchecked, kChecked or kPartlyChecked) and
  // nothing else. False for a bad index, a bad state or an item without a
  // check box.
  bool SetState(int index, int state);

  // Gives an item a check box (unchecked) or takes it away. False for a bad
  // index.
  bool SetHasCheckBox(int index, bool on);

 private:
  void ApplyDown(int index, int state);
  void RecomputeUp(int index, int changedState);

  std::vector<TriStateItem> items_;
};

}  // namespace cc::win
