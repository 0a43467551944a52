#include "platform/file_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace {

using std::string_literals::operator""s;

class FileHelpersTest : public ::testing::Test {
 protected:
  std::string Bytes(const char16_t* path) {
    std::string bytes;
    EXPECT_TRUE(platform_.fake_files.GetFileBytes(cc::Str(path), &bytes)) << cc::Str(path).ToUtf8();
    return bytes;
  }
  bool Exists(const char16_t* path) { return platform_.fake_files.Exists(cc::Str(path)); }

  FakePlatform platform_;
  FakeFileSystem& files_ = platform_.fake_files;
};

TEST_F(FileHelpersTest, FileExists) {
  files_.PutFile(cc::Str(u"C:\\app\\Setup.exe"), "x");
  files_.PutFile(cc::Str(u"C:\\app\\\u00C4rger.txt"), "x");
  files_.PutFolder(cc::Str(u"C:\\app\\data"));
  struct Case {
    const char16_t* path;
    bool exists;
  };
  const Case kCases[] = {
      {u"C:\\app\\Setup.exe", true},
      {u"c:/APP/setup.EXE", true},
      {u"C:\\app\\..\\app\\.\\Setup.exe", true},
      {u"C:\\app\\\u00E4rger.txt", true},  // case ignored beyond ASCII too
      {u"", false},
      {u"C:\\app\\data", false},  // a folder
      {u"C:\\app", false},
      {u"C:\\app\\*.exe", false},  // a wildcard finds Setup.exe under another name
      {u"C:\\app\\Setup.ex?", false},
      {u"C:\\app\\*", false},
      {u"C:\\app\\Setup.exe\\", false},  // trailing separators
      {u"C:\\app\\Setup.exe/", false},
      {u"C:\\app\\data\\", false},
      {u"C:\\app\\missing.exe", false},
      {u"D:\\app\\Setup.exe", false},  // unknown volume
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(FileExists(files_, cc::Str(kCases[i].path)), kCases[i].exists) << "case " << i;
  }
}

TEST_F(FileHelpersTest, FolderExists) {
  files_.PutFile(cc::Str(u"C:\\app\\Setup.exe"), "x");
  struct Case {
    const char16_t* path;
    bool exists;
  };
  const Case kCases[] = {
      {u"C:\\app", true},        {u"C:\\app\\", true},   {u"c:/APP/", true},
      {u"C:\\", true},           {u"C:", true},          {u"", false},
      {u"C:\\app\\Setup.exe", false},  // a file
      {u"C:\\nothing", false},   {u"Q:\\", false},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(FolderExists(files_, cc::Str(kCases[i].path)), kCases[i].exists) << "case " << i;
  }
}

TEST_F(FileHelpersTest, ReadTextFileDetectsMarks) {
  struct Case {
    std::string bytes;
    int callerCodePage;
    const char* utf8;
    int codePage;
  };
  const Case kCases[] = {
      {"\xEF\xBB\xBFh\xC3\xA9", 1252, "h\xC3\xA9", 65001},
      {"\xFF\xFEh\0i\0"s, 1252, "hi", 1200},
      {"\xFE\xFF\0h\0i"s, 65001, "hi", 1200},
      {"h\xE9", 1252, "h\xC3\xA9", 1252},        // no mark: the caller's code page
      {"h\xC3\xA9", 65001, "h\xC3\xA9", 65001},
      {"h\0i\0"s, 1200, "hi", 1200},
      {"\xFF\xFE", 1252, "", 1200},               // only a mark
      {"\xEF\xBB", 1252, "\xC3\xAF\xC2\xBB", 1252},  // half a mark is text
      {"\xFF\xFEh\0i"s, 1252, "h\xEF\xBF\xBD", 1200},  // a lone last byte is damage
      {"", 65001, "", 65001},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    files_.PutFile(cc::Str(u"C:\\t.txt"), kCases[i].bytes);
    cc::Str text;
    EXPECT_EQ(ReadTextFile(files_, cc::Str(u"C:\\t.txt"), kCases[i].callerCodePage, &text),
              static_cast<int64_t>(kCases[i].bytes.size()))
        << "case " << i;
    EXPECT_EQ(text.ToUtf8(), kCases[i].utf8) << "case " << i;
    EXPECT_EQ(text.GetCodePage(), kCases[i].codePage) << "case " << i;
    EXPECT_FALSE(text.IsNull()) << "case " << i;
  }
}

