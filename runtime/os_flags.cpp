#include "runtime/os_flags.h"

uint32_t OsVersionBit(int osIndex) {
  switch (osIndex) {
    case 7:
      return kOsFlagXp;
    case 8:
    case 9:
    case 10:
      return kOsFlagServer2003;
    case 11:
      return kOsFlagVista;
    case 12:
    case 13:
      return kOsFlagServer2008;
    case 14:
      return kOsFlagWindows7;
    case 15:
    case 17:
      return kOsFlagServer2012;
    case 16:
      return kOsFlagWindows8;
    case 18:
      return kOsFlagWindows81;
    default:
      return osIndex < 7 ? kOsFlagBelowXp : kOsFlagLater;
  }
}

bool OsTest(uint32_t flags, int osIndex, int is64) {
  uint32_t bitnessBit = is64 == 1 ? kOsFlag64Bit : kOsFlag32Bit;
  return (flags & bitnessBit) != 0 && (flags & OsVersionBit(osIndex)) != 0;
}
