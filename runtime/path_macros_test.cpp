#include "runtime/path_macros.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/csidl.h"
#include "platform/fake/fake_platform.h"

namespace {

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

const int kAllCsidls[] = {
    kCsidlProgramFiles,      kCsidlProgramFilesX86,        kCsidlProgramFilesCommon,
    kCsidlProgramFilesCommonX86, kCsidlWindows,            kCsidlSystem,
    kCsidlSystemX86,         kCsidlFonts,                  kCsidlCommonDesktopDirectory,
    kCsidlDesktopDirectory,  kCsidlCommonDocuments,        kCsidlPersonal,
    kCsidlAppData,           kCsidlLocalAppData,           kCsidlCommonAppData,
};

struct MacroCase {
  const char16_t* name;
  const char* expected;
};

class PathMacrosTest : public ::testing::Test {
 protected:
  PathMacrosTest() {
    platform_.fake_system.SetWindowsFolder(u"C:\\Windows");
    platform_.fake_system.SetUserName(u"alice");
    platform_.fake_system.SetEnv(u"windir", u"C:\\Windows");
    platform_.fake_system.SetEnv(u"ProgramW6432", cc::Str());
  }

  // Every shell folder gets a distinct path (without a trailing backslash,
  // as the shell gives them).
  void FillShellFolders() {
    struct Folder {
      int csidl;
      const char16_t* path;
    };
    const Folder folders[] = {
        {kCsidlProgramFiles, u"C:\\PF"},
        {kCsidlProgramFilesX86, u"C:\\PF86"},
        {kCsidlProgramFilesCommon, u"C:\\PF\\Common"},
        {kCsidlProgramFilesCommonX86, u"C:\\PF86\\Common"},
        {kCsidlWindows, u"C:\\Win"},
        {kCsidlSystem, u"C:\\Win\\Sys"},
        {kCsidlSystemX86, u"C:\\Win\\Wow"},
        {kCsidlFonts, u"C:\\Win\\Fonts"},
        {kCsidlCommonDesktopDirectory, u"C:\\Pub\\Desk"},
        {kCsidlDesktopDirectory, u"C:\\U\\Desk"},
        {kCsidlCommonDocuments, u"C:\\Pub\\Docs"},
        {kCsidlPersonal, u"C:\\U\\Docs"},
        {kCsidlAppData, u"C:\\U\\Roam"},
        {kCsidlLocalAppData, u"C:\\U\\Local"},
        {kCsidlCommonAppData, u"C:\\PD"},
    };
    for (const Folder& folder : folders) platform_.fake_system.SetSpecialFolder(folder.csidl, folder.path);
    platform_.fake_system.SetTempPath(u"C:\\Tmp\\");
    platform_.fake_system.SetEnv(u"ProgramW6432", u"C:\\PF64");
  }

  // The shell names no folder and the temporary folder is unknown.
  void EmptyShell() {
    for (int csidl : kAllCsidls) platform_.fake_system.SetSpecialFolder(csidl, cc::Str());
    platform_.fake_system.SetTempPath(cc::Str());
    platform_.fake_system.SetEnv(u"windir", cc::Str());
    platform_.fake_system.SetEnv(u"ProgramW6432", cc::Str());
  }

  std::string Expand(const char16_t* name) { return Utf8(ExpandDirMacro(name, store_, platform_)); }

  template <size_t N>
  void ExpectMacros(const MacroCase (&cases)[N], const char* what) {
    for (size_t i = 0; i < N; ++i) {
      EXPECT_EQ(Expand(cases[i].name), cases[i].expected)
          << what << " case " << i << " " << Utf8(cases[i].name);
    }
  }

