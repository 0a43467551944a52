// Behaviour every FileSystem implementation shares, checked against the
// in-memory file system natively and against the real one under Wine, so
// that the path rules the engines' tests rely on are those of the system.
// `base` names a folder (full path, no trailing separator) whose parent
// exists and which the check may create; it is removed again at the end.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace file_system_contract {

inline bool WriteBytes(FileSystem& files, const cc::Str& path, const std::string& bytes) {
  std::unique_ptr<File> file = files.Open(path, OpenMode::kCreate);
  return file && file->Write(bytes.data(), static_cast<int>(bytes.size())) && file->Close();
}

// The whole content, or "<unreadable>".
inline std::string ReadBytes(FileSystem& files, const cc::Str& path) {
  std::unique_ptr<File> file = files.Open(path, OpenMode::kRead);
  if (!file) return "<unreadable>";
  std::string bytes;
  char block[64];
  int got = 0;
  while ((got = file->Read(block, sizeof block)) > 0) bytes.append(block, static_cast<size_t>(got));
  return got < 0 ? "<unreadable>" : bytes;
}

inline bool Exists(FileSystem& files, const cc::Str& path) {
  return files.GetAttributes(path) != kInvalidFileAttributes;
}

// A path names the file it should whatever its spelling, and nothing else.
inline void CheckPathSpellings(FileSystem& files, const cc::Str& base) {
  ASSERT_TRUE(files.CreateFolder(base + cc::Str(u"\\Dir")));
  ASSERT_TRUE(WriteBytes(files, base + cc::Str(u"\\Dir\\File.txt"), "x"));
  struct Case {
    const char16_t* relative;
    bool names_the_file;
  };
  const Case cases[] = {
      {u"\\Dir\\File.txt", true},
      {u"/dir/FILE.TXT", true},
      {u"\\DIR\\.\\File.txt", true},
      {u"\\Dir\\sub\\..\\File.txt", true},
      {u"\\Dir\\\\File.txt", true},
      {u"\\Dir\\File.txt. ", true},  // trailing dots and blanks are dropped
      {u"\\Dir\\File.txt.", true},
      {u"\\Dir\\File.txt\\", false},  // a file followed by a separator
      {u"\\Dir\\File.txt/", false},
      {u"\\Dir\\File.tx", false},
      {u"\\Dir\\Fi*e.txt", false},
      {u"\\Dir\\Fi?e.txt", false},
      {u"\\Dir\\File.txt\\..\\File.txt", true},
  };
  for (const Case& c : cases) {
    const cc::Str path = base + cc::Str(c.relative);
    SCOPED_TRACE(path.ToUtf8());
    EXPECT_EQ(Exists(files, path), c.names_the_file);
    EXPECT_EQ(ReadBytes(files, path), c.names_the_file ? "x" : "<unreadable>");
  }
  // A folder may be named with or without a final separator.
  for (const char16_t* folder : {u"\\Dir", u"\\Dir\\", u"\\dir/"}) {
    SCOPED_TRACE(cc::Str(folder).ToUtf8());
    EXPECT_NE(files.GetAttributes(base + cc::Str(folder)) & kFileAttributeDirectory, 0u);
  }
  // A name is stored without its trailing dots and blanks.
  ASSERT_TRUE(WriteBytes(files, base + cc::Str(u"\\Dir\\Dot.txt. "), "d"));
  FoundFile found;
  ASSERT_TRUE(files.FindFirst(base + cc::Str(u"\\Dir\\dot.TXT"), &found));
  EXPECT_EQ(found.name.ToUtf8(), "Dot.txt");
  // Characters no file name may hold.
  for (const char16_t* name : {u"\\a<b", u"\\a>b", u"\\a|b", u"\\a\"b"}) {
    SCOPED_TRACE(cc::Str(name).ToUtf8());
    EXPECT_FALSE(files.CreateFolder(base + cc::Str(name)));
    EXPECT_EQ(files.Open(base + cc::Str(name), OpenMode::kCreate), nullptr);
  }
}

