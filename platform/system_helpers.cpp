#include "platform/system_helpers.h"

#include "platform/path_text.h"
#include "platform/system_info.h"

namespace {

constexpr char16_t kBackslash = u'\\';

}  // namespace

cc::Str GetUserLocaleCode(SystemInfo& system, bool withCountry) {
  cc::Str code = system.LocaleLanguageName();
  if (code.IsEmpty()) return cc::Str(u"");
  if (withCountry) {
    cc::Str country = system.LocaleCountryName();
    if (!country.IsEmpty()) code.Append(u'-').Append(country);
  }
  return code;
}

cc::Str GetSpecialFolder(SystemInfo& system, int csidl, const cc::Str& fallback) {
  cc::Str path = system.SpecialFolderPath(csidl);
  if (path.IsEmpty()) path = fallback.IsNull() ? cc::Str(u"") : fallback;
  return WithTrailingBackslash(path);
}

cc::Str GetEnv(SystemInfo& system, const cc::Str& name) {
  cc::Str value = system.EnvironmentValue(name);
  return value.IsNull() ? cc::Str(u"") : value;
}

cc::Str GetModulePath(SystemInfo& system, bool folderOnly) {
  cc::Str path = system.ModuleFileName();
  if (path.IsNull()) path = cc::Str(u"");
  if (!folderOnly) return path;
  return path.Substring(0, path.LastIndexOf(kBackslash) + 1);
}

cc::Str MakeAbsolute(SystemInfo& system, const cc::Str& path) {
  if (path.GetLength() > 0 && (path[0] == u'\\' || path[0] == u'/')) return path;
  if (path.GetLength() > 1 && path[1] == u':') return path;
  return GetModulePath(system, true) + path;
}

cc::Str GetTempFolder(SystemInfo& system) { return WithTrailingBackslash(system.TempPath()); }

cc::Str GetWindowsFolder(SystemInfo& system) {
  return WithTrailingBackslash(system.WindowsFolder());
}

cc::Str MakeTempFile(SystemInfo& system, const cc::Str& prefix) {
  cc::Str folder = GetTempFolder(system);
  if (folder.IsEmpty()) return cc::Str(u"");
  cc::Str path = system.CreateTempName(folder, prefix);
  return path.IsNull() ? cc::Str(u"") : path;
}

bool GetDiskSpace(SystemInfo& system, const cc::Str& path, bool inBytes, cc::Str* total,
                  cc::Str* free) {
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;
  if (!system.DiskSpace(path, &totalBytes, &freeBytes)) return false;
  constexpr int kMebibyteShift = 20;
  if (!inBytes) {
    totalBytes >>= kMebibyteShift;
    freeBytes >>= kMebibyteShift;
  }
  total->Format(u"%I64u", totalBytes);
  free->Format(u"%I64u", freeBytes);
  return true;
}
