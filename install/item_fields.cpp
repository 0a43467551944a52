#include "install/item_fields.h"

#include "core/key_arr.h"

std::vector<cc::Str> SplitItemFields(const cc::Str& value, int leading) {
  std::vector<cc::Str> fields;
  std::u16string_view rest = value.View();
  for (int i = 0; i < leading; ++i) {
    size_t cut = rest.find(kItemFieldSeparator);
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

uint32_t ItemFlagWord(const cc::Str& field) { return static_cast<uint32_t>(field.ToInt64()); }

void ParseItemValues(const cc::Str& block, cc::KeyArr* values) {
  values->Clear();
  values->SetIgnoreCase(false);
  values->Parse(block);
}
