#include "platform/system_helpers.h"

#include <gtest/gtest.h>

#include "platform/csidl.h"
#include "platform/fake/fake_platform.h"
#include "platform/file_helpers.h"

namespace {

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

class SystemHelpersTest : public ::testing::Test {
 protected:
  FakePlatform platform_;
  FakeSystemInfo& system_ = platform_.fake_system;
};

TEST_F(SystemHelpersTest, UserLocaleCode) {
  struct Case {
    const char16_t* language;
    const char16_t* country;
    bool withCountry;
    const char* code;
  };
  const Case kCases[] = {
      {u"en", u"US", true, "en-US"}, {u"en", u"US", false, "en"}, {u"de", u"", true, "de"},
      {u"", u"DE", true, ""},        {u"zh", u"CN", true, "zh-CN"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    system_.SetLocale(cc::Str(kCases[i].language), cc::Str(kCases[i].country));
    EXPECT_EQ(Utf8(GetUserLocaleCode(system_, kCases[i].withCountry)), kCases[i].code) << "case " << i;
  }
}

TEST_F(SystemHelpersTest, SpecialFolder) {
  system_.SetSpecialFolder(kCsidlAppData, cc::Str(u"C:\\Users\\u\\AppData\\Roaming"));
  system_.SetSpecialFolder(kCsidlFonts, cc::Str(u"C:\\"));
  system_.SetSpecialFolder(kCsidlMyMusic, cc::Str());
  struct Case {
    int csidl;
    cc::Str fallback;
    const char* path;
  };
  const Case kCases[] = {
      {kCsidlAppData, cc::Str(), "C:\\Users\\u\\AppData\\Roaming\\"},
      {kCsidlAppData, cc::Str(u"D:\\x"), "C:\\Users\\u\\AppData\\Roaming\\"},
      {kCsidlFonts, cc::Str(), "C:\\"},  // no second backslash
      {kCsidlMyMusic, cc::Str(u"D:\\Music"), "D:\\Music\\"},
      {kCsidlMyMusic, cc::Str(u"D:\\Music\\"), "D:\\Music\\"},
      {kCsidlMyMusic, cc::Str(), ""},
      {kCsidlMyMusic, cc::Str(u""), ""},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    cc::Str path = GetSpecialFolder(system_, kCases[i].csidl, kCases[i].fallback);
    EXPECT_EQ(Utf8(path), kCases[i].path) << "case " << i;
    EXPECT_FALSE(path.IsNull()) << "case " << i;
  }
}

TEST_F(SystemHelpersTest, EnvUnchangedAndEmptyWhenUnset) {
  system_.SetEnv(cc::Str(u"ProgramW6432"), cc::Str(u"C:\\Program Files"));
  system_.SetEnv(cc::Str(u"EMPTY"), cc::Str(u""));
  system_.SetEnv(cc::Str(u"GONE"), cc::Str());
  EXPECT_EQ(Utf8(GetEnv(system_, cc::Str(u"programw6432"))), "C:\\Program Files");
  EXPECT_EQ(Utf8(GetEnv(system_, cc::Str(u"EMPTY"))), "");
  cc::Str unset = GetEnv(system_, cc::Str(u"GONE"));
  EXPECT_TRUE(unset.IsEmpty());
  EXPECT_FALSE(unset.IsNull());
}

TEST_F(SystemHelpersTest, ModulePathAndMakeAbsolute) {
  system_.SetModuleFileName(cc::Str(u"C:\\Setup Files\\setup.exe"));
  EXPECT_EQ(Utf8(GetModulePath(system_, false)), "C:\\Setup Files\\setup.exe");
  EXPECT_EQ(Utf8(GetModulePath(system_, true)), "C:\\Setup Files\\");
  struct Case {
    const char16_t* path;
    const char* absolute;
  };
  const Case kCases[] = {
      {u"readme.txt", "C:\\Setup Files\\readme.txt"},
      {u"sub\\a.txt", "C:\\Setup Files\\sub\\a.txt"},
      {u"D:\\x.txt", "D:\\x.txt"},
      {u"D:x.txt", "D:x.txt"},
      {u"\\\\server\\share\\a", "\\\\server\\share\\a"},
      {u"\\root.txt", "\\root.txt"},
      {u"/unix", "/unix"},
      {u"", "C:\\Setup Files\\"},
      {u"x", "C:\\Setup Files\\x"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(Utf8(MakeAbsolute(system_, cc::Str(kCases[i].path))), kCases[i].absolute) << "case " << i;
  }
  system_.SetModuleFileName(cc::Str(u""));
  EXPECT_EQ(Utf8(GetModulePath(system_, true)), "");
}

TEST_F(SystemHelpersTest, TempFolderAndWindowsFolderEndWithBackslash) {
  const std::pair<const char16_t*, const char*> kCases[] = {
      {u"C:\\Temp\\", "C:\\Temp\\"}, {u"C:\\Temp", "C:\\Temp\\"}, {u"", ""}};
  for (size_t i = 0; i < std::size(kCases); ++i) {
    system_.SetTempPath(cc::Str(kCases[i].first));
    system_.SetWindowsFolder(cc::Str(kCases[i].first));
    EXPECT_EQ(Utf8(GetTempFolder(system_)), kCases[i].second) << "case " << i;
    EXPECT_EQ(Utf8(GetWindowsFolder(system_)), kCases[i].second) << "case " << i;
  }
}

TEST_F(SystemHelpersTest, MakeTempFileCreatesDistinctEmptyFiles) {
  cc::Str first = MakeTempFile(system_, cc::Str(u"velmora"));
  cc::Str second = MakeTempFile(system_, cc::Str(u"ve"));
  ASSERT_FALSE(first.IsEmpty());
  ASSERT_FALSE(second.IsEmpty());
  EXPECT_FALSE(first.Equals(second, true));
  EXPECT_TRUE(first.StartsWith(GetTempFolder(system_) + cc::Str(u"vel"), true)) << Utf8(first);
  EXPECT_TRUE(second.StartsWith(GetTempFolder(system_) + cc::Str(u"ve"), true)) << Utf8(second);
  std::string bytes = "x";
  EXPECT_EQ(ReadWholeFile(platform_.fake_files, first, &bytes), 0);
  EXPECT_TRUE(FileExists(platform_.fake_files, second));

  system_.SetTempPath(cc::Str(u"C:\\NoSuchTemp\\"));
  EXPECT_EQ(Utf8(MakeTempFile(system_, cc::Str(u"ve"))), "");
}

TEST_F(SystemHelpersTest, DiskSpace) {
  const uint64_t kTotal = 500ull * 1024 * 1024 * 1024 + 123;
  const uint64_t kFree = 3ull * 1024 * 1024 + 1048575;
  system_.SetDiskSpace(cc::Str(u"C:"), kTotal, kFree);
  cc::Str total, free;
  ASSERT_TRUE(GetDiskSpace(system_, cc::Str(u"C:\\"), true, &total, &free));
  EXPECT_EQ(Utf8(total), "536870912123");
  EXPECT_EQ(Utf8(free), "4194303");
  ASSERT_TRUE(GetDiskSpace(system_, cc::Str(u"c:\\Windows"), false, &total, &free));
  EXPECT_EQ(Utf8(total), "512000");
  EXPECT_EQ(Utf8(free), "3");

  cc::Str untouched(u"-");
  EXPECT_FALSE(GetDiskSpace(system_, cc::Str(u"Q:\\"), true, &untouched, &free));
  EXPECT_EQ(Utf8(untouched), "-");
}

}  // namespace