  FakePlatform platform_;
  cc::KeyArr store_{false, true};
};

TEST_F(PathMacrosTest, EveryMacroOn64BitWindowsTakesTheNativeOrThe32BitFolder) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k7, true));
  FillShellFolders();
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\PF86\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\PF64\\"},
      {u"<CommonFilesDir(32bit)>", "C:\\PF86\\Common\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\PF64\\Common Files\\"},
      {u"<WinDir>", "C:\\Win\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\Win\\Wow\\"},
      {u"<WinSys32Dir(64bit)>", "C:\\Win\\Sys\\"},
      {u"<FontDir>", "C:\\Win\\Fonts\\"},
      {u"<AllUsersDesktopDir>", "C:\\Pub\\Desk\\"},
      {u"<UserDesktopDir>", "C:\\U\\Desk\\"},
      {u"<AllUsersDocumentsDir>", "C:\\Pub\\Docs\\"},
      {u"<MyDocumentsDir>", "C:\\U\\Docs\\"},
      {u"<UserAppDataDir>", "C:\\U\\Roam\\"},
      {u"<UserLocalAppDataDir>", "C:\\U\\Local\\"},
      {u"<AllUsersAppDataDir>", "C:\\PD\\"},
      {u"<TempDir>", "C:\\Tmp\\"},
  };
  ExpectMacros(cases, "64-bit");
}

TEST_F(PathMacrosTest, EveryMacroOn32BitWindowsIgnoresThe64BitSources) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k7, false));
  FillShellFolders();
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\PF\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\PF\\"},
      {u"<CommonFilesDir(32bit)>", "C:\\PF\\Common\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\PF\\Common\\"},
      {u"<WinDir>", "C:\\Win\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\Win\\Sys\\"},
      {u"<WinSys32Dir(64bit)>", "C:\\Win\\Sys\\"},
      {u"<FontDir>", "C:\\Win\\Fonts\\"},
      {u"<AllUsersDesktopDir>", "C:\\Pub\\Desk\\"},
      {u"<UserDesktopDir>", "C:\\U\\Desk\\"},
      {u"<AllUsersDocumentsDir>", "C:\\Pub\\Docs\\"},
      {u"<MyDocumentsDir>", "C:\\U\\Docs\\"},
      {u"<UserAppDataDir>", "C:\\U\\Roam\\"},
      {u"<UserLocalAppDataDir>", "C:\\U\\Local\\"},
      {u"<AllUsersAppDataDir>", "C:\\PD\\"},
      {u"<TempDir>", "C:\\Tmp\\"},
  };
  ExpectMacros(cases, "32-bit");
}

TEST_F(PathMacrosTest, On64BitWindowsTheSecondSourceStandsInForAMissingFirst) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k7, true));
  FillShellFolders();
  platform_.fake_system.SetSpecialFolder(kCsidlProgramFilesX86, cc::Str());
  platform_.fake_system.SetSpecialFolder(kCsidlProgramFilesCommonX86, cc::Str());
  platform_.fake_system.SetSpecialFolder(kCsidlSystemX86, cc::Str());
  platform_.fake_system.SetSpecialFolder(kCsidlWindows, cc::Str());
  platform_.fake_system.SetEnv(u"ProgramW6432", cc::Str());
  platform_.fake_system.SetEnv(u"windir", u"E:\\WINNT");
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\PF\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\PF\\"},
      {u"<CommonFilesDir(32bit)>", "C:\\PF\\Common\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\PF\\Common Files\\"},
      {u"<WinDir>", "E:\\WINNT\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\Win\\Sys\\"},
  };
  ExpectMacros(cases, "second source");
}

TEST_F(PathMacrosTest, CommonFilesOf64BitAddsTheSeparatorTheEnvironmentLacks) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k10, true));
  EmptyShell();
  struct Case {
    const char16_t* programW6432;
    const char* expected;
  };
  const Case cases[] = {
      {u"D:\\Programs", "D:\\Programs\\Common Files\\"},
      {u"D:\\Programs\\", "D:\\Programs\\Common Files\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    platform_.fake_system.SetEnv(u"ProgramW6432", cases[i].programW6432);
    EXPECT_EQ(Expand(u"<CommonFilesDir(64bit)>"), cases[i].expected) << "case " << i;
    EXPECT_EQ(Expand(u"<ProgramFilesDir(64bit)>"), "D:\\Programs\\") << "case " << i;
  }
}

