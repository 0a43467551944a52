#include "install/file_item.h"

#include <string_view>

namespace {

constexpr std::u16string_view kSeparator = u";\t";
constexpr int kFieldsBeforeSource = 7;

// Splits `value` at its first `kFieldsBeforeSource` separators; the rest is
// the source field.
void SplitFields(std::u16string_view value, std::u16string_view fields[kFieldsBeforeSource],
                 std::u16string_view* rest) {
  for (int i = 0; i < kFieldsBeforeSource; ++i) {
    size_t cut = value.find(kSeparator);
    if (cut == std::u16string_view::npos) {
      fields[i] = value;
      value = std::u16string_view();
      continue;
    }
    fields[i] = value.substr(0, cut);
    value = value.substr(cut + kSeparator.size());
  }
  *rest = value;
}

int64_t FieldNumber(std::u16string_view field) { return cc::Str(field).ToInt64(); }

int FieldInt(std::u16string_view field) { return cc::Str(field).ToInt(); }

}  // namespace

bool ReadFileItem(const cc::KeyArr& store, int n, FileItem* item) {
  cc::Str value = store.Get(cc::Str::Formatted(u"s.f.%d.Item", n));
  if (value.IsNull()) return false;
  std::u16string text(value.View());
  std::u16string_view fields[kFieldsBeforeSource];
  std::u16string_view rest;
  SplitFields(text, fields, &rest);
  item->parent = FieldInt(fields[0]);
  item->type = FieldInt(fields[1]);
  item->os_flags = static_cast<uint32_t>(FieldNumber(fields[2]));
  item->overwrite_mode = FieldInt(fields[3]);
  item->uninstall_mode = FieldInt(fields[4]);
  item->selection = FieldInt(fields[5]);
  item->source = cc::Str(rest);
  return true;
}

uint64_t ReadItemTime(const cc::KeyArr& store, int n) {
  cc::Str value = store.Get(cc::Str::Formatted(u"s.f.%d.Item.Time", n));
  if (value.IsEmpty()) return 0;
  std::u16string_view view = value.View();
  size_t cut = view.find(kSeparator);
  std::u16string_view high = view.substr(0, cut);
  std::u16string_view low =
      cut == std::u16string_view::npos ? std::u16string_view() : view.substr(cut + kSeparator.size());
  uint64_t highBits = static_cast<uint32_t>(FieldNumber(high));
  uint64_t lowBits = static_cast<uint32_t>(FieldNumber(low));
  return (highBits << 32) | lowBits;
}

cc::Str InstalledFileName(const cc::Str& source) {
  std::u16string_view view = source.View();
  size_t slash = view.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) view = view.substr(slash + 1);
  size_t star = view.find(u'*');
  if (star != std::u16string_view::npos) view = view.substr(star + 1);
  cc::Str name(view);
  if (name.EndsWith(u".link", true)) {
    name = name.Substring(0, name.GetLength() - 5) + cc::Str(u".url");
  }
  return name;
}