TEST_F(FileHelpersTest, ReadingMissingFileFailsAndKeepsOutput) {
  cc::Str text(u"before");
  EXPECT_EQ(ReadTextFile(files_, cc::Str(u"C:\\none.txt"), 1252, &text), -1);
  EXPECT_EQ(text.ToUtf8(), "before");
  std::string bytes = "before";
  EXPECT_EQ(ReadWholeFile(files_, cc::Str(u"C:\\none.txt"), &bytes), -1);
  EXPECT_EQ(ReadWholeFile(files_, cc::Str(u"C:\\Windows"), &bytes), -1);  // a folder
  EXPECT_EQ(bytes, "before");
}

TEST_F(FileHelpersTest, ReadWholeFileHonoursLimit) {
  files_.PutFile(cc::Str(u"C:\\d.bin"), "0123456789");
  const std::pair<uint32_t, std::string> kCases[] = {
      {0, "0123456789"}, {4, "0123"}, {10, "0123456789"}, {50, "0123456789"}};
  for (size_t i = 0; i < std::size(kCases); ++i) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(files_, cc::Str(u"C:\\d.bin"), &bytes, kCases[i].first),
              static_cast<int64_t>(kCases[i].second.size()))
        << "case " << i;
    EXPECT_EQ(bytes, kCases[i].second) << "case " << i;
    EXPECT_EQ(bytes.c_str()[bytes.size()], '\0') << "case " << i;
  }
}

