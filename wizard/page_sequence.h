// Resolution of a wizard position to the page item shown there: the item
// number "s.p.Page%d.IdDiff", its type id "s.p.p%d.Id" and its key base
// "s.p.p%d".
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

enum class SlotKind {
  kPage,         // an item with a page class
  kEnd,          // no item at the position: the sequence ends here
  kInvalidPage,  // an item whose type id has no page class
};

struct PageSlot {
  SlotKind kind = SlotKind::kEnd;
  int position = -1;
  int item = -1;
  int typeId = -1;
  cc::Str keyBase;
};

// The slot at `position`. With `skipHidden`, a customize page hidden by
// "Ret.Customize.Show" = false is passed over by one step in the direction
// of travel (`forward`); the returned slot carries the position actually
// resolved.
PageSlot ResolvePage(const cc::KeyArr& config, int position, bool skipHidden, bool forward);

// Ends the sequence after `position` (the error display does this).
void CutSequenceAfter(cc::KeyArr& config, int position);

}  // namespace wizard
