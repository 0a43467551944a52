#include "core/item_fields.h"

namespace cc {

std::vector<Str> SplitItemFields(const Str& value, int leading) {
  std::vector<Str> fields;
  std::u16string_view rest = value.View();
  for (int i = 0; i < leading; ++i) {
    const size_t cut = rest.find(kItemFieldSeparator);
    if (cut == std::u16string_view::npos) {
      fields.emplace_back(rest);
      rest = std::u16string_view();
      continue;
    }
    fields.emplace_back(rest.substr(0, cut));
    rest = rest.substr(cut + kItemFieldSeparator.size());
  }
  fields.emplace_back(rest);
  return fields;
}

Str ItemTimeText(uint64_t fileTime, std::u16string_view separator) {
  const int32_t high = static_cast<int32_t>(static_cast<uint32_t>(fileTime >> 32));
  const int32_t low = static_cast<int32_t>(static_cast<uint32_t>(fileTime));
  return Str::Formatted(u"%d", high) + Str(separator) + Str::Formatted(u"%d", low);
}

uint64_t ParseItemTime(const Str& text) {
  if (text.IsEmpty()) return 0;
  const std::vector<Str> halves = SplitItemFields(text, 1);
  const uint64_t high = static_cast<uint32_t>(halves[0].ToInt64());
  const uint64_t low = static_cast<uint32_t>(halves[1].ToInt64());
  return (high << 32) | low;
}

}  // namespace cc
