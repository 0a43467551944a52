// System information of the real platform in a default Wine prefix: a 64-bit
// Windows 7 whose folders are laid out as WINE.md records them.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/csidl.h"
#include "platform/file_helpers.h"
#include "platform/module_resources.h"
#include "platform/os_version.h"
#include "platform/system_helpers.h"
#include "platform/system_info.h"
#include "platform/win32/win32_module_resources.h"
#include "platform/win32/win32_platform.h"

namespace {

class Win32SystemInfoTest : public ::testing::Test {
 protected:
  std::unique_ptr<Platform> platform_ = CreateWin32Platform();
  SystemInfo& system_ = *platform_->system;
};

TEST_F(Win32SystemInfoTest, DefaultPrefixIsSixtyFourBitWindows7) {
  int is64 = -1;
  EXPECT_EQ(GetOsVersion(*platform_, &is64), kOsWindows7);
  EXPECT_EQ(is64, 1);
  EXPECT_TRUE(IsNtFamily(system_));
  EXPECT_TRUE(system_.IsExactVersion(6, 1));
  EXPECT_FALSE(system_.IsExactVersion(6, 2));
  EXPECT_TRUE(system_.QueryProcessor().native_query_exists);
}

TEST_F(Win32SystemInfoTest, SpecialFoldersAsWineLaysThemOut) {
  const cc::Str user = system_.UserName();
  ASSERT_FALSE(user.IsEmpty());
  const cc::Str profile = cc::Str(u"C:\\users\\") + user;
  const bool process64 = sizeof(void*) == 8;
  struct Case {
    int csidl;
    cc::Str path;
  };
  const Case kCases[] = {
      {kCsidlPrograms, profile + cc::Str(u"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\")},
      {kCsidlCommonPrograms, cc::Str(u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\")},
      {kCsidlDesktopDirectory, profile + cc::Str(u"\\Desktop\\")},
      {kCsidlCommonDesktopDirectory, cc::Str(u"C:\\users\\Public\\Desktop\\")},
      {kCsidlAppData, profile + cc::Str(u"\\AppData\\Roaming\\")},
      {kCsidlLocalAppData, profile + cc::Str(u"\\AppData\\Local\\")},
      {kCsidlProgramFilesX86, cc::Str(u"C:\\Program Files (x86)\\")},
      {kCsidlSystemX86, cc::Str(u"C:\\windows\\syswow64\\")},
      {kCsidlSystem, cc::Str(u"C:\\windows\\system32\\")},
      {kCsidlWindows, cc::Str(u"C:\\windows\\")},
      // A 64-bit program sees the 64-bit folder, a 32-bit one the x86 folder.
      {kCsidlProgramFiles,
       cc::Str(process64 ? u"C:\\Program Files\\" : u"C:\\Program Files (x86)\\")},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    cc::Str path = GetSpecialFolder(system_, kCases[i].csidl);
    EXPECT_TRUE(path.Equals(kCases[i].path, true))
        << "case " << i << ": " << path.ToUtf8() << " vs " << kCases[i].path.ToUtf8();
  }
  EXPECT_TRUE(GetTempFolder(system_).Equals(profile + cc::Str(u"\\Temp\\"), true))
      << GetTempFolder(system_).ToUtf8();
  EXPECT_TRUE(GetWindowsFolder(system_).Equals(cc::Str(u"C:\\windows\\"), true));
  EXPECT_TRUE(GetEnv(system_, cc::Str(u"ProgramW6432")).Equals(cc::Str(u"C:\\Program Files"), true));
  cc::Str unset = GetEnv(system_, cc::Str(u"VELMORA_SURELY_UNSET"));
  EXPECT_TRUE(unset.IsEmpty() && !unset.IsNull());
  EXPECT_TRUE(system_.EnvironmentValue(cc::Str(u"VELMORA_SURELY_UNSET")).IsNull());
}

TEST_F(Win32SystemInfoTest, LocaleUserModuleDisk) {
  cc::Str language = GetUserLocaleCode(system_, false);
  cc::Str code = GetUserLocaleCode(system_, true);
  EXPECT_GE(language.GetLength(), 2);
  EXPECT_TRUE(code.StartsWith(language + cc::Str(u"-"))) << code.ToUtf8();

  cc::Str module = GetModulePath(system_, false);
  EXPECT_TRUE(module.EndsWith(cc::Str(u"velmora_platform_tests.exe"), true)) << module.ToUtf8();
  cc::Str folder = GetModulePath(system_, true);
  EXPECT_TRUE(module.StartsWith(folder) && folder.EndsWith(cc::Str(u"\\"))) << folder.ToUtf8();
  EXPECT_TRUE(FileExists(*platform_->files, module));
  EXPECT_EQ(MakeAbsolute(system_, cc::Str(u"x.txt")).ToUtf8(), (folder + cc::Str(u"x.txt")).ToUtf8());

  cc::Str total, free;
  ASSERT_TRUE(GetDiskSpace(system_, cc::Str(u"C:\\"), true, &total, &free));
  EXPECT_GT(total.ToInt64(), 0);
  EXPECT_LE(free.ToInt64(), total.ToInt64());
  cc::Str totalMb, freeMb;
  ASSERT_TRUE(GetDiskSpace(system_, cc::Str(u"C:\\"), false, &totalMb, &freeMb));
  EXPECT_NEAR(static_cast<double>(totalMb.ToInt64()), static_cast<double>(total.ToInt64() >> 20), 1.0);
  EXPECT_FALSE(GetDiskSpace(system_, cc::Str(u"C:\\velmora-no-such-folder\\"), true, &total, &free));
}

TEST_F(Win32SystemInfoTest, TempFilesAreNewAndEmpty) {
  cc::Str first = MakeTempFile(system_, cc::Str(u"velmora"));
  cc::Str second = MakeTempFile(system_, cc::Str(u"velmora"));
  ASSERT_FALSE(first.IsEmpty());
  EXPECT_FALSE(first.Equals(second, true));
  EXPECT_TRUE(first.StartsWith(GetTempFolder(system_) + cc::Str(u"vel"), true)) << first.ToUtf8();
  EXPECT_FALSE(first.StartsWith(GetTempFolder(system_) + cc::Str(u"velm"), true)) << first.ToUtf8();
  std::string bytes = "x";
  EXPECT_EQ(ReadWholeFile(*platform_->files, first, &bytes), 0);
  EXPECT_TRUE(DeleteFileForced(*platform_->files, first));
  EXPECT_TRUE(DeleteFileForced(*platform_->files, second));
}

TEST_F(Win32SystemInfoTest, AnsiConverterIsTheSystems) {
  InstallWin32AnsiConverter();
  std::string high;
  for (int byte = 0x80; byte <= 0xFF; ++byte) high.push_back(static_cast<char>(byte));
  wchar_t expected[0x80] = {};
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, high.data(), 0x80, expected, 0x80), 0x80);
  cc::Str ansi = cc::Str::FromBytes(high.data(), 0x80, cc::kCodePageAnsi);
  ASSERT_EQ(ansi.View().size(), 0x80u);
  for (int i = 0; i < 0x80; ++i) {
    EXPECT_EQ(static_cast<int>(ansi.View()[i]), static_cast<int>(expected[i])) << "byte " << 0x80 + i;
  }
  EXPECT_EQ(cc::Str(u"abc").ToBytes(cc::kCodePageAnsi), "abc");
}

// Resources are read from a copy of this program into which the test has
// written them with UpdateResourceW.
TEST_F(Win32SystemInfoTest, ResourcesOfAModule) {
  cc::Str copy = GetTempFolder(system_) +
                 cc::Str::Formatted(u"velmora-res-%u.exe", static_cast<unsigned>(GetCurrentProcessId()));
  ASSERT_TRUE(CopyFileTo(*platform_->files, GetModulePath(system_, false), copy, false));
  const std::string script = "\xEF\xBB\xBF" "echo h\xC3\xA9";
  const std::string payload("PK\x03\x04\0\xFF", 6);
  HANDLE update = BeginUpdateResourceW(reinterpret_cast<const wchar_t*>(copy.GetBuffer()), FALSE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(UpdateResourceW(update, L"BIN", MAKEINTRESOURCEW(7), 0,
                              const_cast<char*>(script.data()), static_cast<DWORD>(script.size())));
  ASSERT_TRUE(UpdateResourceW(update, L"BIN", MAKEINTRESOURCEW(2), 0,
                              const_cast<char*>(payload.data()), static_cast<DWORD>(payload.size())));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

  HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(copy.GetBuffer()), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  Win32ModuleResources resources(module);
  cc::Str text(u"before");
  EXPECT_EQ(ReadTextResource(resources, 7, cc::Str(u"BIN"), 1252, &text),
            static_cast<int64_t>(script.size()));
  EXPECT_EQ(text.ToUtf8(), "echo h\xC3\xA9");
  std::string bytes;
  EXPECT_TRUE(resources.Read(cc::Str(u"bin"), 2, &bytes));
  EXPECT_EQ(bytes, payload);
  cc::Str missing(u"before");
  EXPECT_EQ(ReadTextResource(resources, 8, cc::Str(u"BIN"), 1252, &missing), -1);
  EXPECT_EQ(missing.ToUtf8(), "before");
  FreeLibrary(module);

  // The running program itself carries no payload.
  EXPECT_FALSE(platform_->resources->Read(cc::Str(u"BIN"), 2, &bytes));
  EXPECT_TRUE(DeleteFileForced(*platform_->files, copy));
}

}  // namespace
