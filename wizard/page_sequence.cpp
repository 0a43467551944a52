#include "wizard/page_sequence.h"

#include "wizard/page_ids.h"

namespace wizard {

namespace {

int ItemAt(const cc::KeyArr& config, int position) {
  return config.GetInt(cc::Str::Formatted(u"s.p.Page%d.IdDiff", position), -1);
}

int TypeOf(const cc::KeyArr& config, int item) {
  return config.GetInt(cc::Str::Formatted(u"s.p.p%d.Id", item), -1);
}

bool Hidden(const cc::KeyArr& config, int typeId) {
  return typeId == kCustomizePage && !config.GetBool(u"Ret.Customize.Show", true);
}

}  // namespace

PageSlot ResolvePage(const cc::KeyArr& config, int position, bool skipHidden, bool forward) {
  PageSlot slot;
  slot.position = position;
  slot.item = ItemAt(config, position);
  slot.typeId = TypeOf(config, slot.item);
  if (skipHidden && Hidden(config, slot.typeId)) {
    slot.position += forward ? 1 : -1;
    slot.item = ItemAt(config, slot.position);
    slot.typeId = TypeOf(config, slot.item);
  }
  if (slot.item < 0) {
    slot.kind = SlotKind::kEnd;
    return slot;
  }
  if (!IsPageClassId(slot.typeId)) {
    slot.kind = SlotKind::kInvalidPage;
    return slot;
  }
  slot.kind = SlotKind::kPage;
  slot.keyBase = cc::Str::Formatted(u"s.p.p%d", slot.item);
  return slot;
}

void CutSequenceAfter(cc::KeyArr& config, int position) {
  config.SetInt(cc::Str::Formatted(u"s.p.Page%d.IdDiff", position + 1), -1);
}

}  // namespace wizard
