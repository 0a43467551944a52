#include "runtime/os_test.h"

uint32_t OsVersionBit(int osIndex) {
  switch (osIndex) {
    case 7:
      return kOsXp;
    case 8:
    case 9:
    case 10:
      return kOsServer2003;
    case 11:
      return kOsVista;
    case 12:
    case 13:
      return kOsServer2008;
    case 14:
      return kOsWindows7;
    case 15:
    case 17:
      return kOsServer2012;
    case 16:
      return kOsWindows8;
    case 18:
      return kOsWindows81;
    default:
      return osIndex < 7 ? kOsBelowXp : kOsLater;
  }
}

bool OsTest(uint32_t flags, int osIndex, int is64) {
  uint32_t bitnessBit = is64 == 1 ? kOs64Bit : kOs32Bit;
  return (flags & bitnessBit) != 0 && (flags & OsVersionBit(osIndex)) != 0;
}
