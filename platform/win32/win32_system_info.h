// System information through GetVersionExW, GetNativeSystemInfo (looked up
// at run time, GetSystemInfo where it is missing), GetSystemMetrics,
// VerifyVersionInfoW, GetLocaleInfoW, GetUserNameW, SHGetFolderPathW,
// GetTempPathW, GetWindowsDirectoryW, GetEnvironmentVariableW,
// GetDiskFreeSpaceExW, GetModuleFileNameW, GetTempFileNameW and
// FileTimeToLocalFileTime.
#pragma once

#include "platform/system_info.h"

class Win32SystemInfo : public SystemInfo {
 public:
  bool QueryVersion(VersionRecord* record) override;
  ProcessorInfo QueryProcessor() override;
  bool HasServerR2Metric() override;
  bool IsExactVersion(int major, int minor) override;
  cc::Str LocaleLanguageName() override;
  cc::Str LocaleCountryName() override;
  cc::Str UserName() override;
  cc::Str SpecialFolderPath(int csidl) override;
  cc::Str TempPath() override;
  cc::Str WindowsFolder() override;
  cc::Str EnvironmentValue(const cc::Str& name) override;
  bool DiskSpace(const cc::Str& path, uint64_t* totalBytes, uint64_t* freeBytes) override;
  cc::Str ModuleFileName() override;
  cc::Str CreateTempName(const cc::Str& folder, const cc::Str& prefix) override;
  uint64_t ToLocalFileTime(uint64_t utc) override;
};
