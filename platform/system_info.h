// What the engines ask the operating system about itself: the version record
// and processor, the user's locale and name, special folders, the temporary
// and Windows folders, environment variables, disk space, the program's own
// path and the temporary-name service. Each call returns the system's raw
// answer; the conventions (trailing separators, fallbacks, the version index)
// are applied once, by the helpers in system_helpers.h and os_version.h.
#pragma once

#include <cstdint>

#include "core/str.h"

// Version record platform ids (dwPlatformId).
inline constexpr uint32_t kPlatformWin32s = 0;
inline constexpr uint32_t kPlatformWin9x = 1;
inline constexpr uint32_t kPlatformNt = 2;

// Product types (wProductType).
inline constexpr uint8_t kProductWorkstation = 1;
inline constexpr uint8_t kProductDomainController = 2;
inline constexpr uint8_t kProductServer = 3;

// Suite mask bit of Windows Home Server (VER_SUITE_WH_SERVER).
inline constexpr uint16_t kSuiteHomeServer = 0x8000;

// Processor architectures (wProcessorArchitecture).
inline constexpr uint16_t kArchitectureX86 = 0;
inline constexpr uint16_t kArchitectureIa64 = 6;
inline constexpr uint16_t kArchitectureAmd64 = 9;
inline constexpr uint16_t kArchitectureArm64 = 12;
inline constexpr uint16_t kArchitectureUnknown = 0xFFFF;

// The extended version record as the version query reports it. Windows 8.1
// and later report 6.2 to programs that do not declare support for them.
struct VersionRecord {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform_id = kPlatformNt;
  uint16_t suite_mask = 0;
  uint8_t product_type = kProductWorkstation;
};

struct ProcessorInfo {
  // The native architecture, or the plain one where the native query does
  // not exist (a 32-bit program on 64-bit Windows then sees x86).
  uint16_t architecture = kArchitectureX86;
  bool native_query_exists = true;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // The extended version record; false when the system does not give one.
  virtual bool QueryVersion(VersionRecord* record) = 0;
  virtual ProcessorInfo QueryProcessor() = 0;
  // True when the system reports the "server R2" metric.
  virtual bool HasServerR2Metric() = 0;
  // True when the system confirms that it is exactly version major.minor
  // (version verification with "equal" on both numbers).
  virtual bool IsExactVersion(int major, int minor) = 0;

  // ISO 639 language name and ISO 3166 country name of the user's default
  // locale ("en", "US"); empty when the system has none.
  virtual cc::Str LocaleLanguageName() = 0;
  virtual cc::Str LocaleCountryName() = 0;
  // The name of the user running the program; empty when unknown.
  virtual cc::Str UserName() = 0;

  // The shell's path of a special folder (a kCsidl* number from csidl.h),
  // without creating it; empty when the shell has none.
  virtual cc::Str SpecialFolderPath(int csidl) = 0;
  // The user's temporary folder as the system gives it (normally with a
  // trailing backslash); empty when unknown.
  virtual cc::Str TempPath() = 0;
  // The Windows folder as the system gives it ("C:\\windows"); empty when unknown.
  virtual cc::Str WindowsFolder() = 0;
  // The value of an environment variable; a null string when it is not set
  // (an empty string when it is set to nothing).
  virtual cc::Str EnvironmentValue(const cc::Str& name) = 0;
  // Total size and total free bytes of the volume that holds `path` (a
  // folder that exists); false when the system cannot tell.
  virtual bool DiskSpace(const cc::Str& path, uint64_t* totalBytes, uint64_t* freeBytes) = 0;
  // The full path of the running program's file; empty when unknown.
  virtual cc::Str ModuleFileName() = 0;
  // Creates a new, empty, uniquely named file in `folder` whose name starts
  // with at most the first three characters of `prefix`, and returns its full
  // path; empty when no file could be created.
  virtual cc::Str CreateTempName(const cc::Str& folder, const cc::Str& prefix) = 0;
  // A UTC file time converted to local time; `utc` itself when conversion fails.
  virtual uint64_t ToLocalFileTime(uint64_t utc) = 0;
};