TEST_F(PathMacrosTest, NtFamilyWithoutShellFoldersFallsBackToDocumentsAndSettings) {
  platform_.SetOs(MakeFakeOs(FakeWindows::kXp, false));
  EmptyShell();
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\Program Files\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\Program Files\\"},
      {u"<CommonFilesDir(32bit)>", "C:\\Program Files\\Common Files\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\Program Files\\Common Files\\"},
      {u"<WinDir>", "C:\\Windows\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\Windows\\system32\\"},
      {u"<WinSys32Dir(64bit)>", "C:\\Windows\\system32\\"},
      {u"<FontDir>", "C:\\Windows\\Fonts\\"},
      {u"<AllUsersDesktopDir>", "C:\\Documents and Settings\\All Users\\Desktop\\"},
      {u"<UserDesktopDir>", "C:\\Documents and Settings\\alice\\Desktop\\"},
      {u"<AllUsersDocumentsDir>", "C:\\Documents and Settings\\All Users\\Documents\\"},
      {u"<MyDocumentsDir>", "C:\\Documents and Settings\\alice\\Documents\\"},
      {u"<UserAppDataDir>", "C:\\Documents and Settings\\alice\\Application Data\\"},
      {u"<UserLocalAppDataDir>",
       "C:\\Documents and Settings\\alice\\Local Settings\\Application Data\\"},
      {u"<AllUsersAppDataDir>", "C:\\Documents and Settings\\All Users\\Application Data\\"},
      {u"<TempDir>", "C:\\Windows\\TEMP\\"},
  };
  ExpectMacros(cases, "NT");
}

TEST_F(PathMacrosTest, SixtyFourBitWindowsWithoutShellFoldersUsesTheSameFallbacks) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k7, true));
  EmptyShell();
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\Program Files\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\Program Files\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\Program Files\\Common Files\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\Windows\\system32\\"},
      {u"<UserDesktopDir>", "C:\\Documents and Settings\\alice\\Desktop\\"},
  };
  ExpectMacros(cases, "64-bit empty");
}

TEST_F(PathMacrosTest, OldWindowsWithoutShellFoldersUsesTheWindowsFolder) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k98));
  EmptyShell();
  platform_.fake_system.SetWindowsFolder(u"C:\\WINDOWS");
  const MacroCase cases[] = {
      {u"<ProgramFilesDir(32bit)>", "C:\\Program Files\\"},
      {u"<ProgramFilesDir(64bit)>", "C:\\Program Files\\"},
      {u"<CommonFilesDir(32bit)>", "C:\\Program Files\\Common Files\\"},
      {u"<CommonFilesDir(64bit)>", "C:\\Program Files\\Common Files\\"},
      {u"<WinDir>", "C:\\WINDOWS\\"},
      {u"<WinSys32Dir(32bit)>", "C:\\WINDOWS\\system32\\"},
      {u"<WinSys32Dir(64bit)>", "C:\\WINDOWS\\system32\\"},
      {u"<FontDir>", "C:\\WINDOWS\\Fonts\\"},
      {u"<AllUsersDesktopDir>", "C:\\WINDOWS\\All Users\\Desktop\\"},
      {u"<UserDesktopDir>", "C:\\WINDOWS\\Desktop\\"},
      {u"<AllUsersDocumentsDir>", "C:\\My Documents\\"},
      {u"<MyDocumentsDir>", "C:\\My Documents\\"},
      {u"<UserAppDataDir>", "C:\\WINDOWS\\Local Settings\\Application Data\\"},
      {u"<UserLocalAppDataDir>", "C:\\WINDOWS\\Local Settings\\Application Data\\"},
      {u"<AllUsersAppDataDir>", "C:\\WINDOWS\\All Users\\Application Data\\"},
      {u"<TempDir>", "C:\\WINDOWS\\TEMP\\"},
  };
  ExpectMacros(cases, "Windows 98");
}

