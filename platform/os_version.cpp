#include "platform/os_version.h"

#include "platform/system_info.h"

namespace {

constexpr const char16_t* kOsNames[] = {
    u"Unknow",           u"WindowsNT3",          u"Windows95",           u"WindowsNT4",
    u"Windows98",        u"WindowsME",           u"Windows2000",         u"WindowsXP",
    u"WindowsServer2003", u"WindowsHomeServer",  u"WindowsServer2003R2", u"WindowsVista",
    u"WindowsServer2008", u"WindowsServer2008R2", u"Windows7",           u"WindowsServer2012",
    u"Windows8",         u"WindowsServer2012R2", u"Windows8_1",          u"WindowsNext",
};

// The 9x family (and Win32s) set the platform bit of the version word.
bool HasPlatformBit(const VersionRecord& record) { return record.platform_id != kPlatformNt; }

int NineXIndex(const VersionRecord& record) {
  if (record.major == 4 && record.minor == 10) return kOsWindows98;
  if (record.major == 4 && record.minor == 90) return kOsWindowsME;
  return kOsWindows95;
}

int Major5Index(SystemInfo& system, const VersionRecord& record) {
  if (record.minor == 0) return kOsWindows2000;
  if (record.minor == 1) return kOsWindowsXP;
  if (record.suite_mask & kSuiteHomeServer) return kOsWindowsHomeServer;
  // 64-bit XP reports 5.2 like Server 2003.
  if (record.product_type == kProductWorkstation &&
      system.QueryProcessor().architecture == kArchitectureAmd64) {
    return kOsWindowsXP;
  }
  return system.HasServerR2Metric() ? kOsWindowsServer2003R2 : kOsWindowsServer2003;
}

// From 6.2 on the reported version cannot be trusted (8.1 and later report
// 6.2 to programs that do not declare them), so the system must confirm it.
int Major6Index(SystemInfo& system, const VersionRecord& record) {
  bool workstation = record.product_type == kProductWorkstation;
  if (record.minor == 0) return workstation ? kOsWindowsVista : kOsWindowsServer2008;
  if (record.minor == 1) return workstation ? kOsWindows7 : kOsWindowsServer2008R2;
  if (system.IsExactVersion(6, 2)) return workstation ? kOsWindows8 : kOsWindowsServer2012;
  if (system.IsExactVersion(6, 3)) return workstation ? kOsWindows8_1 : kOsWindowsServer2012R2;
  return kOsWindowsNext;
}

// Every 64-bit architecture counts, not only x64: Windows on ARM64 (and
// Itanium) is 64-bit Windows for the folder and registry choices too.
int BitnessOf(uint16_t architecture) {
  return architecture == kArchitectureAmd64 || architecture == kArchitectureArm64 ||
                 architecture == kArchitectureIa64
             ? 1
             : 0;
}

}  // namespace

OsVersion DetectOsVersion(SystemInfo& system) {
  OsVersion result;
  VersionRecord record;
  if (!system.QueryVersion(&record)) return result;
  if (HasPlatformBit(record)) {
    result.index = NineXIndex(record);
    return result;
  }
  if (record.major == 4) {
    result.index = kOsWindowsNT4;
  } else if (record.major == 5) {
    result.index = Major5Index(system, record);
  } else if (record.major == 6) {
    result.index = Major6Index(system, record);
  } else if (record.major >= 7) {
    result.index = kOsWindowsNext;
  } else {
    result.index = kOsWindowsNT3;
  }
  if (record.major >= 6) result.is64 = BitnessOf(system.QueryProcessor().architecture);
  return result;
}

int GetOsVersion(const Platform& platform, int* is64) {
  OsVersionCache& cache = platform.os_version;
  if (!cache.known) {
    OsVersion version = DetectOsVersion(*platform.system);
    cache.index = version.index;
    cache.is64 = version.is64;
    cache.known = true;
  }
  if (is64) *is64 = cache.is64;
  return cache.index;
}

cc::Str GetOsName(int index, int is64) {
  constexpr int kCount = static_cast<int>(sizeof(kOsNames) / sizeof(kOsNames[0]));
  cc::Str name(index > 0 && index < kCount ? kOsNames[index] : kOsNames[0]);
  if (is64 == 1) name.Append(cc::Str(u"(64bit)"));
  if (is64 == 0) name.Append(cc::Str(u"(32bit)"));
  return name;
}

bool IsNtFamily(SystemInfo& system) {
  VersionRecord record;
  return system.QueryVersion(&record) && !HasPlatformBit(record);
}
