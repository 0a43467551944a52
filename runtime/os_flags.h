// The OS flag word and the OS test: whether a flag word allows a system.
// Run conditions and every install item with an OS flag word (files,
// registry and INI items, shortcuts, associations, services) ask this one
// function.
#pragma once

#include <cstdint>

// Bits of the OS flag word.
inline constexpr uint32_t kOsFlagBelowXp = 0x2;  // OS codes below 7
inline constexpr uint32_t kOsFlagXp = 0x4;  // 7
inline constexpr uint32_t kOsFlagServer2003 = 0x8;  // 8, 9, 10
inline constexpr uint32_t kOsFlagVista = 0x10;  // 11
inline constexpr uint32_t kOsFlagServer2008 = 0x20;  // 12, 13
inline constexpr uint32_t kOsFlagWindows7 = 0x40;  // 14
inline constexpr uint32_t kOsFlagServer2012 = 0x80;  // 15, 17
inline constexpr uint32_t kOsFlagWindows8 = 0x100;  // 16
inline constexpr uint32_t kOsFlagWindows81 = 0x200;  // 18
inline constexpr uint32_t kOsFlagLater = 0x400;  // 19 and above
inline constexpr uint32_t kOsFlag32Bit = 0x400000;
inline constexpr uint32_t kOsFlag64Bit = 0x800000;

// The version bit of the flag word that covers `osIndex` (the Windows
// version index: 7 XP, 14 Windows 7, 19 anything after 8.1, ...).
uint32_t OsVersionBit(int osIndex);

// True when `flags` allows a system with `osIndex` and bitness `is64` (0 for
// 32-bit, 1 for 64-bit): its bitness bit and its version bit are both set.
bool OsTest(uint32_t flags, int osIndex, int is64);
