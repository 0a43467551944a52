#include "runtime/path_macros.h"

#include "platform/csidl.h"
#include "platform/os_version.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/system_info.h"

const char16_t* const kLoggedMacros[kLoggedMacroCount] = {
    u"<ProgramFilesDir(32bit)>", u"<ProgramFilesDir(64bit)>", u"<CommonFilesDir(32bit)>",
    u"<CommonFilesDir(64bit)>",  u"<WinDir>",                 u"<WinSys32Dir(32bit)>",
    u"<WinSys32Dir(64bit)>",     u"<UserDesktopDir>",         u"<AllUsersDocumentsDir>",
    u"<AllUsersDesktopDir>",     u"<UserAppDataDir>",         u"<UserLocalAppDataDir>",
    u"<AllUsersAppDataDir>",     u"<TempDir>",
};

namespace {

const char16_t kUserNamePlaceholder[] = u"[#username#]";
const char16_t kDynamicPrefix[] = u"<DynamicDir";
constexpr int kDynamicDigitPosition = 11;
// A dynamic directory may name another one as its source; a chain longer
// than this (or a loop) resolves to nothing instead of recursing forever.
constexpr int kMaxDynamicDepth = 10;
// Windows 95, NT 4, 98 and ME lay out their folders differently.
constexpr int kFirstNt5Index = 6;

// What every resolution works with, computed afresh for each call.
struct MacroContext {
  cc::Str winDir;    // ends with "\\"
  cc::Str drive;     // the first character of winDir
  cc::Str userName;
  int osIndex = 0;
  int is64 = 0;
};

enum class SourceKind { kNone, kShell, kEnv, kTemp };

struct Source {
  SourceKind kind = SourceKind::kNone;
  int csidl = 0;
  const char16_t* env = nullptr;
};

constexpr Source Shell(int csidl) { return {SourceKind::kShell, csidl, nullptr}; }
constexpr Source Env(const char16_t* name) { return {SourceKind::kEnv, 0, name}; }
constexpr Source kTempSource{SourceKind::kTemp, 0, nullptr};

// A fallback is a base ("C:" + ":\\" from the drive, or the Windows folder)
// followed by a tail.
enum class Base { kDrive, kWinDir };

struct Fallback {
  Base base;
  const char16_t* tail;
};

struct MacroRow {
  const char16_t* name;
  Source on64[2];     // tried in order on 64-bit Windows
  Source on32[2];     // on 32-bit Windows
  Fallback fallback;  // the last fallback (NT 5 and later for the rows below)
  Fallback old;       // before NT 5 (Windows 95 to ME); tail null: same as fallback
  bool appendCommonFiles = false;  // on 64-bit, "Common Files\\" after the source
};

constexpr Fallback kProgramFiles{Base::kDrive, u"Program Files\\"};
constexpr Fallback kCommonFiles{Base::kDrive, u"Program Files\\Common Files\\"};
constexpr Fallback kSame{Base::kDrive, nullptr};

const MacroRow kMacroTable[] = {
    {u"<ProgramFilesDir(32bit)>", {Shell(kCsidlProgramFilesX86), Shell(kCsidlProgramFiles)},
     {Shell(kCsidlProgramFiles)}, kProgramFiles, kSame},
    {u"<ProgramFilesDir(64bit)>", {Env(u"ProgramW6432"), Shell(kCsidlProgramFiles)},
     {Shell(kCsidlProgramFiles)}, kProgramFiles, kSame},
    {u"<CommonFilesDir(32bit)>",
     {Shell(kCsidlProgramFilesCommonX86), Shell(kCsidlProgramFilesCommon)},
     {Shell(kCsidlProgramFilesCommon)}, kCommonFiles, kSame},
    {u"<CommonFilesDir(64bit)>", {Env(u"ProgramW6432"), Shell(kCsidlProgramFiles)},
     {Shell(kCsidlProgramFilesCommon)}, kCommonFiles, kSame, true},
    {u"<WinDir>", {Shell(kCsidlWindows), Env(u"windir")}, {Shell(kCsidlWindows), Env(u"windir")},
     {Base::kWinDir, u""}, kSame},
    {u"<WinSys32Dir(32bit)>", {Shell(kCsidlSystemX86), Shell(kCsidlSystem)}, {Shell(kCsidlSystem)},
     {Base::kWinDir, u"system32\\"}, kSame},
    {u"<WinSys32Dir(64bit)>", {Shell(kCsidlSystem)}, {Shell(kCsidlSystem)},
     {Base::kWinDir, u"system32\\"}, kSame},
    {u"<FontDir>", {Shell(kCsidlFonts)}, {Shell(kCsidlFonts)}, {Base::kWinDir, u"Fonts\\"}, kSame},
    {u"<AllUsersDesktopDir>", {Shell(kCsidlCommonDesktopDirectory)},
     {Shell(kCsidlCommonDesktopDirectory)},
     {Base::kDrive, u"Documents and Settings\\All Users\\Desktop\\"},
     {Base::kWinDir, u"All Users\\Desktop\\"}},
    {u"<UserDesktopDir>", {Shell(kCsidlDesktopDirectory)}, {Shell(kCsidlDesktopDirectory)},
     {Base::kDrive, u"Documents and Settings\\[#username#]\\Desktop\\"},
     {Base::kWinDir, u"Desktop\\"}},
    {u"<AllUsersDocumentsDir>", {Shell(kCsidlCommonDocuments)}, {Shell(kCsidlCommonDocuments)},
     {Base::kDrive, u"Documents and Settings\\All Users\\Documents\\"},
     {Base::kDrive, u"My Documents\\"}},
    {u"<MyDocumentsDir>", {Shell(kCsidlPersonal)}, {Shell(kCsidlPersonal)},
     {Base::kDrive, u"Documents and Settings\\[#username#]\\Documents\\"},
     {Base::kDrive, u"My Documents\\"}},
    {u"<UserAppDataDir>", {Shell(kCsidlAppData)}, {Shell(kCsidlAppData)},
     {Base::kDrive, u"Documents and Settings\\[#username#]\\Application Data\\"},
     {Base::kWinDir, u"Local Settings\\Application Data\\"}},
    {u"<UserLocalAppDataDir>", {Shell(kCsidlLocalAppData)}, {Shell(kCsidlLocalAppData)},
     {Base::kDrive, u"Documents and Settings\\[#username#]\\Local Settings\\Application Data\\"},
     {Base::kWinDir, u"Local Settings\\Application Data\\"}},
    {u"<AllUsersAppDataDir>", {Shell(kCsidlCommonAppData)}, {Shell(kCsidlCommonAppData)},
     {Base::kDrive, u"Documents and Settings\\All Users\\Application Data\\"},
     {Base::kWinDir, u"All Users\\Application Data\\"}},
    {u"<TempDir>", {kTempSource}, {kTempSource}, {Base::kWinDir, u"TEMP\\"}, kSame},
};

// A macro's folder ends with a backslash. One that resolves to nothing
// expands to "\\", as every name the table does not know does, which stored
// projects may rely on; the special and temporary folders instead stay empty
// when unknown.
cc::Str MacroFolder(const cc::Str& path) {
  return path.IsEmpty() ? cc::Str(u"\\") : WithTrailingBackslash(path);
}

MacroContext MakeContext(Platform& platform) {
  SystemInfo& system = *platform.system;
  MacroContext context;
  cc::Str winDir = system.WindowsFolder();
  if (winDir.IsEmpty()) winDir = system.EnvironmentValue(u"windir");
  if (winDir.IsEmpty()) winDir = u"C:\\WINDOWS\\";
  context.winDir = MacroFolder(winDir);
  context.drive = context.winDir.Substring(0, 1);
  context.userName = system.UserName();
  if (context.userName.IsEmpty()) context.userName = u"username";
  context.osIndex = GetOsVersion(platform, &context.is64);
  return context;
}

cc::Str ReadSource(const Source& source, SystemInfo& system) {
  switch (source.kind) {
    case SourceKind::kShell:
      return WithTrailingBackslash(system.SpecialFolderPath(source.csidl));
    case SourceKind::kEnv: {
      cc::Str value = system.EnvironmentValue(source.env);
      return value.IsNull() ? cc::Str(u"") : value;
    }
    case SourceKind::kTemp:
      return WithTrailingBackslash(system.TempPath());
    case SourceKind::kNone:
    default:
      return cc::Str(u"");
  }
}

cc::Str FallbackPath(const MacroRow& row, const MacroContext& context) {
  const Fallback& fallback =
      (context.osIndex < kFirstNt5Index && row.old.tail) ? row.old : row.fallback;
  cc::Str path = fallback.base == Base::kDrive ? context.drive + cc::Str(u":\\") : context.winDir;
  path += fallback.tail;
  path.Replace(kUserNamePlaceholder, context.userName);
  return path;
}

cc::Str ResolveStatic(const MacroRow& row, Platform& platform) {
  MacroContext context = MakeContext(platform);
  const Source* sources = context.is64 == 1 ? row.on64 : row.on32;
  for (int i = 0; i < 2; ++i) {
    cc::Str path = ReadSource(sources[i], *platform.system);
    if (path.IsEmpty()) continue;
    if (row.appendCommonFiles && context.is64 == 1) path = MacroFolder(path) + cc::Str(u"Common Files\\");
    return path;
  }
  return FallbackPath(row, context);
}

cc::Str ApplicationFolder(const cc::KeyArr& store) {
  return store.Has(u"Ret.Location.Path") ? store.Get(u"Ret.Location.Path") : store.Get(u"Ret.Dir.App");
}

cc::Str Expand(const cc::Str& name, cc::KeyArr& store, Platform& platform, int depth);

cc::Str ReadRegistrySource(const cc::Str& stem, const cc::KeyArr& store, Platform& platform) {
  RegRoot root = RegRootFromIndex(store.GetInt(stem + cc::Str(u".RegInd"), 0));
  auto key = platform.registry->OpenKey(root, store.Get(stem + cc::Str(u".RegDir")), RegAccess::kRead);
  RegValue value;
  if (!key || !key->QueryValue(store.Get(stem + cc::Str(u".RegKey")), &value)) return cc::Str(u"");
  return RegDataAsText(value.data).Trim();
}

// The folder of dynamic directory `n` without the trailing backslash rule;
// null when no source gives anything.
cc::Str ResolveDynamic(int n, cc::KeyArr& store, Platform& platform, int depth) {
  cc::Str cacheKey = cc::Str::Formatted(u"Ret.Dir.Dyn%d", n);
  if (store.Has(cacheKey)) return store.Get(cacheKey);
  if (depth >= kMaxDynamicDepth) return cc::Str();

  cc::Str stem = cc::Str::Formatted(u"s.i.Dyn%d", n);
  int flag = store.GetInt(stem + cc::Str(u".Flag"), 0);
  cc::Str result;
  if (flag & 1) result = ReadRegistrySource(stem, store, platform);
  if (result.IsEmpty() && (flag & 2)) {
    result = platform.system->EnvironmentValue(store.Get(stem + cc::Str(u".Var")));
    if (!result.IsNull()) result.Trim();
  }
  if (result.IsEmpty() && !(flag & 4)) {
    result = Expand(store.Get(stem + cc::Str(u".AppDir")), store, platform, depth + 1);
  }
  if (result.IsEmpty()) return cc::Str();
  store.Set(cacheKey, result);
  return result;
}

cc::Str Expand(const cc::Str& name, cc::KeyArr& store, Platform& platform, int depth) {
  if (name == cc::Str(u"<Application Folder>")) return MacroFolder(ApplicationFolder(store));
  if (name.StartsWith(kDynamicPrefix)) {
    char16_t digit = name.GetLength() > kDynamicDigitPosition ? name[kDynamicDigitPosition] : u'\0';
    if (digit < u'0' || digit > u'9') return cc::Str(u"\\");
    return MacroFolder(ResolveDynamic(digit - u'0', store, platform, depth));
  }
  for (const MacroRow& row : kMacroTable) {
    if (name == cc::Str(row.name)) return MacroFolder(ResolveStatic(row, platform));
  }
  return cc::Str(u"\\");
}

}  // namespace

cc::Str ExpandDirMacro(const cc::Str& name, cc::KeyArr& store, Platform& platform) {
  return Expand(name, store, platform, 0);
}

cc::Str ExpandMacroPath(const cc::Str& path, cc::KeyArr& store, Platform& platform) {
  int separator = path.IndexOf(u'\\');
  if (separator < 0) return cc::Str(u"");
  return ExpandDirMacro(path.Substring(0, separator), store, platform) + path.Substring(separator + 1);
}