// Searches keep the stored spelling; listings hold every entry but "." and
// "..". The order of a listing is the system's, so it is compared sorted.
inline void CheckFindAndList(FileSystem& files, const cc::Str& base) {
  const cc::Str app = base + cc::Str(u"\\App");
  ASSERT_TRUE(files.CreateFolder(app));
  ASSERT_TRUE(WriteBytes(files, app + cc::Str(u"\\ReadMe.TXT"), "r"));
  ASSERT_TRUE(WriteBytes(files, app + cc::Str(u"\\setup.exe"), "setup"));
  ASSERT_TRUE(files.CreateFolder(app + cc::Str(u"\\Data")));
  struct Case {
    const char16_t* pattern;
    const char* found;  // null: nothing
  };
  const Case cases[] = {
      {u"\\app\\readme.txt", "ReadMe.TXT"}, {u"\\App\\*.exe", "setup.exe"},
      {u"\\App\\r?adme.*", "ReadMe.TXT"},   {u"\\App\\d*", "Data"},
      {u"\\App\\*.dll", nullptr},           {u"\\App\\", nullptr},
      {u"\\Missing\\*", nullptr},           {u"\\App\\setup.exe\\", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(cc::Str(c.pattern).ToUtf8());
    FoundFile found;
    const bool ok = files.FindFirst(base + cc::Str(c.pattern), &found);
    EXPECT_EQ(ok, c.found != nullptr);
    if (ok && c.found) EXPECT_EQ(found.name.ToUtf8(), c.found);
  }
  FoundFile setup;
  ASSERT_TRUE(files.FindFirst(app + cc::Str(u"\\setup.exe"), &setup));
  EXPECT_EQ(setup.size, 5u);
  EXPECT_EQ(setup.attributes & kFileAttributeDirectory, 0u);

  std::vector<FoundFile> entries;
  ASSERT_TRUE(files.ListFolder(base + cc::Str(u"\\app/"), &entries));
  std::vector<std::string> names;
  for (const FoundFile& entry : entries) {
    names.push_back(entry.name.ToUtf8() + ((entry.attributes & kFileAttributeDirectory) ? "\\" : ""));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Data\\", "ReadMe.TXT", "setup.exe"}));
  EXPECT_FALSE(files.ListFolder(app + cc::Str(u"\\setup.exe"), &entries));
  EXPECT_FALSE(files.ListFolder(base + cc::Str(u"\\Missing"), &entries));
}

// What creating, removing, opening, copying and moving refuse.
inline void CheckRefusals(FileSystem& files, const cc::Str& base) {
  const cc::Str folder = base + cc::Str(u"\\d");
  const cc::Str inner = folder + cc::Str(u"\\f.txt");
  const cc::Str readOnly = base + cc::Str(u"\\ro.txt");
  const cc::Str source = base + cc::Str(u"\\src.txt");
  ASSERT_TRUE(files.CreateFolder(folder));
  ASSERT_TRUE(WriteBytes(files, inner, "inner"));
  ASSERT_TRUE(WriteBytes(files, readOnly, "keep"));
  ASSERT_TRUE(WriteBytes(files, source, "new"));
  ASSERT_TRUE(files.SetAttributes(readOnly, kFileAttributeReadOnly));
  EXPECT_NE(files.GetAttributes(readOnly) & kFileAttributeReadOnly, 0u);

  struct Case {
    const char* what;
    bool done;
  };
  const Case cases[] = {
      {"create an existing folder", files.CreateFolder(folder)},
      {"create a folder where a file is", files.CreateFolder(inner)},
      {"create a folder without its parent", files.CreateFolder(base + cc::Str(u"\\x\\y"))},
      {"create a folder below a file", files.CreateFolder(inner + cc::Str(u"\\z"))},
      {"remove a folder that is not empty", files.RemoveFolder(folder)},
      {"remove a folder as a file", files.RemoveFile(folder)},
      {"remove a file as a folder", files.RemoveFolder(inner)},
      {"remove a missing file", files.RemoveFile(base + cc::Str(u"\\none.txt"))},
      {"remove a missing folder", files.RemoveFolder(base + cc::Str(u"\\none"))},
      {"remove a read-only file", files.RemoveFile(readOnly)},
      {"open a missing file", files.Open(base + cc::Str(u"\\none.txt"), OpenMode::kRead) != nullptr},
      {"create a file in a missing folder",
       files.Open(base + cc::Str(u"\\none\\f.txt"), OpenMode::kCreate) != nullptr},
      {"open a folder", files.Open(folder, OpenMode::kRead) != nullptr},
      {"replace a read-only file", files.Open(readOnly, OpenMode::kCreate) != nullptr},
      {"write to a read-only file", files.Open(readOnly, OpenMode::kOpenAlways) != nullptr},
      {"copy onto a read-only file", files.Copy(source, readOnly, false)},
      {"copy onto an existing file when told not to", files.Copy(source, inner, true)},
      {"copy a missing file", files.Copy(base + cc::Str(u"\\none.txt"), inner, false)},
      {"copy into a missing folder", files.Copy(source, base + cc::Str(u"\\none\\f.txt"), false)},
      {"move onto an existing file when told not to", files.Move(source, inner, false)},
      {"move onto a read-only file", files.Move(source, readOnly, true)},
      {"move a missing file", files.Move(base + cc::Str(u"\\none.txt"), inner, true)},
      {"times of a missing file", files.SetTimes(base + cc::Str(u"\\none.txt"), FileTimes{0, 0, 1})},
      {"attributes of a missing file", files.SetAttributes(base + cc::Str(u"\\none.txt"), 0)},
  };
  for (const Case& c : cases) EXPECT_FALSE(c.done) << c.what;
  EXPECT_EQ(ReadBytes(files, readOnly), "keep");
  EXPECT_EQ(ReadBytes(files, inner), "inner");
  EXPECT_EQ(ReadBytes(files, source), "new");
  EXPECT_NE(files.Open(readOnly, OpenMode::kRead), nullptr);

  ASSERT_TRUE(files.SetAttributes(readOnly, kFileAttributeNormal));
  EXPECT_EQ(files.GetAttributes(readOnly) & kFileAttributeReadOnly, 0u);
  EXPECT_TRUE(files.RemoveFile(readOnly));
  EXPECT_FALSE(Exists(files, readOnly));
}

// Copying and moving carry the content; a move leaves no source behind.
inline void CheckCopyAndMove(FileSystem& files, const cc::Str& base) {
  const cc::Str a = base + cc::Str(u"\\a.txt");
  const cc::Str b = base + cc::Str(u"\\b.txt");
  const cc::Str c = base + cc::Str(u"\\c.txt");
  ASSERT_TRUE(WriteBytes(files, a, "first"));
  ASSERT_TRUE(WriteBytes(files, b, "second"));
  FileTimes stamp;
  stamp.last_write = 133485408000000000ull;  // whole seconds: every file system keeps them
  ASSERT_TRUE(files.SetTimes(a, stamp));

  EXPECT_TRUE(files.Copy(a, c, true));
  EXPECT_EQ(ReadBytes(files, c), "first");
  FileTimes copied;
  ASSERT_TRUE(files.GetTimes(c, &copied));
  EXPECT_EQ(copied.last_write, stamp.last_write);
  EXPECT_TRUE(files.Copy(b, c, false));
  EXPECT_EQ(ReadBytes(files, c), "second");

  EXPECT_TRUE(files.Move(a, c, true));
  EXPECT_EQ(ReadBytes(files, c), "first");
  EXPECT_FALSE(Exists(files, a));
  EXPECT_TRUE(files.Move(c, a, false));
  EXPECT_EQ(ReadBytes(files, a), "first");
  EXPECT_FALSE(Exists(files, c));
}

// An open file reads and writes in blocks at its position.
inline void CheckFileBlocks(FileSystem& files, const cc::Str& base) {
  const cc::Str path = base + cc::Str(u"\\f.bin");
  std::unique_ptr<File> file = files.Open(path, OpenMode::kCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("abcdef", 6));
  EXPECT_EQ(file->Seek(2, SeekFrom::kBegin), 2);
  EXPECT_TRUE(file->Write("XY", 2));
  EXPECT_EQ(file->Seek(0, SeekFrom::kEnd), 6);
  EXPECT_EQ(file->Size(), 6);
  EXPECT_TRUE(file->Flush());
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_FALSE(file->Write("z", 1));

  std::unique_ptr<File> reader = files.Open(path, OpenMode::kRead);
  ASSERT_NE(reader, nullptr);
  char buffer[4];
  EXPECT_EQ(reader->Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "abXY");
  EXPECT_EQ(reader->Read(buffer, 4), 2);
  EXPECT_EQ(reader->Read(buffer, 4), 0);
  EXPECT_FALSE(reader->Write("z", 1));
  reader.reset();

  // Opened to write, an existing file keeps its content until written over.
  std::unique_ptr<File> again = files.Open(path, OpenMode::kOpenAlways);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->Write("Q", 1));
  EXPECT_TRUE(again->Close());
  EXPECT_EQ(ReadBytes(files, path), "QbXYef");
  std::unique_ptr<File> fresh = files.Open(path, OpenMode::kCreate);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->Close());
  EXPECT_EQ(ReadBytes(files, path), "");
}

