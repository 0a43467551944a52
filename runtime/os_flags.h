// The OS flag word and the OS test: whether a flag word allows a system.
// Run conditions and every install item with an OS flag word (files,
// registry and INI items, shortcuts, associations, services) ask this one
// function.
#pragma once

#include <cstdint>

// Bits of the OS flag word.
// Which OsIndex values (platform/os_version.h) each version bit covers is
// OsVersionBit's table.
inline constexpr uint32_t kOsFlagBelowXp = 0x2;  // before XP
inline constexpr uint32_t kOsFlagXp = 0x4;
inline constexpr uint32_t kOsFlagServer2003 = 0x8;  // with Home Server and 2003 R2
inline constexpr uint32_t kOsFlagVista = 0x10;
inline constexpr uint32_t kOsFlagServer2008 = 0x20;  // with 2008 R2
inline constexpr uint32_t kOsFlagWindows7 = 0x40;
inline constexpr uint32_t kOsFlagServer2012 = 0x80;  // with 2012 R2
inline constexpr uint32_t kOsFlagWindows8 = 0x100;
inline constexpr uint32_t kOsFlagWindows81 = 0x200;
inline constexpr uint32_t kOsFlagLater = 0x400;  // anything after 8.1
inline constexpr uint32_t kOsFlag32Bit = 0x400000;
inline constexpr uint32_t kOsFlag64Bit = 0x800000;

// The version bit of the flag word that covers `osIndex` (an OsIndex value).
uint32_t OsVersionBit(int osIndex);

// True when `flags` allows a system with `osIndex` and bitness `is64` (0 for
// 32-bit, 1 for 64-bit): its bitness bit and its version bit are both set.
bool OsTest(uint32_t flags, int osIndex, int is64);
