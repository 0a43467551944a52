#include "platform/fake/fake_system_info.h"

#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_path_root.h"
#include "platform/file_name_case.h"
#include "platform/path_text.h"

namespace {

struct OsRow {
  FakeWindows windows;
  uint32_t platform_id;
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  uint8_t product_type;
  uint16_t suite_mask;
  bool server_r2;
  bool has_native_query;  // GetNativeSystemInfo arrived with XP
};

constexpr uint8_t kServer = kProductServer;
constexpr uint8_t kWork = kProductWorkstation;

constexpr OsRow kOsRows[] = {
    {FakeWindows::k95, kPlatformWin9x, 4, 0, 950, 0, 0, false, false},
    {FakeWindows::k98, kPlatformWin9x, 4, 10, 1998, 0, 0, false, false},
    {FakeWindows::kMe, kPlatformWin9x, 4, 90, 3000, 0, 0, false, false},
    {FakeWindows::kNt4, kPlatformNt, 4, 0, 1381, kWork, 0, false, false},
    {FakeWindows::k2000, kPlatformNt, 5, 0, 2195, kWork, 0, false, false},
    {FakeWindows::kXp, kPlatformNt, 5, 1, 2600, kWork, 0, false, true},
    {FakeWindows::kServer2003, kPlatformNt, 5, 2, 3790, kServer, 0, false, true},
    {FakeWindows::kServer2003R2, kPlatformNt, 5, 2, 3790, kServer, 0, true, true},
    {FakeWindows::kHomeServer, kPlatformNt, 5, 2, 3790, kServer, kSuiteHomeServer, false, true},
    {FakeWindows::kVista, kPlatformNt, 6, 0, 6002, kWork, 0, false, true},
    {FakeWindows::kServer2008, kPlatformNt, 6, 0, 6002, kServer, 0, false, true},
    {FakeWindows::k7, kPlatformNt, 6, 1, 7601, kWork, 0, false, true},
    {FakeWindows::kServer2008R2, kPlatformNt, 6, 1, 7601, kServer, 0, false, true},
    {FakeWindows::k8, kPlatformNt, 6, 2, 9200, kWork, 0, false, true},
    {FakeWindows::kServer2012, kPlatformNt, 6, 2, 9200, kServer, 0, false, true},
    {FakeWindows::k8_1, kPlatformNt, 6, 3, 9600, kWork, 0, false, true},
    {FakeWindows::kServer2012R2, kPlatformNt, 6, 3, 9600, kServer, 0, false, true},
    {FakeWindows::k10, kPlatformNt, 10, 0, 19045, kWork, 0, false, true},
    {FakeWindows::k11, kPlatformNt, 10, 0, 22631, kWork, 0, false, true},
};

// The version a program without a compatibility declaration is told.
constexpr uint32_t kUndeclaredMinor = 2;
constexpr uint32_t kUndeclaredBuild = 9200;

constexpr uint64_t kGiB = 1ull << 30;

// The folded volume root that begins `path`; empty when it has none.
std::u16string RootKey(std::u16string_view path) {
  std::u16string root, rest;
  return SplitVolumeRoot(path, &root, &rest) ? FoldFileName(root) : std::u16string();
}

}  // namespace

FakeOs MakeFakeOs(FakeWindows windows, bool is64, bool declared) {
  const OsRow* row = &kOsRows[0];
  for (const OsRow& candidate : kOsRows) {
    if (candidate.windows == windows) row = &candidate;
  }
  FakeOs os;
  os.record.platform_id = row->platform_id;
  os.record.major = row->major;
  os.record.minor = row->minor;
  os.record.build = row->build;
  os.record.product_type = row->product_type;
  os.record.suite_mask = row->suite_mask;
  os.true_major = static_cast<int>(row->major);
  os.true_minor = static_cast<int>(row->minor);
  bool told_less = row->major > 6 || (row->major == 6 && row->minor > kUndeclaredMinor);
  if (told_less && !declared) {
    os.record.major = 6;
    os.record.minor = kUndeclaredMinor;
    os.record.build = kUndeclaredBuild;
  }
  // 64-bit XP is the server kernel: it reports 5.2.
  if (windows == FakeWindows::kXp && is64) {
    os.record.minor = 2;
    os.record.build = 3790;
    os.true_minor = 2;
  }
  os.processor.native_query_exists = row->has_native_query;
  os.processor.architecture = (is64 && row->has_native_query) ? kArchitectureAmd64 : kArchitectureX86;
  os.server_r2 = row->server_r2;
  return os;
}

