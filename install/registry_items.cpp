#include "install/registry_items.h"

#include <vector>

#include "core/key_arr.h"
#include "install/install_session.h"
#include "install/item_fields.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "runtime/os_flags.h"
#include "runtime/setup_log.h"

namespace {

constexpr int kLeadingFields = 3;  // root, flags, key path; then the values
constexpr char16_t kDwordPrefix[] = u"dword:";
constexpr char16_t kHexPrefix[] = u"hex:";

struct RegistryItem {
  int root_index = 0;
  uint32_t flags = 0;
  cc::Str key_path;
  cc::Str values;
};

RegistryItem ReadItem(const cc::Str& value) {
  std::vector<cc::Str> fields = SplitItemFields(value, kLeadingFields);
  RegistryItem item;
  item.root_index = fields[0].ToInt();
  item.flags = ItemFlagWord(fields[1]);
  item.key_path = fields[2];
  item.values = fields[3];
  return item;
}

std::string HexBytes(const cc::Str& list) {
  std::string bytes;
  if (list.IsEmpty()) return bytes;
  cc::Str rest = list;
  while (true) {
    const bool last = rest.IndexOf(u',') < 0;
    cc::Str part = rest.Split(u",");
    bytes.push_back(static_cast<char>(part.ToInt() & 0xFF));
    if (last) break;
  }
  return bytes;
}

// The byte count that tells an empty value: a string type's data without
// its terminator, any other type's data as it stands.
size_t PayloadSize(const RegValue& value) {
  size_t size = value.data.size();
  const bool text = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
  if (!text) return size;
  size -= size % 2;
  while (size >= 2 && value.data[size - 1] == '\0' && value.data[size - 2] == '\0') size -= 2;
  return size;
}

void RecordValue(InstallSession& session, const RegistryItem& item, const cc::Str& name) {
  session.record.AddLine(u"RegRoot?=", cc::Str::Formatted(u"%d", item.root_index));
  session.record.AddLine(u"RegDir?=", item.key_path);
  session.record.AddLine(u"Reg?=", name);
}

// Returns false when the existing value was kept: the install did not
// write it, so the uninstall must not delete it.
bool WriteItemValue(Registry& registry, SetupLog& log, RegistryKey& key, const RegistryItem& item, const cc::Str& name,
                    const cc::Str& text) {
  if (!MayWriteRegistryValue(key, name, item.flags)) {
    log.Line(u"Reg keep existing value:%s, Key:%s", name, item.key_path);
    return false;
  }
  RegistryItemValue value = ParseRegistryItemValue(text);
  registry.ClearLastError();
  if (!key.SetValue(name, value.type, value.data)) {
    log.Line(u"Reg SetValue NG:%s, Key:%s", name, item.key_path);
    log.WriteOsError(registry);
  }
  return true;
}

void WriteRegistryItem(InstallSession& session, const cc::Str& itemText) {
  RegistryItem item = ReadItem(itemText);
  if (!OsTest(item.flags, session.os_index, session.is64)) return;
  if (item.root_index < 0) {
    session.log.Line(u"Reg item skipped, root %d is not a root key index, Key:%s", item.root_index, item.key_path);
    return;
  }
  Registry& registry = *session.platform.registry;
  registry.ClearLastError();
  std::unique_ptr<RegistryKey> key = registry.CreateKey(RegRootFromIndex(item.root_index), item.key_path);
  if (!key) {
    session.log.Line(u"Reg CreateKey NG, Root:%d, Key:%s", item.root_index, item.key_path);
    session.log.WriteOsError(registry);
    return;
  }
  cc::KeyArr values(false, false);
  ParseItemValues(item.values, &values);
  for (int i = 0; i < values.Count(); ++i) {
    const cc::Str name = values.KeyAt(i);
    bool kept = false;
    if (item.flags & kRegItemWrite) kept = !WriteItemValue(registry, session.log, *key, item, name, values.ValueAt(i));
    if ((item.flags & kRegItemRecord) && !kept) RecordValue(session, item, name);
  }
}

}  // namespace

RegistryItemValue ParseRegistryItemValue(const cc::Str& text) {
  RegistryItemValue value;
  const cc::Str dword(kDwordPrefix);
  const cc::Str hex(kHexPrefix);
  if (text.StartsWith(dword, true)) {
    value.type = kRegDword;
    value.data = RegDwordData(static_cast<uint32_t>(text.Substring(dword.GetLength()).ToInt64()));
  } else if (text.StartsWith(hex, true)) {
    value.type = kRegBinary;
    value.data = HexBytes(text.Substring(hex.GetLength()));
  } else {
    value.type = kRegSz;
    value.data = RegStringData(text);
  }
  return value;
}

bool MayWriteRegistryValue(RegistryKey& key, const cc::Str& name, uint32_t flags) {
  if (flags & kRegItemReplace) return true;
  RegValue existing;
  if (!key.QueryValue(name, &existing)) return true;
  return PayloadSize(existing) == 0;
}

void WriteRegistryItems(InstallSession& session) {
  const int count = session.store.GetInt(u"s.i.Reg.Count", 0);
  for (int n = 0; n < count; ++n) {
    const cc::Str itemText = session.store.Get(cc::Str::Formatted(u"s.i.Reg.%d.Item", n));
    if (itemText.IsNull()) continue;
    WriteRegistryItem(session, itemText);
  }
}
