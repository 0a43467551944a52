#include "install/item_fields.h"

#include "core/key_arr.h"

uint32_t ItemFlagWord(const cc::Str& field) { return static_cast<uint32_t>(field.ToInt64()); }

void ParseItemValues(const cc::Str& block, cc::KeyArr* values) {
  values->Clear();
  values->SetIgnoreCase(false);
  values->Parse(block);
}
