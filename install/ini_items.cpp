#include "install/ini_items.h"

#include <vector>

#include "core/key_arr.h"
#include "install/create_folder.h"
#include "install/install_session.h"
#include "install/item_fields.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "runtime/os_flags.h"
#include "runtime/path_macros.h"
#include "runtime/setup_log.h"

namespace {

// unused, flags, folder, file name, section; then the entries.
constexpr int kLeadingFields = 5;

struct IniItem {
  uint32_t flags = 0;
  cc::Str folder;
  cc::Str file_name;
  cc::Str section;
  cc::Str entries;
};

IniItem ReadItem(const cc::Str& value) {
  std::vector<cc::Str> fields = SplitItemFields(value, kLeadingFields);
  IniItem item;
  item.flags = ItemFlagWord(fields[1]);
  item.folder = fields[2];
  item.file_name = fields[3];
  item.section = fields[4];
  item.entries = fields[5];
  return item;
}

// True when the key is in the file: the probe comes back whole only when it
// is missing.
bool KeyPresent(Profile& profile, const cc::Str& section, const cc::Str& key, const cc::Str& path) {
  cc::Str value;
  int length = profile.GetString(section, key, kIniMissingProbe, kIniProbeBufferChars, path, &value);
  return !(length == 6 && value == cc::Str(kIniMissingProbe));
}

void WriteEntries(InstallSession& session, const IniItem& item, const cc::Str& path, bool existed) {
  Profile& profile = *session.platform.profile;
  cc::KeyArr entries(false, false);
  ParseItemValues(item.entries, &entries);
  for (int i = 0; i < entries.Count(); ++i) {
    const cc::Str key = entries.KeyAt(i);
    if ((item.flags & kIniItemKeepExisting) && KeyPresent(profile, item.section, key, path)) continue;
    if (!profile.WriteString(item.section, key, entries.ValueAt(i), path)) {
      session.log.Line(u"Ini write NG:%s, Section:%s, File:%s", key, item.section, path);
    }
    if ((item.flags & kIniItemRecord) && existed) {
      session.record.AddLine(u"IniFile?=", path);
      session.record.AddLine(u"IniApp?=", item.section);
      session.record.AddLine(u"Ini?=", key);
    }
  }
}

void WriteIniItem(InstallSession& session, const cc::Str& itemText) {
  IniItem item = ReadItem(itemText);
  if (!OsTest(item.flags, session.os_index, session.is64)) return;
  const cc::Str folder = ExpandIniFolder(session, item.folder);
  if (folder.IsEmpty() || item.file_name.IsEmpty()) {
    session.log.Line(u"Ini item skipped, no folder or file name:%s%s", item.folder, item.file_name);
    return;
  }
  const cc::Str path = folder + item.file_name;
  const bool existed = FileExists(*session.platform.files, path);
  if (!existed && !(item.flags & kIniItemCreateFile)) return;
  if (!CreateFolder(session, folder, false)) {
    session.log.Line(u"Ini item skipped, cannot create the folder:%s", folder);
    return;
  }
  WriteEntries(session, item, path, existed);
}

}  // namespace

cc::Str ExpandIniFolder(InstallSession& session, const cc::Str& field) {
  cc::Str folder = field;
  if (field.StartsWith(u"<") && field.IndexOf(u'>') > 0) {
    const int close = field.IndexOf(u'>');
    const cc::Str macroFolder = ExpandDirMacro(field.Substring(0, close + 1), session.store, session.platform);
    // A macro outside the table, or one without a value, resolves to "\\".
    if (macroFolder.IsEmpty() || macroFolder == cc::Str(u"\\")) return cc::Str(u"");
    cc::Str rest = field.Substring(close + 1);
    if (rest.StartsWith(u"\\")) rest = rest.Substring(1);
    folder = macroFolder + rest;
  }
  if (folder.IsEmpty()) return cc::Str(u"");
  if (!folder.EndsWith(u"\\")) folder += u"\\";
  return folder;
}

void WriteIniItems(InstallSession& session) {
  const int count = session.store.GetInt(u"s.i.Ini.Count", 0);
  for (int n = 0; n < count; ++n) {
    const cc::Str itemText = session.store.Get(cc::Str::Formatted(u"s.i.Ini.%d.Item", n));
    if (itemText.IsNull()) continue;
    WriteIniItem(session, itemText);
  }
}