TEST_F(PathMacrosTest, WindowsFolderAndUserNameHaveTheirOwnFallbacks) {
  platform_.SetOs(MakeFakeOs(FakeWindows::kXp, false));
  EmptyShell();
  struct Case {
    const char16_t* windowsFolder;  // null: the system gives none
    const char16_t* windirEnv;      // null: unset
    const char16_t* userName;
    const char16_t* macro;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, u"D:\\WINNT", u"bob", u"<WinDir>", "D:\\WINNT\\"},
      {nullptr, u"D:\\WINNT", u"bob", u"<ProgramFilesDir(32bit)>", "D:\\Program Files\\"},
      {nullptr, nullptr, u"bob", u"<WinDir>", "C:\\WINDOWS\\"},
      {nullptr, nullptr, u"bob", u"<FontDir>", "C:\\WINDOWS\\Fonts\\"},
      {u"E:\\Win\\", nullptr, nullptr, u"<MyDocumentsDir>",
       "E:\\Documents and Settings\\username\\Documents\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    platform_.fake_system.SetWindowsFolder(c.windowsFolder);
    platform_.fake_system.SetEnv(u"windir", c.windirEnv);
    platform_.fake_system.SetUserName(c.userName);
    EXPECT_EQ(Expand(c.macro), c.expected) << "case " << i;
  }
}

