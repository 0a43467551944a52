// Special-folder numbers (CSIDL values) as the shell numbers them, for code
// that must not include <windows.h>.
#pragma once

inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlPrograms = 0x0002;
inline constexpr int kCsidlPersonal = 0x0005;
inline constexpr int kCsidlFavorites = 0x0006;
inline constexpr int kCsidlStartup = 0x0007;
inline constexpr int kCsidlRecent = 0x0008;
inline constexpr int kCsidlSendTo = 0x0009;
inline constexpr int kCsidlStartMenu = 0x000b;
inline constexpr int kCsidlMyMusic = 0x000d;
inline constexpr int kCsidlMyVideo = 0x000e;
inline constexpr int kCsidlDesktopDirectory = 0x0010;
inline constexpr int kCsidlFonts = 0x0014;
inline constexpr int kCsidlTemplates = 0x0015;
inline constexpr int kCsidlCommonStartMenu = 0x0016;
inline constexpr int kCsidlCommonPrograms = 0x0017;
inline constexpr int kCsidlCommonStartup = 0x0018;
inline constexpr int kCsidlCommonDesktopDirectory = 0x0019;
inline constexpr int kCsidlAppData = 0x001a;
inline constexpr int kCsidlLocalAppData = 0x001c;
inline constexpr int kCsidlCommonFavorites = 0x001f;
inline constexpr int kCsidlCommonAppData = 0x0023;
inline constexpr int kCsidlWindows = 0x0024;
inline constexpr int kCsidlSystem = 0x0025;
inline constexpr int kCsidlProgramFiles = 0x0026;
inline constexpr int kCsidlMyPictures = 0x0027;
inline constexpr int kCsidlProfile = 0x0028;
inline constexpr int kCsidlSystemX86 = 0x0029;
inline constexpr int kCsidlProgramFilesX86 = 0x002a;
inline constexpr int kCsidlProgramFilesCommon = 0x002b;
inline constexpr int kCsidlProgramFilesCommonX86 = 0x002c;
inline constexpr int kCsidlCommonTemplates = 0x002d;
inline constexpr int kCsidlCommonDocuments = 0x002e;
inline constexpr int kCsidlCommonAdminTools = 0x002f;
inline constexpr int kCsidlAdminTools = 0x0030;
