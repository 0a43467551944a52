#include "install/file_item.h"

#include <string_view>
#include <vector>

#include "core/item_fields.h"

namespace {

constexpr int kFieldsBeforeSource = 7;

int64_t FieldNumber(std::u16string_view field) { return cc::Str(field).ToInt64(); }

int FieldInt(std::u16string_view field) { return cc::Str(field).ToInt(); }

}  // namespace

bool ReadFileItem(const cc::KeyArr& store, int n, FileItem* item) {
  cc::Str value = store.Get(cc::Str::Formatted(u"s.f.%d.Item", n));
  if (value.IsNull()) return false;
  const std::vector<cc::Str> fields = cc::SplitItemFields(value, kFieldsBeforeSource);
  item->parent = FieldInt(fields[0].View());
  item->type = FieldInt(fields[1].View());
  item->os_flags = static_cast<uint32_t>(FieldNumber(fields[2].View()));
  item->overwrite_mode = FieldInt(fields[3].View());
  item->uninstall_mode = FieldInt(fields[4].View());
  item->selection = FieldInt(fields[5].View());
  item->source = fields[kFieldsBeforeSource];
  return true;
}

uint64_t ReadItemTime(const cc::KeyArr& store, int n) {
  return cc::ParseItemTime(store.Get(cc::Str::Formatted(u"s.f.%d.Item.Time", n)));
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