TEST_F(PathMacrosTest, NamesOutsideTheTableAndTheApplicationFolder) {
  struct Case {
    const char16_t* locationPath;  // null: key absent
    const char16_t* dirApp;        // null: key absent
    const char16_t* name;
    const char* expected;
  };
  const Case cases[] = {
      {u"D:\\Apps\\Acme\\", u"C:\\Other\\", u"<Application Folder>", "D:\\Apps\\Acme\\"},
      {u"D:\\Apps\\Acme", nullptr, u"<Application Folder>", "D:\\Apps\\Acme\\"},
      {nullptr, u"C:\\Default", u"<Application Folder>", "C:\\Default\\"},
      // Present but empty still wins over the default folder.
      {u"", u"C:\\Default", u"<Application Folder>", "\\"},
      {nullptr, nullptr, u"<Application Folder>", "\\"},
      {nullptr, nullptr, u"<windir>", "\\"},  // letter case matters
      {nullptr, nullptr, u"<NoSuchDir>", "\\"},
      {nullptr, nullptr, u"", "\\"},
      {nullptr, nullptr, u"<DynamicDir", "\\"},
      {nullptr, nullptr, u"<DynamicDirX>", "\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    store_.Set(u"Ret.Location.Path", c.locationPath);
    store_.Set(u"Ret.Dir.App", c.dirApp);
    EXPECT_EQ(Expand(c.name), c.expected) << "case " << i;
  }
}

TEST_F(PathMacrosTest, ExpandMacroPathNeedsASeparatorAfterTheMacro) {
  platform_.fake_system.SetTempPath(u"C:\\Tmp\\");
  store_.Set(u"Ret.Location.Path", u"D:\\App\\");
  struct Case {
    const char16_t* path;
    const char* expected;
  };
  const Case cases[] = {
      {u"<TempDir>", ""},
      {u"<TempDir>\\setup.txt", "C:\\Tmp\\setup.txt"},
      {u"<TempDir>\\", "C:\\Tmp\\"},
      {u"<Application Folder>\\bin\\app.exe", "D:\\App\\bin\\app.exe"},
      {u"<Unknown>\\x", "\\x"},
      {u"", ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::Str result = ExpandMacroPath(cases[i].path, store_, platform_);
    EXPECT_EQ(Utf8(result), cases[i].expected) << "case " << i;
    EXPECT_FALSE(result.IsNull()) << "case " << i;
  }
}

class DynamicDirTest : public PathMacrosTest {};

TEST_F(DynamicDirTest, EachSourceInTurn) {
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, u"Software\\Acme", u"Home", u"  R:\\Acme  ");
  platform_.fake_registry.PutString(RegRoot::kCurrentUser, u"Software\\Acme", u"Empty", u"   ");
  platform_.fake_system.SetEnv(u"ACME_HOME", u" E:\\Acme ");
  platform_.fake_system.SetTempPath(u"C:\\Tmp\\");
  struct Case {
    int flag;
    int regInd;
    const char16_t* regDir;
    const char16_t* regKey;
    const char16_t* var;
    const char16_t* appDir;
    const char* expected;
    const char* cached;  // null: nothing stored
  };
  const Case cases[] = {
      {1, 2, u"Software\\Acme", u"Home", nullptr, nullptr, "R:\\Acme\\", "R:\\Acme"},
      // The registry gives nothing: the environment is next.
      {3, 2, u"Software\\Missing", u"Home", u"ACME_HOME", nullptr, "E:\\Acme\\", "E:\\Acme"},
      {3, 1, u"Software\\Acme", u"Empty", u"ACME_HOME", nullptr, "E:\\Acme\\", "E:\\Acme"},
      // Without bit 1 the registry is not asked.
      {2, 2, u"Software\\Acme", u"Home", u"ACME_HOME", nullptr, "E:\\Acme\\", "E:\\Acme"},
      // Neither registry nor environment: the macro.
      {3, 2, u"Software\\Missing", u"Home", u"NOT_SET", u"<TempDir>", "C:\\Tmp\\", "C:\\Tmp\\"},
      {0, 0, nullptr, nullptr, nullptr, u"<TempDir>", "C:\\Tmp\\", "C:\\Tmp\\"},
      // Bit 4 forbids the macro: nothing, and nothing is cached.
      {4 | 3, 2, u"Software\\Missing", u"Home", u"NOT_SET", u"<TempDir>", "\\", nullptr},
      // No source at all: the macro of an empty name is "\\".
      {0, 0, nullptr, nullptr, nullptr, nullptr, "\\", "\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    cc::KeyArr store(false, true);
    store.SetInt(u"s.i.Dyn3.Flag", c.flag);
    store.SetInt(u"s.i.Dyn3.RegInd", c.regInd);
    store.Set(u"s.i.Dyn3.RegDir", c.regDir);
    store.Set(u"s.i.Dyn3.RegKey", c.regKey);
    store.Set(u"s.i.Dyn3.Var", c.var);
    store.Set(u"s.i.Dyn3.AppDir", c.appDir);
    EXPECT_EQ(Utf8(ExpandDirMacro(u"<DynamicDir3>", store, platform_)), c.expected) << "case " << i;
    EXPECT_EQ(store.Has(u"Ret.Dir.Dyn3"), c.cached != nullptr) << "case " << i;
    if (c.cached) {
      EXPECT_EQ(Utf8(store.Get(u"Ret.Dir.Dyn3")), c.cached) << "case " << i;
    }
  }
}

TEST_F(DynamicDirTest, ResolvedOnceAndThenAnsweredFromTheCache) {
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, u"Software\\Acme", u"Home", u"R:\\Old");
  store_.SetInt(u"s.i.Dyn1.Flag", 1);
  store_.SetInt(u"s.i.Dyn1.RegInd", 2);
  store_.Set(u"s.i.Dyn1.RegDir", u"Software\\Acme");
  store_.Set(u"s.i.Dyn1.RegKey", u"Home");
  EXPECT_EQ(Expand(u"<DynamicDir1>"), "R:\\Old\\");
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, u"Software\\Acme", u"Home", u"R:\\New");
  EXPECT_EQ(Expand(u"<DynamicDir1>"), "R:\\Old\\");
  // Only one digit is read: "<DynamicDir12>" is dynamic directory 1.
  EXPECT_EQ(Expand(u"<DynamicDir12>"), "R:\\Old\\");
}

TEST_F(DynamicDirTest, ADirectoryThatNamesItselfResolvesToNothingInsteadOfRecursing) {
  store_.Set(u"s.i.Dyn1.AppDir", u"<DynamicDir2>");
  store_.Set(u"s.i.Dyn2.AppDir", u"<DynamicDir1>");
  EXPECT_EQ(Expand(u"<DynamicDir1>"), "\\");
  store_.Set(u"s.i.Dyn5.AppDir", u"<DynamicDir5>");
  EXPECT_EQ(Expand(u"<DynamicDir5>"), "\\");
}

TEST_F(DynamicDirTest, ADirectoryMayBuildOnAnotherOne) {
  platform_.fake_system.SetEnv(u"ACME", u"E:\\Acme");
  store_.SetInt(u"s.i.Dyn1.Flag", 2);
  store_.Set(u"s.i.Dyn1.Var", u"ACME");
  store_.Set(u"s.i.Dyn2.AppDir", u"<DynamicDir1>");
  EXPECT_EQ(Expand(u"<DynamicDir2>"), "E:\\Acme\\");
}

}  // namespace
