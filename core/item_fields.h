// The field syntax of the project's item values ("s.f.%d.Item" and its
// companions): fields separated by a semicolon followed by a tab. The packer
// writes these values and the runtime reads them, both through this file.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/str.h"

namespace cc {

inline constexpr std::u16string_view kItemFieldSeparator = u";\t";

// Splits `value` at its first `leading` separators into `leading` fields
// followed by the rest (which may hold further separators). Missing fields
// are empty, so the result always has `leading` + 1 entries.
std::vector<Str> SplitItemFields(const Str& value, int leading);

// An item time ("s.f.%d.Item.Time"): a Windows file time (100 ns units since
// 1601) as its high and its low 32 bits, each a signed decimal, joined by
// `separator` (the configuration text spells the tab as an escape).
Str ItemTimeText(uint64_t fileTime, std::u16string_view separator = kItemFieldSeparator);

// The file time of an item time text; each half's low 32 bits are used, so
// "-1" and "4294967295" read alike. A missing half reads as 0; an empty text
// gives 0.
uint64_t ParseItemTime(const Str& text);

}  // namespace cc