FakeSystemInfo::FakeSystemInfo(FakeFileSystem* files)
    : files_(files),
      os_(MakeFakeOs(FakeWindows::k7, true)),
      language_(u"en"),
      country_(u"US"),
      user_name_(u"user"),
      temp_path_(u"C:\\Users\\user\\AppData\\Local\\Temp\\"),
      windows_folder_(u"C:\\Windows"),
      module_file_(u"C:\\setup\\setup.exe") {
  const std::u16string profile = u"C:\\Users\\user";
  const std::u16string roaming = profile + u"\\AppData\\Roaming";
  const std::u16string user_menu = roaming + u"\\Microsoft\\Windows\\Start Menu";
  const std::u16string common_menu = u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
  const std::u16string program_files = u"C:\\Program Files (x86)";  // as a 32-bit program sees it
  const std::pair<int, std::u16string> folders[] = {
      {0x0000, profile + u"\\Desktop"},
      {0x0002, user_menu + u"\\Programs"},
      {0x0005, profile + u"\\Documents"},
      {0x0006, profile + u"\\Favorites"},
      {0x0007, user_menu + u"\\Programs\\Startup"},
      {0x0008, roaming + u"\\Microsoft\\Windows\\Recent"},
      {0x0009, roaming + u"\\Microsoft\\Windows\\SendTo"},
      {0x000b, user_menu},
      {0x0010, profile + u"\\Desktop"},
      {0x0014, u"C:\\Windows\\Fonts"},
      {0x0015, roaming + u"\\Microsoft\\Windows\\Templates"},
      {0x0016, common_menu},
      {0x0017, common_menu + u"\\Programs"},
      {0x0018, common_menu + u"\\Programs\\Startup"},
      {0x0019, u"C:\\Users\\Public\\Desktop"},
      {0x001a, roaming},
      {0x001c, profile + u"\\AppData\\Local"},
      {0x0023, u"C:\\ProgramData"},
      {0x0024, u"C:\\Windows"},
      {0x0025, u"C:\\Windows\\system32"},
      {0x0026, program_files},
      {0x0028, profile},
      {0x0029, u"C:\\Windows\\SysWOW64"},
      {0x002a, program_files},
      {0x002b, program_files + u"\\Common Files"},
      {0x002c, program_files + u"\\Common Files"},
      {0x002e, u"C:\\Users\\Public\\Documents"},
  };
  for (const auto& [csidl, path] : folders) special_folders_[csidl] = cc::Str(path);
  const std::pair<const char16_t*, std::u16string> env[] = {
      {u"ALLUSERSPROFILE", u"C:\\ProgramData"},
      {u"APPDATA", roaming},
      {u"CommonProgramFiles", program_files + u"\\Common Files"},
      {u"CommonProgramFiles(x86)", program_files + u"\\Common Files"},
      {u"CommonProgramW6432", u"C:\\Program Files\\Common Files"},
      {u"LOCALAPPDATA", profile + u"\\AppData\\Local"},
      {u"ProgramData", u"C:\\ProgramData"},
      {u"ProgramFiles", program_files},
      {u"ProgramFiles(x86)", program_files},
      {u"ProgramW6432", u"C:\\Program Files"},
      {u"PUBLIC", u"C:\\Users\\Public"},
      {u"SystemDrive", u"C:"},
      {u"SystemRoot", u"C:\\Windows"},
      {u"TEMP", profile + u"\\AppData\\Local\\Temp"},
      {u"TMP", profile + u"\\AppData\\Local\\Temp"},
      {u"USERNAME", u"user"},
      {u"USERPROFILE", profile},
      {u"windir", u"C:\\Windows"},
  };
  for (const auto& [name, value] : env) SetEnv(cc::Str(name), cc::Str(value));
  SetDiskSpace(cc::Str(u"C:"), 100 * kGiB, 40 * kGiB);
}

