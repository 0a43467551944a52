#include "platform/fake/fake_file_system.h"

#include <gtest/gtest.h>

#include "platform/file_system_contract.h"

namespace {

cc::Str S(const char16_t* text) { return cc::Str(text); }

TEST(FakeFileSystemTest, BehavesAsTheRealFileSystemDoes) {
  FakeFileSystem files;
  CheckFileSystemContract(files, S(u"C:\\Contract"));
}

TEST(FakeFileSystemTest, WindowsPathRules) {
  FakeFileSystem files;
  ASSERT_TRUE(files.PutFile(S(u"C:\\Dir\\File.txt"), "x"));
  struct Case {
    const char16_t* path;
    bool same_file;
  };
  const Case kCases[] = {
      {u"C:\\Dir\\File.txt", true},
      {u"c:/dir/FILE.TXT", true},
      {u"C:\\DIR\\.\\File.txt", true},
      {u"C:\\Dir\\sub\\..\\File.txt", true},
      {u"C:\\..\\Dir\\File.txt", true},  // ".." stops at the root
      {u"C:\\Dir\\\\File.txt", true},
      {u"C:\\Dir\\File.txt. ", true},    // trailing dots and blanks dropped
      {u"\\Dir\\File.txt", true},        // the current drive
      {u"Dir\\File.txt", true},          // the current folder C:\ .
      {u"C:Dir\\File.txt", true},
      {u"C:\\Dir\\File.txt\\", false},   // a file followed by a separator
      {u"D:\\Dir\\File.txt", false},
      {u"C:\\Dir\\File.tx", false},
      {u"C:\\Dir\\File.txt:stream", false},
      {u"C:\\Dir\\Fi*e.txt", false},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    std::string bytes;
    EXPECT_EQ(files.GetFileBytes(S(kCases[i].path), &bytes), kCases[i].same_file) << "case " << i;
    EXPECT_EQ(files.GetAttributes(S(kCases[i].path)) != kInvalidFileAttributes, kCases[i].same_file)
        << "case " << i;
  }
}

TEST(FakeFileSystemTest, FindKeepsSpellingAndMatchesWildcards) {
  FakeFileSystem files;
  files.PutFile(S(u"C:\\App\\ReadMe.TXT"), "x");
  files.PutFile(S(u"C:\\App\\setup.exe"), "x");
  files.PutFolder(S(u"C:\\App\\Data"));
  struct Case {
    const char16_t* pattern;
    const char* found;  // null: nothing
  };
  const Case kCases[] = {
      {u"c:\\app\\readme.txt", "ReadMe.TXT"}, {u"C:\\App\\*.exe", "setup.exe"},
      {u"C:\\App\\r?adme.*", "ReadMe.TXT"},    {u"C:\\App\\d*", "Data"},
      {u"C:\\App\\*.dll", nullptr},            {u"C:\\App\\", nullptr},
      {u"C:\\", nullptr},                      {u"C:\\*", "App"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    FoundFile found;
    bool ok = files.FindFirst(S(kCases[i].pattern), &found);
    EXPECT_EQ(ok, kCases[i].found != nullptr) << "case " << i;
    if (ok && kCases[i].found) {
      EXPECT_EQ(found.name.ToUtf8(), kCases[i].found) << "case " << i;
    }
  }
  std::vector<FoundFile> entries;
  ASSERT_TRUE(files.ListFolder(S(u"c:/app/"), &entries));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name.ToUtf8(), "Data");
  EXPECT_EQ(entries[0].attributes, kFileAttributeDirectory);
  EXPECT_EQ(entries[1].name.ToUtf8(), "ReadMe.TXT");
  EXPECT_EQ(entries[2].name.ToUtf8(), "setup.exe");
  EXPECT_FALSE(files.ListFolder(S(u"C:\\App\\setup.exe"), &entries));
}

TEST(FakeFileSystemTest, ReadOnlyFilesAndFolderRules) {
  FakeFileSystem files;
  files.PutFile(S(u"C:\\ro.txt"), "keep", kFileAttributeReadOnly);
  files.PutFile(S(u"C:\\src.txt"), "new");
  EXPECT_FALSE(files.RemoveFile(S(u"C:\\ro.txt")));
  EXPECT_EQ(files.Open(S(u"C:\\ro.txt"), OpenMode::kCreate), nullptr);
  EXPECT_EQ(files.Open(S(u"C:\\ro.txt"), OpenMode::kOpenAlways), nullptr);
  EXPECT_NE(files.Open(S(u"C:\\ro.txt"), OpenMode::kRead), nullptr);
  EXPECT_FALSE(files.Copy(S(u"C:\\src.txt"), S(u"C:\\ro.txt"), false));
  std::string bytes;
  ASSERT_TRUE(files.GetFileBytes(S(u"C:\\ro.txt"), &bytes));
  EXPECT_EQ(bytes, "keep");
  EXPECT_TRUE(files.SetAttributes(S(u"C:\\ro.txt"), 0));
  EXPECT_EQ(files.GetAttributes(S(u"C:\\ro.txt")), kFileAttributeNormal);
  EXPECT_TRUE(files.RemoveFile(S(u"C:\\ro.txt")));

  files.PutFile(S(u"C:\\d\\f.txt"), "x");
  EXPECT_FALSE(files.RemoveFolder(S(u"C:\\d")));  // not empty
  EXPECT_FALSE(files.RemoveFile(S(u"C:\\d")));    // a folder
  EXPECT_FALSE(files.CreateFolder(S(u"C:\\d")));  // exists
  EXPECT_FALSE(files.CreateFolder(S(u"C:\\x\\y")));  // no parent
  EXPECT_FALSE(files.CreateFolder(S(u"C:\\d\\f.txt\\z")));  // parent is a file
  EXPECT_EQ(files.Open(S(u"C:\\d"), OpenMode::kRead), nullptr);
  EXPECT_TRUE(files.RemoveFile(S(u"C:\\d\\f.txt")));
  EXPECT_TRUE(files.RemoveFolder(S(u"C:\\d\\")));
  EXPECT_FALSE(files.RemoveFolder(S(u"C:\\")));
}

TEST(FakeFileSystemTest, FileBlocksAndTimes) {
  FakeFileSystem files;
  std::unique_ptr<File> file = files.Open(S(u"C:\\f.bin"), OpenMode::kCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("abcdef", 6));
  EXPECT_EQ(file->Seek(2, SeekFrom::kBegin), 2);
  EXPECT_TRUE(file->Write("XY", 2));
  EXPECT_EQ(file->Seek(0, SeekFrom::kEnd), 6);
  EXPECT_EQ(file->Read(nullptr, 0), 0);
  EXPECT_TRUE(file->Flush());
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_FALSE(file->Write("z", 1));

  std::unique_ptr<File> reader = files.Open(S(u"C:\\F.BIN"), OpenMode::kRead);
  ASSERT_NE(reader, nullptr);
  char buffer[4];
  EXPECT_EQ(reader->Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "abXY");
  EXPECT_EQ(reader->Read(buffer, 4), 2);
  EXPECT_EQ(reader->Read(buffer, 4), 0);
  EXPECT_FALSE(reader->Write("z", 1));

  FileTimes times;
  ASSERT_TRUE(files.GetTimes(S(u"C:\\f.bin"), &times));
  FileTimes set;
  set.last_write = 42;
  EXPECT_TRUE(files.SetTimes(S(u"C:\\f.bin"), set));
  FileTimes after;
  ASSERT_TRUE(files.GetTimes(S(u"C:\\f.bin"), &after));
  EXPECT_EQ(after.last_write, 42u);
  EXPECT_EQ(after.creation, times.creation);
  EXPECT_FALSE(files.SetTimes(S(u"C:\\none"), set));
}

TEST(FakeFileSystemTest, VolumesAndJunctions) {
  FakeFileSystem files;
  EXPECT_FALSE(files.PutFile(S(u"\\\\srv\\share\\a.txt"), "x"));
  EXPECT_TRUE(files.AddVolume(S(u"\\\\srv\\share")));
  EXPECT_TRUE(files.PutFile(S(u"\\\\SRV\\Share\\a.txt"), "x"));
  EXPECT_TRUE(files.Exists(S(u"//srv/share/A.TXT")));
  EXPECT_TRUE(files.AddVolume(S(u"d:\\")));
  EXPECT_TRUE(files.PutFolder(S(u"D:\\x")));
  EXPECT_FALSE(files.AddVolume(S(u"notaroot")));
  EXPECT_FALSE(files.AddVolume(S(u"E:\\sub")));

  files.PutFile(S(u"D:\\x\\t.txt"), "t");
  ASSERT_TRUE(files.PutJunction(S(u"C:\\link"), S(u"D:\\x")));
  EXPECT_EQ(files.GetAttributes(S(u"C:\\link")), kFileAttributeDirectory | kFileAttributeReparsePoint);
  EXPECT_TRUE(files.Exists(S(u"C:\\link\\t.txt")));
  std::vector<FoundFile> entries;
  ASSERT_TRUE(files.ListFolder(S(u"C:\\link"), &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name.ToUtf8(), "t.txt");
  EXPECT_TRUE(files.RemoveFolder(S(u"C:\\link")));  // the link goes, its target stays
  EXPECT_TRUE(files.Exists(S(u"D:\\x\\t.txt")));
}

}  // namespace