// An open new file takes its times and its name without being closed; a
// name that is taken is refused and both files stay as they were. Times set
// after the last write survive the rename and the close.
inline void CheckOpenFileTimesAndName(FileSystem& files, const cc::Str& base) {
  const cc::Str partial = base + cc::Str(u"\\new.bin.part");
  const cc::Str target = base + cc::Str(u"\\new.bin");
  FileTimes stamp;
  stamp.last_write = 133485408000000000ull;  // whole seconds: every file system keeps them
  std::unique_ptr<File> file = files.Open(partial, OpenMode::kCreateToRename);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("payload", 7));
  EXPECT_TRUE(file->Flush());
  EXPECT_TRUE(file->SetTimes(stamp));
  EXPECT_TRUE(file->RenameTo(target));
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(Exists(files, partial));
  EXPECT_EQ(ReadBytes(files, target), "payload");
  FileTimes kept;
  ASSERT_TRUE(files.GetTimes(target, &kept));
  EXPECT_EQ(kept.last_write, stamp.last_write);

  std::unique_ptr<File> second = files.Open(partial, OpenMode::kCreateToRename);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->Write("other", 5));
  EXPECT_FALSE(second->RenameTo(target));
  EXPECT_TRUE(second->Close());
  EXPECT_EQ(ReadBytes(files, partial), "other");
  EXPECT_EQ(ReadBytes(files, target), "payload");
  EXPECT_FALSE(second->RenameTo(target));  // closed

  // A file opened plainly stays readable by others while it is open (one
  // opened to be renamed would ask them to share its deletion).
  std::unique_ptr<File> plain = files.Open(partial, OpenMode::kCreate);
  ASSERT_NE(plain, nullptr);
  EXPECT_NE(files.Open(partial, OpenMode::kRead), nullptr);
  EXPECT_TRUE(plain->Close());
}

