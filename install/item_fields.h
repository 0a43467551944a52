// The fields of an install item value: leading fields separated by a
// semicolon followed by a tab (split by core/item_fields.h), then the rest of
// the value as one field.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/item_fields.h"
#include "core/str.h"

using cc::kItemFieldSeparator;
using cc::SplitItemFields;

// A flag word field: decimal, its low 32 bits used (so both "-1" and
// "4294967295" give 0xFFFFFFFF).
uint32_t ItemFlagWord(const cc::Str& field);

namespace cc {
class KeyArr;
}

// The value block of an item parsed into `values`, a fresh case-sensitive
// store: its entries come out in ascending ordinal order of the names, and a
// name given twice keeps its last value.
void ParseItemValues(const cc::Str& block, cc::KeyArr* values);