TEST_F(FileHelpersTest, WriteTextFileWritesMarkOfItsEncoding) {
  struct Case {
    cc::Str text;
    std::string bytes;
  };
  const Case kCases[] = {
      {cc::Str(u"hi"), "\xFF\xFEh\0i\0"s},
      {cc::Str::FromBytes("h\xC3\xA9", 3, 65001), "\xEF\xBB\xBFh\xC3\xA9"},
      {cc::Str::FromBytes("h\xE9", 2, 1252), "h\xE9"},  // no mark for ANSI code pages
      {cc::Str(u""), "\xFF\xFE"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    ASSERT_TRUE(WriteTextFile(files_, kCases[i].text, cc::Str(u"C:\\out.txt"), false)) << "case " << i;
    EXPECT_EQ(Bytes(u"C:\\out.txt"), kCases[i].bytes) << "case " << i;
  }
}

TEST_F(FileHelpersTest, WriteFileBytesMarkOnlyIntoEmptyFile) {
  struct Case {
    const char* before;  // null: no file
    bool append;
    int codePage;
    std::string after;
  };
  const Case kCases[] = {
      {nullptr, false, 65001, "\xEF\xBB\xBF" "ab"},
      {nullptr, true, 65001, "\xEF\xBB\xBF" "ab"},  // append creates a missing file
      {"", true, 1200, "\xFF\xFE" "ab"},            // an empty file gets the mark
      {"xy", true, 65001, "xyab"},                  // appending never writes a mark
      {"xy", true, 1201, "xyab"},
      {"xy", false, 1201, "\xFE\xFF" "ab"},         // rewriting starts a new file
      {nullptr, false, 1252, "ab"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    files_.RemoveFile(cc::Str(u"C:\\w.txt"));
    if (kCases[i].before) files_.PutFile(cc::Str(u"C:\\w.txt"), kCases[i].before);
    EXPECT_TRUE(WriteFileBytes(files_, cc::Str(u"C:\\w.txt"), "ab", kCases[i].codePage,
                               kCases[i].append, true))
        << "case " << i;
    EXPECT_EQ(Bytes(u"C:\\w.txt"), kCases[i].after) << "case " << i;
  }
  ASSERT_TRUE(WriteFileBytes(files_, cc::Str(u"C:\\w.txt"), "ab", 65001, false, false));
  EXPECT_EQ(Bytes(u"C:\\w.txt"), "ab");
}

TEST_F(FileHelpersTest, WriteFileBytesOverReadOnlyFile) {
  files_.PutFile(cc::Str(u"C:\\ro.txt"), "old", kFileAttributeReadOnly | kFileAttributeHidden);
  // Appending to a read-only file fails and leaves it as it was.
  EXPECT_FALSE(WriteFileBytes(files_, cc::Str(u"C:\\ro.txt"), "new", 1252, true, false));
  EXPECT_EQ(Bytes(u"C:\\ro.txt"), "old");
  // Rewriting deletes it (forced) and writes a new file.
  EXPECT_TRUE(WriteFileBytes(files_, cc::Str(u"C:\\ro.txt"), "new", 1252, false, false));
  EXPECT_EQ(Bytes(u"C:\\ro.txt"), "new");
  EXPECT_EQ(files_.GetAttributes(cc::Str(u"C:\\ro.txt")) & kFileAttributeReadOnly, 0u);
}

TEST_F(FileHelpersTest, WriteFileBytesFailures) {
  files_.PutFolder(cc::Str(u"C:\\dir"));
  const char16_t* kPaths[] = {u"C:\\missing\\w.txt", u"C:\\dir", u"C:\\dir\\", u"C:\\bad|name.txt"};
  for (size_t i = 0; i < std::size(kPaths); ++i) {
    EXPECT_FALSE(WriteFileBytes(files_, cc::Str(kPaths[i]), "ab", 1252, false, true)) << "case " << i;
    EXPECT_FALSE(WriteFileBytes(files_, cc::Str(kPaths[i]), "ab", 1252, true, true)) << "case " << i;
  }
  EXPECT_TRUE(FolderExists(files_, cc::Str(u"C:\\dir")));
}

TEST_F(FileHelpersTest, DeleteFileForced) {
  const uint32_t kAttributes[] = {kFileAttributeNormal, kFileAttributeReadOnly,
                                  kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem};
  for (size_t i = 0; i < std::size(kAttributes); ++i) {
    files_.PutFile(cc::Str(u"C:\\f.txt"), "x", kAttributes[i]);
    EXPECT_TRUE(DeleteFileForced(files_, cc::Str(u"C:\\F.TXT"))) << "case " << i;
    EXPECT_FALSE(Exists(u"C:\\f.txt")) << "case " << i;
  }
  EXPECT_FALSE(DeleteFileForced(files_, cc::Str(u"C:\\f.txt")));
  // A folder is neither deleted nor stripped of its attributes.
  files_.PutFolder(cc::Str(u"C:\\dir"));
  files_.SetAttributes(cc::Str(u"C:\\dir"), kFileAttributeReadOnly);
  EXPECT_FALSE(DeleteFileForced(files_, cc::Str(u"C:\\dir")));
  EXPECT_EQ(files_.GetAttributes(cc::Str(u"C:\\dir")), kFileAttributeDirectory | kFileAttributeReadOnly);
}

TEST_F(FileHelpersTest, DeleteFolderTree) {
  files_.PutFile(cc::Str(u"C:\\app\\a.txt"), "a");
  files_.PutFile(cc::Str(u"C:\\app\\sub\\b.txt"), "b", kFileAttributeReadOnly);
  files_.PutFile(cc::Str(u"C:\\app\\sub\\deeper\\c.txt"), "c", kFileAttributeHidden);
  files_.PutFolder(cc::Str(u"C:\\app\\empty"));
  files_.PutFile(cc::Str(u"C:\\keep\\k.txt"), "k");
  int before = files_.EntryCount();

  // Without `recursive` only an empty folder goes.
  EXPECT_FALSE(DeleteFolderTree(files_, cc::Str(u"C:\\app"), false));
  EXPECT_EQ(files_.EntryCount(), before);
  EXPECT_TRUE(DeleteFolderTree(files_, cc::Str(u"C:\\app\\empty\\"), false));

  EXPECT_TRUE(DeleteFolderTree(files_, cc::Str(u"c:/APP/"), true));
  EXPECT_FALSE(Exists(u"C:\\app"));
  EXPECT_EQ(files_.EntryCount(), before - 7);
  EXPECT_TRUE(Exists(u"C:\\keep\\k.txt"));
  EXPECT_FALSE(DeleteFolderTree(files_, cc::Str(u"C:\\app"), true));
  EXPECT_FALSE(DeleteFolderTree(files_, cc::Str(u""), true));
}

TEST_F(FileHelpersTest, DeleteFolderTreeLeavesJunctionTargets) {
  files_.PutFile(cc::Str(u"C:\\data\\precious.txt"), "p");
  files_.PutFile(cc::Str(u"C:\\app\\a.txt"), "a");
  ASSERT_TRUE(files_.PutJunction(cc::Str(u"C:\\app\\link"), cc::Str(u"C:\\data")));
  ASSERT_TRUE(FileExists(files_, cc::Str(u"C:\\app\\link\\precious.txt")));

  EXPECT_TRUE(DeleteFolderTree(files_, cc::Str(u"C:\\app"), true));
  EXPECT_FALSE(Exists(u"C:\\app"));
  EXPECT_TRUE(FileExists(files_, cc::Str(u"C:\\data\\precious.txt")));

  // The same when the folder to delete is itself the link.
  ASSERT_TRUE(files_.PutJunction(cc::Str(u"C:\\top"), cc::Str(u"C:\\data")));
  EXPECT_TRUE(DeleteFolderTree(files_, cc::Str(u"C:\\top\\"), true));
  EXPECT_FALSE(Exists(u"C:\\top"));
  EXPECT_TRUE(FileExists(files_, cc::Str(u"C:\\data\\precious.txt")));
}

TEST_F(FileHelpersTest, MakeFolderTree) {
  files_.PutFile(cc::Str(u"C:\\file.txt"), "x");
  struct Case {
    const char16_t* path;
    bool made;
    const char16_t* check;  // a folder that must exist afterwards
  };
  const Case kCases[] = {
      {u"C:\\a\\b\\c\\", true, u"C:\\a\\b\\c"},
      {u"C:\\a\\b\\c", true, u"C:\\a\\b\\c"},  // exists already
      {u"c:/x/y", true, u"C:\\X\\Y"},
      {u"C:\\a\\\\d\\", true, u"C:\\a\\d"},     // doubled separators
      {u"C:\\", true, u"C:\\"},
      {u"C:\\file.txt\\sub", false, nullptr},  // a file stands in the way
      {u"Q:\\new", false, nullptr},             // no such volume
      {u"", false, nullptr},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(MakeFolderTree(files_, cc::Str(kCases[i].path)), kCases[i].made) << "case " << i;
    if (kCases[i].check) {
      EXPECT_TRUE(FolderExists(files_, cc::Str(kCases[i].check))) << "case " << i;
    }
  }
  // MakeFolder makes one level only.
  EXPECT_FALSE(MakeFolder(files_, cc::Str(u"C:\\p\\q")));
  EXPECT_TRUE(MakeFolder(files_, cc::Str(u"C:\\p\\")));
  EXPECT_TRUE(MakeFolder(files_, cc::Str(u"C:\\p")));
  EXPECT_FALSE(MakeFolder(files_, cc::Str(u"C:\\file.txt")));
}

// What making a folder would create, outermost first; never a drive or a
// server, whose names are where the climb ends.
TEST_F(FileHelpersTest, MissingFolders) {
  files_.PutFolder(cc::Str(u"C:\\Vendor"));
  struct Case {
    const char16_t* path;
    std::vector<std::u16string> missing;
  };
  const Case kCases[] = {
      {u"C:\\Vendor\\App\\Tools\\", {u"C:\\Vendor\\App", u"C:\\Vendor\\App\\Tools"}},
      {u"C:\\New", {u"C:\\New"}},
      {u"c:/x/y", {u"c:/x", u"c:/x/y"}},
      {u"C:\\Vendor\\", {}},
      {u"C:\\", {}},
      {u"Q:\\new", {u"Q:\\new"}},  // the volume itself is never made
      {u"\\\\server\\share\\x", {u"\\\\server\\share", u"\\\\server\\share\\x"}},
      {u"", {}},
  };
  for (const Case& c : kCases) {
    std::vector<std::u16string> got;
    for (const cc::Str& folder : MissingFolders(files_, cc::Str(c.path))) got.emplace_back(folder.View());
    EXPECT_EQ(got, c.missing) << cc::Str(c.path).ToUtf8();
  }
}

TEST_F(FileHelpersTest, CopyFileTo) {
  files_.PutFile(cc::Str(u"C:\\src.txt"), "new");
  files_.PutFile(cc::Str(u"C:\\dst.txt"), "old");
  EXPECT_FALSE(CopyFileTo(files_, cc::Str(u"C:\\src.txt"), cc::Str(u"C:\\dst.txt"), true));
  EXPECT_EQ(Bytes(u"C:\\dst.txt"), "old");
  EXPECT_TRUE(CopyFileTo(files_, cc::Str(u"C:\\src.txt"), cc::Str(u"C:\\dst.txt"), false));
  EXPECT_EQ(Bytes(u"C:\\dst.txt"), "new");
  EXPECT_FALSE(CopyFileTo(files_, cc::Str(u"C:\\none.txt"), cc::Str(u"C:\\x.txt"), false));
  EXPECT_FALSE(CopyFileTo(files_, cc::Str(u"C:\\src.txt"), cc::Str(u"C:\\nodir\\x.txt"), false));
  EXPECT_EQ(GetFileWriteTime(platform_, cc::Str(u"C:\\dst.txt"), false),
            GetFileWriteTime(platform_, cc::Str(u"C:\\src.txt"), false));
}

TEST_F(FileHelpersTest, WriteTimes) {
  files_.PutFile(cc::Str(u"C:\\first.txt"), "1");
  files_.PutFile(cc::Str(u"C:\\second.txt"), "2");
  uint64_t first = GetFileWriteTime(platform_, cc::Str(u"C:\\first.txt"), false);
  uint64_t second = GetFileWriteTime(platform_, cc::Str(u"C:\\second.txt"), false);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(CompareFileTimes(first, second), -1);
  EXPECT_EQ(CompareFileTimes(second, first), 1);
  EXPECT_EQ(CompareFileTimes(first, first), 0);
  EXPECT_EQ(GetFileWriteTime(platform_, cc::Str(u"C:\\none.txt"), true), 0u);

  const int64_t kTwoHours = 2LL * 3600 * 10000000;
  platform_.fake_system.SetLocalTimeOffset(kTwoHours);
  EXPECT_EQ(GetFileWriteTime(platform_, cc::Str(u"C:\\first.txt"), true), first + kTwoHours);
  EXPECT_EQ(GetFileWriteTime(platform_, cc::Str(u"C:\\first.txt"), false), first);
}

TEST_F(FileHelpersTest, ReadTextResource) {
  platform_.fake_resources.Put(cc::Str(u"BIN"), 7, "\xEF\xBB\xBFscript");
  cc::Str text(u"before");
  EXPECT_EQ(ReadTextResource(platform_.fake_resources, 7, cc::Str(u"bin"), 1252, &text), 9);
  EXPECT_EQ(text.ToUtf8(), "script");
  EXPECT_EQ(text.GetCodePage(), 65001);
  cc::Str missing(u"before");
  EXPECT_EQ(ReadTextResource(platform_.fake_resources, 8, cc::Str(u"BIN"), 1252, &missing), -1);
  EXPECT_EQ(missing.ToUtf8(), "before");
}

}  // namespace
