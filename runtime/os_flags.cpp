#include "runtime/os_flags.h"

#include "platform/os_version.h"

uint32_t OsVersionBit(int osIndex) {
  switch (osIndex) {
    case kOsWindowsXP:
      return kOsFlagXp;
    case kOsWindowsServer2003:
    case kOsWindowsHomeServer:
    case kOsWindowsServer2003R2:
      return kOsFlagServer2003;
    case kOsWindowsVista:
      return kOsFlagVista;
    case kOsWindowsServer2008:
    case kOsWindowsServer2008R2:
      return kOsFlagServer2008;
    case kOsWindows7:
      return kOsFlagWindows7;
    case kOsWindowsServer2012:
    case kOsWindowsServer2012R2:
      return kOsFlagServer2012;
    case kOsWindows8:
      return kOsFlagWindows8;
    case kOsWindows8_1:
      return kOsFlagWindows81;
    default:
      return osIndex < kOsWindowsXP ? kOsFlagBelowXp : kOsFlagLater;
  }
}

bool OsTest(uint32_t flags, int osIndex, int is64) {
  uint32_t bitnessBit = is64 == 1 ? kOsFlag64Bit : kOsFlag32Bit;
  return (flags & bitnessBit) != 0 && (flags & OsVersionBit(osIndex)) != 0;
}