bool FakeSystemInfo::QueryVersion(VersionRecord* record) {
  if (no_version_) return false;
  *record = os_.record;
  return true;
}

bool FakeSystemInfo::IsExactVersion(int major, int minor) {
  // The 9x family has no version verification.
  if (os_.record.platform_id != kPlatformNt) return false;
  return major == os_.true_major && minor == os_.true_minor;
}

cc::Str FakeSystemInfo::SpecialFolderPath(int csidl) {
  auto it = special_folders_.find(csidl);
  return it == special_folders_.end() ? cc::Str(u"") : it->second;
}

cc::Str FakeSystemInfo::EnvironmentValue(const cc::Str& name) {
  auto it = env_.find(FoldFileName(name.View()));
  return it == env_.end() ? cc::Str() : it->second;
}

bool FakeSystemInfo::DiskSpace(const cc::Str& path, uint64_t* totalBytes, uint64_t* freeBytes) {
  // The system answers only for a folder that exists.
  if (files_) {
    uint32_t attributes = files_->GetAttributes(path);
    if (attributes == kInvalidFileAttributes || !(attributes & kFileAttributeDirectory)) return false;
  }
  auto it = disk_space_.find(RootKey(path.View()));
  if (it == disk_space_.end()) return false;
  *totalBytes = it->second.first;
  *freeBytes = it->second.second;
  return true;
}

cc::Str FakeSystemInfo::CreateTempName(const cc::Str& folder, const cc::Str& prefix) {
  if (!files_) return cc::Str(u"");
  uint32_t attributes = files_->GetAttributes(folder);
  if (attributes == kInvalidFileAttributes || !(attributes & kFileAttributeDirectory)) {
    return cc::Str(u"");
  }
  cc::Str base = WithTrailingBackslash(folder);
  base.Append(prefix.Substring(0, 3));
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    temp_counter_ = (temp_counter_ % 0xFFFF) + 1;
    cc::Str path = base + cc::Str::Formatted(u"%X.tmp", temp_counter_);
    if (files_->GetAttributes(path) != kInvalidFileAttributes) continue;
    std::unique_ptr<File> file = files_->Open(path, OpenMode::kCreate);
    return file && file->Close() ? path : cc::Str(u"");
  }
  return cc::Str(u"");
}

void FakeSystemInfo::SetLocale(const cc::Str& language, const cc::Str& country) {
  language_ = language;
  country_ = country;
}

void FakeSystemInfo::SetSpecialFolder(int csidl, const cc::Str& path) {
  if (path.IsEmpty()) {
    special_folders_.erase(csidl);
  } else {
    special_folders_[csidl] = path;
  }
}

void FakeSystemInfo::SetEnv(const cc::Str& name, const cc::Str& value) {
  std::u16string key = FoldFileName(name.View());
  if (value.IsNull()) {
    env_.erase(key);
  } else {
    env_[key] = value;
  }
}

void FakeSystemInfo::SetDiskSpace(const cc::Str& root, uint64_t totalBytes, uint64_t freeBytes) {
  disk_space_[RootKey(root.View())] = {totalBytes, freeBytes};
}

std::vector<cc::Str> FakeSystemInfo::KnownFolders() const {
  std::vector<cc::Str> folders;
  for (const auto& [csidl, path] : special_folders_) folders.push_back(path);
  folders.push_back(temp_path_);
  folders.push_back(windows_folder_);
  return folders;
}
