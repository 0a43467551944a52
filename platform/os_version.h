// Which Windows is running, as a small index with a fixed name (used in the
// setup log, compared by run conditions, shortcut rules and path fallbacks),
// and whether it is 64-bit.
#pragma once

#include "core/str.h"
#include "platform/platform.h"

class SystemInfo;

// Windows version index.
enum OsIndex : int {
  kOsUnknown = 0,
  kOsWindowsNT3 = 1,
  kOsWindows95 = 2,
  kOsWindowsNT4 = 3,
  kOsWindows98 = 4,
  kOsWindowsME = 5,
  kOsWindows2000 = 6,
  kOsWindowsXP = 7,
  kOsWindowsServer2003 = 8,
  kOsWindowsHomeServer = 9,
  kOsWindowsServer2003R2 = 10,
  kOsWindowsVista = 11,
  kOsWindowsServer2008 = 12,
  kOsWindowsServer2008R2 = 13,
  kOsWindows7 = 14,
  kOsWindowsServer2012 = 15,
  kOsWindows8 = 16,
  kOsWindowsServer2012R2 = 17,
  kOsWindows8_1 = 18,
  kOsWindowsNext = 19,
};

struct OsVersion {
  int index = kOsUnknown;
  int is64 = 0;  // 1 on 64-bit Windows (only told apart from Vista on)
};

// Asks the system every time (no cache). kOsUnknown when the system gives no
// version record.
OsVersion DetectOsVersion(SystemInfo& system);

// The version index of the running Windows, asked once per platform object
// and then answered from memory. `is64` (may be null) receives the bitness.
// Needs platform.system.
int GetOsVersion(const Platform& platform, int* is64 = nullptr);

// The name for the log: "Windows7" and so on ("Unknow" for an index outside
// the table) followed by "(64bit)" when `is64` is 1, "(32bit)" when it is 0
// and nothing for any other value.
cc::Str GetOsName(int index, int is64);

// True on the Windows NT family (false on Windows 95/98/ME and when the
// system gives no version record).
bool IsNtFamily(SystemInfo& system);
