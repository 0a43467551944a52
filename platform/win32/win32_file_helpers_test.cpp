// The file helpers against real files in the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "platform/win32/win32_platform.h"

namespace {

using std::string_literals::operator""s;

class Win32FileHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = GetTempFolder(*platform_->system) +
            cc::Str::Formatted(u"velmora-files-%u\\", static_cast<unsigned>(GetCurrentProcessId()));
    DeleteFolderTree(files_, root_, true);
    ASSERT_TRUE(MakeFolderTree(files_, root_)) << root_.ToUtf8();
  }
  void TearDown() override { EXPECT_TRUE(DeleteFolderTree(files_, root_, true)); }

  cc::Str Path(const char16_t* relative) { return root_ + cc::Str(relative); }
  std::string Raw(const char16_t* relative) {
    std::string bytes;
    EXPECT_GE(ReadWholeFile(files_, Path(relative), &bytes), 0) << cc::Str(relative).ToUtf8();
    return bytes;
  }

  std::unique_ptr<Platform> platform_ = CreateWin32Platform();
  FileSystem& files_ = *platform_->files;
  cc::Str root_;
};

TEST_F(Win32FileHelpersTest, FileExistsOnRealFiles) {
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"Setup.exe"), "x", 1252, false, false));
  ASSERT_TRUE(MakeFolder(files_, Path(u"data")));
  struct Case {
    const char16_t* relative;
    bool exists;
  };
  const Case kCases[] = {
      {u"Setup.exe", true},   {u"SETUP.EXE", true},   {u"data", false},
      {u"*.exe", false},      {u"Setup.ex?", false},  {u"*", false},
      {u"Setup.exe\\", false}, {u"Setup.exe/", false}, {u"data\\", false},
      {u"missing.exe", false},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(FileExists(files_, Path(kCases[i].relative)), kCases[i].exists) << "case " << i;
  }
  EXPECT_TRUE(FolderExists(files_, Path(u"data")));
  EXPECT_TRUE(FolderExists(files_, Path(u"data\\")));
  EXPECT_FALSE(FolderExists(files_, Path(u"Setup.exe")));
}

TEST_F(Win32FileHelpersTest, MarksWrittenAndRead) {
  ASSERT_TRUE(WriteTextFile(files_, cc::Str(u"h\u00E9"), Path(u"u16.txt"), false));
  EXPECT_EQ(Raw(u"u16.txt"), "\xFF\xFEh\0\xE9\0"s);
  ASSERT_TRUE(WriteTextFile(files_, cc::Str(u"!"), Path(u"u16.txt"), true));
  EXPECT_EQ(Raw(u"u16.txt"), "\xFF\xFEh\0\xE9\0!\0"s);  // no second mark

  ASSERT_TRUE(WriteFileBytes(files_, Path(u"u8.txt"), "h\xC3\xA9", 65001, true, true));
  EXPECT_EQ(Raw(u"u8.txt"), "\xEF\xBB\xBFh\xC3\xA9");
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"u8.txt"), "!", 65001, true, true));
  EXPECT_EQ(Raw(u"u8.txt"), "\xEF\xBB\xBFh\xC3\xA9!");

  struct Case {
    const char16_t* relative;
    int callerCodePage;
    const char* utf8;
  };
  const Case kCases[] = {
      {u"u16.txt", 1252, "h\xC3\xA9!"},
      {u"u8.txt", 1252, "h\xC3\xA9!"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    cc::Str text;
    EXPECT_GT(ReadTextFile(files_, Path(kCases[i].relative), kCases[i].callerCodePage, &text), 0)
        << "case " << i;
    EXPECT_EQ(text.ToUtf8(), kCases[i].utf8) << "case " << i;
  }
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"plain.txt"), "h\xE9", 1252, false, true));
  cc::Str plain;
  EXPECT_EQ(ReadTextFile(files_, Path(u"plain.txt"), 1252, &plain), 2);
  EXPECT_EQ(plain.ToUtf8(), "h\xC3\xA9");
  EXPECT_EQ(ReadTextFile(files_, Path(u"none.txt"), 1252, &plain), -1);
}

