#include "wizard/navigator.h"

namespace wizard {

bool Navigator::LeaveCurrent(int direction) {
  if (CurrentPage() < 0) return true;
  if (!host_.CanLeave(current_.typeId, direction)) return false;
  host_.HidePage(current_.typeId);
  return true;
}

NavResult Navigator::Arrive(const PageSlot& slot, int mode, bool atStart) {
  position_ = slot.position;
  current_ = slot;
  if (slot.kind == SlotKind::kPage) {
    host_.ShowPage(slot, mode);
    return NavResult::kShown;
  }
  errorState_ = true;
  if (slot.kind == SlotKind::kInvalidPage) {
    // A misspelt id in the middle of the sequence used to end the wizard as
    // if it had run to its end; say which item it was.
    host_.Log(cc::Str::Formatted(u"Page item %d at position %d has the id %d, which is no page;"
                                 u" the wizard ends here.",
                                 slot.item, slot.position, slot.typeId));
    endedOnInvalid_ = true;
  }
  if (atStart && slot.position < 1) {
    host_.ShowNoPages();
    return NavResult::kNoPages;
  }
  host_.EndWizard();
  return slot.kind == SlotKind::kInvalidPage ? NavResult::kInvalidPage : NavResult::kFinished;
}

NavResult Navigator::GoNext() {
  bool atStart = CurrentPage() < 0;
  if (!LeaveCurrent(+1)) return NavResult::kStayed;
  PageSlot slot = ResolvePage(config_, position_ + 1, true, true);
  return Arrive(slot, +1, atStart || slot.position < 1);
}

NavResult Navigator::GoBack() {
  if (position_ <= 0 || CurrentPage() < 0) return NavResult::kStayed;
  if (!LeaveCurrent(-1)) return NavResult::kStayed;
  PageSlot slot = ResolvePage(config_, position_ - 1, true, false);
  if (slot.kind != SlotKind::kPage) {
    // Nothing to go back to (a hidden page at the start): stay where we are.
    host_.ShowPage(current_, -1);
    return NavResult::kStayed;
  }
  return Arrive(slot, -1, false);
}

void Navigator::EnterErrorState() {
  CutSequenceAfter(config_, position_);
  errorState_ = true;
}

}  // namespace wizard