// Removes what the checks left below `folder`, and the folder.
inline void RemoveTree(FileSystem& files, const cc::Str& folder) {
  std::vector<FoundFile> entries;
  if (files.ListFolder(folder, &entries)) {
    for (const FoundFile& entry : entries) {
      const cc::Str path = folder + cc::Str(u"\\") + entry.name;
      if (entry.attributes & kFileAttributeDirectory) {
        RemoveTree(files, path);
      } else {
        files.SetAttributes(path, kFileAttributeNormal);
        files.RemoveFile(path);
      }
    }
  }
  files.RemoveFolder(folder);
}

}  // namespace file_system_contract

inline void CheckFileSystemContract(FileSystem& files, const cc::Str& base) {
  using namespace file_system_contract;
  const struct {
    const char* what;
    void (*check)(FileSystem&, const cc::Str&);
  } parts[] = {
      {"path spellings", CheckPathSpellings}, {"find and list", CheckFindAndList},
      {"refusals", CheckRefusals},           {"copy and move", CheckCopyAndMove},
      {"file blocks", CheckFileBlocks},       {"open file's times and name", CheckOpenFileTimesAndName},
  };
  for (const auto& part : parts) {
    SCOPED_TRACE(part.what);
    RemoveTree(files, base);
    ASSERT_TRUE(files.CreateFolder(base));
    part.check(files, base);
    RemoveTree(files, base);
    EXPECT_FALSE(Exists(files, base));
  }
}
