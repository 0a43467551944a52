// The system as a test chooses it: a Windows version record (helpers make
// every Windows from 95 to 11, 32- or 64-bit), the locale, the user,
// special folders, environment, module path and disk space. Temporary names
// are created as files in a FakeFileSystem.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/system_info.h"

class FakeFileSystem;

enum class FakeWindows {
  k95, k98, kMe, kNt4, k2000, kXp, kServer2003, kServer2003R2, kHomeServer,
  kVista, kServer2008, k7, kServer2008R2, k8, kServer2012, k8_1, kServer2012R2,
  k10, k11,
};

// Everything the version questions answer.
struct FakeOs {
  VersionRecord record;  // what the version query reports
  int true_major = 0;    // what the exact-version confirmation confirms
  int true_minor = 0;
  ProcessorInfo processor;
  bool server_r2 = false;
};

// The answers of `windows`. `is64`: a 64-bit edition (x64 processor; ignored
// for Windows 95 to 2000). `declared`: the program declares support for
// Windows 8.1 and later, so their version query reports the true version
// instead of 6.2.
FakeOs MakeFakeOs(FakeWindows windows, bool is64 = false, bool declared = false);

class FakeSystemInfo : public SystemInfo {
 public:
  // A 64-bit Windows 7 in English (en-US), user "user", folders laid out as
  // Windows lays them out for a 32-bit program. `files` (may be null) gets
  // the temporary files.
  explicit FakeSystemInfo(FakeFileSystem* files);

  bool QueryVersion(VersionRecord* record) override;
  ProcessorInfo QueryProcessor() override { return os_.processor; }
  bool HasServerR2Metric() override { return os_.server_r2; }
  bool IsExactVersion(int major, int minor) override;
  cc::Str LocaleLanguageName() override { return language_; }
  cc::Str LocaleCountryName() override { return country_; }
  cc::Str UserName() override { return user_name_; }
  cc::Str SpecialFolderPath(int csidl) override;
  cc::Str TempPath() override { return temp_path_; }
  cc::Str WindowsFolder() override { return windows_folder_; }
  cc::Str EnvironmentValue(const cc::Str& name) override;
  bool DiskSpace(const cc::Str& path, uint64_t* totalBytes, uint64_t* freeBytes) override;
  cc::Str ModuleFileName() override { return module_file_; }
  cc::Str CreateTempName(const cc::Str& folder, const cc::Str& prefix) override;
  uint64_t ToLocalFileTime(uint64_t utc) override { return utc + local_offset_; }

  void SetOs(const FakeOs& os) { os_ = os; }
  const FakeOs& Os() const { return os_; }
  // Makes the version query fail.
  void SetNoVersionRecord(bool none) { no_version_ = none; }
  void SetLocale(const cc::Str& language, const cc::Str& country);
  void SetUserName(const cc::Str& name) { user_name_ = name; }
  // An empty or null path makes the shell have none for `csidl`.
  void SetSpecialFolder(int csidl, const cc::Str& path);
  void SetTempPath(const cc::Str& path) { temp_path_ = path; }
  void SetWindowsFolder(const cc::Str& path) { windows_folder_ = path; }
  // A null value unsets the variable; names ignore letter case.
  void SetEnv(const cc::Str& name, const cc::Str& value);
  void SetModuleFileName(const cc::Str& path) { module_file_ = path; }
  // Space of the volume whose root ("C:", case ignored) begins a path;
  // DiskSpace fails for paths on volumes without an entry.
  void SetDiskSpace(const cc::Str& root, uint64_t totalBytes, uint64_t freeBytes);
  // Local time minus UTC, in file-time units (100 ns).
  void SetLocalTimeOffset(int64_t offset) { local_offset_ = static_cast<uint64_t>(offset); }
  // Every special folder, the temporary folder and the Windows folder.
  std::vector<cc::Str> KnownFolders() const;

 private:
  FakeFileSystem* files_;
  FakeOs os_;
  bool no_version_ = false;
  cc::Str language_;
  cc::Str country_;
  cc::Str user_name_;
  std::map<int, cc::Str> special_folders_;
  cc::Str temp_path_;
  cc::Str windows_folder_;
  std::map<std::u16string, cc::Str> env_;  // folded name -> value
  cc::Str module_file_;
  std::map<std::u16string, std::pair<uint64_t, uint64_t>> disk_space_;  // folded root
  uint64_t local_offset_ = 0;
  unsigned temp_counter_ = 0;
};