TEST_F(Win32FileHelpersTest, ReadOnlyFilesAndTrees) {
  ASSERT_TRUE(MakeFolderTree(files_, Path(u"a\\b\\c\\")));
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"a\\b\\ro.txt"), "old", 1252, false, false));
  ASSERT_TRUE(files_.SetAttributes(Path(u"a\\b\\ro.txt"), kFileAttributeReadOnly));
  EXPECT_NE(files_.GetAttributes(Path(u"a\\b\\ro.txt")) & kFileAttributeReadOnly, 0u);
  // Wine run as root lets a read-only file be deleted or opened for writing
  // (the attribute is only a permission bit there), so the refusals that
  // Windows makes are shown with the fake. Rewriting replaces the file.
  EXPECT_TRUE(WriteFileBytes(files_, Path(u"a\\b\\ro.txt"), "new", 1252, false, false));
  EXPECT_EQ(Raw(u"a\\b\\ro.txt"), "new");
  EXPECT_EQ(files_.GetAttributes(Path(u"a\\b\\ro.txt")) & kFileAttributeReadOnly, 0u);
  ASSERT_TRUE(files_.SetAttributes(Path(u"a\\b\\ro.txt"), kFileAttributeReadOnly));
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"a\\b\\c\\d.txt"), "d", 1252, false, false));

  std::vector<FoundFile> entries;
  ASSERT_TRUE(files_.ListFolder(Path(u"a\\b"), &entries));
  EXPECT_EQ(entries.size(), 2u);  // "c" and "ro.txt", no dot entries

  EXPECT_FALSE(DeleteFolderTree(files_, Path(u"a"), false));
  EXPECT_TRUE(DeleteFolderTree(files_, Path(u"a\\"), true));
  EXPECT_FALSE(FolderExists(files_, Path(u"a")));

  ASSERT_TRUE(WriteFileBytes(files_, Path(u"ro2.txt"), "x", 1252, false, false));
  ASSERT_TRUE(files_.SetAttributes(Path(u"ro2.txt"), kFileAttributeReadOnly | kFileAttributeHidden));
  EXPECT_TRUE(DeleteFileForced(files_, Path(u"ro2.txt")));
  EXPECT_FALSE(FileExists(files_, Path(u"ro2.txt")));
  EXPECT_FALSE(DeleteFileForced(files_, Path(u"ro2.txt")));
}

TEST_F(Win32FileHelpersTest, CopyAndTimes) {
  ASSERT_TRUE(WriteFileBytes(files_, Path(u"src.txt"), "src", 1252, false, false));
  FileTimes old_times;
  old_times.last_write = 130000000000000000ull;  // 2012
  ASSERT_TRUE(files_.SetTimes(Path(u"src.txt"), old_times));
  EXPECT_EQ(GetFileWriteTime(*platform_, Path(u"src.txt"), false), old_times.last_write);
  EXPECT_EQ(GetFileWriteTime(*platform_, Path(u"none.txt"), false), 0u);

  EXPECT_TRUE(CopyFileTo(files_, Path(u"src.txt"), Path(u"dst.txt"), true));
  EXPECT_FALSE(CopyFileTo(files_, Path(u"src.txt"), Path(u"dst.txt"), true));
  EXPECT_EQ(Raw(u"dst.txt"), "src");
  EXPECT_EQ(GetFileWriteTime(*platform_, Path(u"dst.txt"), false), old_times.last_write);

  ASSERT_TRUE(WriteFileBytes(files_, Path(u"newer.txt"), "n", 1252, false, false));
  EXPECT_EQ(CompareFileTimes(GetFileWriteTime(*platform_, Path(u"src.txt"), false),
                             GetFileWriteTime(*platform_, Path(u"newer.txt"), false)),
            -1);
}

}  // namespace
