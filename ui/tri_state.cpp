#include "ui/tri_state.h"

namespace cc::win {

int TriStateTree::Add(int parent, int state, int flags) {
  TriStateItem item;
  item.parent = parent;
  item.state = state;
  item.flags = flags;
  items_.push_back(item);
  int index = Count() - 1;
  if (parent >= 0 && parent < index) items_[parent].children.push_back(index);
  return index;
}

bool TriStateTree::SetChecked(int index, bool checked) {
  if (index < 0 || index >= Count() || items_[index].state == kNoCheckBox) return false;
  int state = checked ? kChecked : kUnchecked;
  ApplyDown(index, state);
  RecomputeUp(index, state);
  return true;
}

bool TriStateTree::Toggle(int index) {
  if (index < 0 || index >= Count() || (items_[index].flags & kItemDisabled)) return false;
  return SetChecked(index, items_[index].state != kChecked);
}

bool TriStateTree::SetState(int index, int state) {
  if (index < 0 || index >= Count() || items_[index].state == kNoCheckBox) return false;
  if (state < kUnchecked || state > kPartlyChecked) return false;
  items_[index].state = state;
  return true;
}

bool TriStateTree::SetHasCheckBox(int index, bool on) {
  if (index < 0 || index >= Count()) return false;
  items_[index].state = on ? kUnchecked : kNoCheckBox;
  return true;
}

void TriStateTree::ApplyDown(int index, int state) {
  // An item without a check box passes the state on to its own children.
  if (items_[index].state != kNoCheckBox) items_[index].state = state;
  for (int child : items_[index].children) ApplyDown(child, state);
}

// Walks upwards while the ancestors have check boxes. Once one ancestor is
// partly checked every higher one is too.
void TriStateTree::RecomputeUp(int index, int changedState) {
  bool partly = false;
  for (int up = items_[index].parent; up >= 0 && items_[up].state != kNoCheckBox;
       up = items_[up].parent) {
    if (!partly) {
      bool allChecked = true, allUnchecked = true;
      for (int child : items_[up].children) {
        int s = items_[child].state;
        if (s == kNoCheckBox) continue;
        if (s != kChecked) allChecked = false;
        if (s != kUnchecked) allUnchecked = false;
      }
      if (changedState == kChecked && allChecked) {
        items_[up].state = kChecked;
      } else if (allUnchecked) {
        items_[up].state = kUnchecked;
      } else {
        partly = true;
      }
    }
    if (partly) items_[up].state = kPartlyChecked;
  }
}

}  // namespace cc::win
