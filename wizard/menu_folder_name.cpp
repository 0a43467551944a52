#include "wizard/menu_folder_name.h"

#include "platform/csidl.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"

namespace wizard {

namespace {

cc::Str OrEmpty(const cc::Str& text) { return text.IsNull() ? cc::Str(u"") : text; }

bool RefusedCharacter(char16_t c) {
  if (c < 0x20) return true;
  switch (c) {
    case u'*': case u'?': case u'|': case u'<': case u'>': case u'"': case u':':
      return true;
    default:
      return false;
  }
}

bool IsReservedDeviceName(const cc::Str& part) {
  // Windows maps these names to devices whatever their extension.
  cc::Str base = part;
  int dot = base.IndexOf(u'.');
  if (dot >= 0) base = base.Substring(0, dot);
  base.Trim();
  static const char16_t* const kNames[] = {u"CON", u"PRN", u"AUX", u"NUL"};
  for (const char16_t* name : kNames) {
    if (base.Equals(name, true)) return true;
  }
  if (base.GetLength() == 4 && (base.StartsWith(u"COM", true) || base.StartsWith(u"LPT", true))) {
    char16_t digit = base[3];
    return digit >= u'1' && digit <= u'9';
  }
  return false;
}

bool AcceptablePart(const cc::Str& part) {
  if (part.IsEmpty() || part.EndsWith(u".")) return false;  // also "." and ".."
  for (int i = 0; i < part.GetLength(); ++i) {
    if (RefusedCharacter(part[i])) return false;
  }
  return !IsReservedDeviceName(part);
}

}  // namespace

cc::Str ProposedMenuFolder(const cc::KeyArr& config, const cc::Str& appName) {
  cc::Str proposal = OrEmpty(config.Get(u"Ret.Menu.InitPath"));
  if (proposal.EndsWith(u"\\") || proposal.EndsWith(u"/")) {
    proposal = proposal.Substring(0, proposal.GetLength() - 1);
  }
  return proposal.IsEmpty() ? OrEmpty(appName) : proposal;
}

cc::Str ComposeMenuFolder(const cc::Str& entry, const cc::Str& typed, const cc::Str& initPath) {
  cc::Str folder = OrEmpty(entry);
  if (!folder.IsEmpty()) folder.Append(u'\\');
  cc::Str rest = OrEmpty(typed);
  rest.Trim();
  int slash = rest.IndexOf(u'\\');
  if (slash >= 0) {
    rest = rest.Substring(slash + 1);
    rest.Trim();
  }
  if (rest.IsEmpty()) rest = OrEmpty(initPath);
  folder.Append(rest);
  return folder;
}

CheckedMenuFolder CheckMenuFolder(const cc::Str& typed) {
  CheckedMenuFolder result;
  cc::Str name = OrEmpty(typed);
  name.Trim();
  if (name.IsEmpty()) {
    result.error = MenuFolderError::kEmpty;
    return result;
  }
  name.Replace(u"/", u"\\");
  cc::Str joined(u"");
  int start = 0;
  while (start <= name.GetLength()) {
    int end = name.IndexOf(u'\\', start);
    if (end < 0) end = name.GetLength();
    cc::Str part = name.Substring(start, end);
    part.Trim();
    if (!AcceptablePart(part)) {
      result.error = MenuFolderError::kCharacters;
      return result;
    }
    if (!joined.IsEmpty()) joined.Append(u'\\');
    joined.Append(part);
    start = end + 1;
  }
  result.name = joined;
  return result;
}

cc::Str MenuFolderBase(Platform& platform, bool allUsers) {
  return GetSpecialFolder(*platform.system, allUsers ? kCsidlCommonPrograms : kCsidlPrograms);
}

std::vector<cc::Str> MenuFolderEntries(Platform& platform, const cc::Str& base) {
  std::vector<cc::Str> entries{cc::Str(u"")};
  std::vector<FoundFile> found;
  if (base.IsNull() || base.IsEmpty() || !platform.files->ListFolder(base, &found)) return entries;
  for (const FoundFile& entry : found) {
    if (entry.attributes & kFileAttributeDirectory) entries.push_back(entry.name);
  }
  return entries;
}

void StoreMenuFolder(cc::KeyArr& config, bool skip, const cc::Str& name) {
  config.Set(u"Ret.Menu.Path", skip ? cc::Str(u"") : name);
  config.SetBool(u"Ret.Menu.Skip", skip);
}

}  // namespace wizard
