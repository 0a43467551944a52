#include "tools/zip_writer.h"

#include <gtest/gtest.h>

#include "tools/test_support.h"
#include "tools/zip_reader.h"

namespace pack {
namespace {

const char kPassword[] = "c0rrect-h0rse";

ZipSource Memory(const std::string& name, const std::string& bytes, int64_t time = 1717245296) {
  ZipSource s;
  s.name = name;
  s.bytes = ToBytes(bytes);
  s.unix_time = time;
  return s;
}

std::vector<uint8_t> Write(const std::vector<ZipSource>& entries, int threads = 2, int level = 9) {
  ZipOptions options;
  options.password = kPassword;
  options.threads = threads;
  options.level = level;
  std::vector<uint8_t> archive;
  std::string error;
  EXPECT_TRUE(WriteZip(entries, options, &archive, &error)) << error;
  return archive;
}

TEST(ZipWriterTest, EntriesReadBackThroughMinizip) {
  std::string repeated;
  for (int i = 0; i < 200000; ++i) repeated += "line " + std::to_string(i % 97) + "\n";
  struct Case {
    std::string name;
    std::string bytes;
  } cases[] = {
      {"pjcfg.ini", "[s.c]\r\nWidth=500\r\n"},
      {"3*Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC.txt", "umlauts and CJK in the name"},
      {"4*empty.txt", ""},
      {"5*noise.bin", NoiseBytes(300000, 7)},
      {"6*repeated.log", repeated},
      {"images/top.bmp", std::string(1, '\0')},
      // Incompressible blocks are stored, later text blocks deflated again.
      {"7*mixed.bin", NoiseBytes(1500000, 9) + repeated + NoiseBytes(5000, 10)},
  };
  std::vector<ZipSource> entries;
  for (const Case& c : cases) entries.push_back(Memory(c.name, c.bytes));
  std::vector<uint8_t> archive = Write(entries);

  std::vector<ZipEntryInfo> listed;
  std::string error;
  ASSERT_TRUE(ListZip(archive, &listed, &error)) << error;
  ASSERT_EQ(listed.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    EXPECT_EQ(listed[i].name, cases[i].name);
    EXPECT_EQ(listed[i].size, cases[i].bytes.size());
    EXPECT_EQ(listed[i].method, 8);
    EXPECT_TRUE(listed[i].enciphered);
    EXPECT_TRUE(listed[i].utf8_name);
    EXPECT_EQ(listed[i].dos_time, DosDateTime(1717245296));
    std::vector<uint8_t> data;
    ASSERT_TRUE(ReadZipEntry(archive, cases[i].name, kPassword, &data, &error)) << error;
    EXPECT_TRUE(data == ToBytes(cases[i].bytes));
  }
  // Deflate must have worked on the repetitive entry, also after noise.
  EXPECT_LT(listed[4].compressed, repeated.size() / 10);
  EXPECT_LT(listed[6].compressed, 1500000 + 5000 + repeated.size() / 10);
  EXPECT_LT(listed[3].compressed, 300000 + 300000 / 100);  // noise costs little
}

TEST(ZipWriterTest, WrongPasswordIsRefused) {
  std::vector<uint8_t> archive = Write({Memory("pjcfg.ini", std::string(5000, 'x'))});
  std::vector<uint8_t> data;
  std::string error;
  EXPECT_FALSE(ReadZipEntry(archive, "pjcfg.ini", "not the password", &data, &error));
  EXPECT_FALSE(error.empty());
}

TEST(ZipWriterTest, SameInputGivesSameBytesWhateverTheThreads) {
  std::vector<ZipSource> entries;
  for (int i = 0; i < 40; ++i) {
    entries.push_back(Memory(std::to_string(i) + "*f.bin", NoiseBytes(1000 + 5000 * (i % 7), i)));
  }
  std::vector<uint8_t> one = Write(entries, 1);
  EXPECT_EQ(Write(entries, 1), one);
  EXPECT_EQ(Write(entries, 2), one);
  EXPECT_EQ(Write(entries, 5), one);
}

TEST(ZipWriterTest, EqualContentUnderOtherNamesGetsOtherCipherHeaders) {
  std::vector<uint8_t> archive = Write({Memory("1*a.txt", "same"), Memory("2*b.txt", "same")});
  // Local header 30 bytes + 7-byte name, then the 12-byte cipher header.
  const size_t first = 30 + 7;
  const size_t second = first + 12 + 6 + 30 + 7;  // "same" deflates to 6 bytes
  ASSERT_GT(archive.size(), second + 12);
  EXPECT_NE(std::vector<uint8_t>(archive.begin() + first, archive.begin() + first + 12),
            std::vector<uint8_t>(archive.begin() + second, archive.begin() + second + 12));
}

TEST(ZipWriterTest, FilesAreStreamedFromDisk) {
  ScratchDir dir;
  std::string big = NoiseBytes(3 << 20, 11);  // several read blocks
  WriteFile(dir.path() / "big.bin", big);
  ZipSource s;
  s.name = "1*big.bin";
  s.path = dir.path() / "big.bin";
  std::vector<uint8_t> archive = Write({s});
  std::vector<uint8_t> data;
  std::string error;
  ASSERT_TRUE(ReadZipEntry(archive, "1*big.bin", kPassword, &data, &error)) << error;
  EXPECT_TRUE(data == ToBytes(big));
}

// Entries beyond a third of the buffer are compressed by the writer itself,
// block by block, and their compressed size patched in afterwards; the
// archive must read back the same whether it went to memory or to a file.
TEST(ZipWriterTest, LargeEntriesAreStreamedIntoMemoryAndFiles) {
  ScratchDir dir;
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "row " + std::to_string(i % 113) + "\n";
  std::string mixed = NoiseBytes(1 << 20, 21) + text + NoiseBytes(70000, 22);
  WriteFile(dir.path() / "mixed.bin", mixed);
  ZipSource big;
  big.name = "2*mixed.bin";
  big.path = dir.path() / "mixed.bin";
  std::vector<ZipSource> entries = {Memory("pjcfg.ini", "[s.c]\r\n"), big,
                                    Memory("3*after.txt", text)};
  struct Case {
    uint64_t buffer_bytes;
    bool to_file;
  } cases[] = {{uint64_t{80} << 20, false}, {1 << 20, false}, {1 << 20, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("buffer " + std::to_string(c.buffer_bytes) + (c.to_file ? ", file" : ""));
    ZipOptions options;
    options.password = kPassword;
    options.buffer_bytes = c.buffer_bytes;
    std::vector<uint8_t> archive;
    std::string error;
    if (c.to_file) {
      uint64_t size = 0;
      ASSERT_TRUE(WriteZipFile(entries, options, dir.path() / "out.zip", &size, &error)) << error;
      archive = ToBytes(ReadFileText(dir.path() / "out.zip"));
      EXPECT_EQ(size, archive.size());
    } else {
      ASSERT_TRUE(WriteZip(entries, options, &archive, &error)) << error;
    }
    std::vector<ZipEntryInfo> listed;
    ASSERT_TRUE(ListZip(archive, &listed, &error)) << error;
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_LT(listed[1].compressed, (1u << 20) + 70000 + text.size() / 10);
    const std::string expected[] = {"[s.c]\r\n", mixed, text};
    for (size_t i = 0; i < 3; ++i) {
      std::vector<uint8_t> data;
      ASSERT_TRUE(ReadZipEntry(archive, listed[i].name, kPassword, &data, &error)) << error;
      EXPECT_TRUE(data == ToBytes(expected[i])) << listed[i].name;
    }
  }
  // A streamed entry that crosses the limit is refused like any other, and
  // a failed file is not left behind.
  ZipOptions options;
  options.password = kPassword;
  options.buffer_bytes = 1 << 20;
  options.max_bytes = 500000;
  uint64_t size = 0;
  std::string error;
  EXPECT_FALSE(WriteZipFile(entries, options, dir.path() / "over.zip", &size, &error));
  EXPECT_NE(error.find("exceeds the limit"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "over.zip"));
}

TEST(ZipWriterTest, FailuresNameTheEntryAndLeaveNoArchive) {
  ScratchDir dir;
  ZipSource missing;
  missing.name = "2*gone.txt";
  missing.path = dir.path() / "gone.txt";
  missing.label = "file item 2";
  struct Case {
    std::vector<ZipSource> entries;
    uint64_t max_bytes;
    std::string expected;
  } cases[] = {
      {{Memory("pjcfg.ini", "x"), missing}, kMaxPayloadBytes, "gone.txt' (file item 2)"},
      {{Memory("1*a.bin", NoiseBytes(20000, 1))}, 10000, "exceeds the limit"},
      {{Memory("1*a.bin", "abc")}, 90, "exceeds the limit"},  // only the directory overflows
      {{Memory("", "abc")}, kMaxPayloadBytes, "empty"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    ZipOptions options;
    options.password = kPassword;
    options.max_bytes = cases[i].max_bytes;
    std::vector<uint8_t> archive = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(WriteZip(cases[i].entries, options, &archive, &error)) << "case " << i;
    EXPECT_NE(error.find(cases[i].expected), std::string::npos) << "case " << i << ": " << error;
    EXPECT_TRUE(archive.empty()) << "case " << i;
  }
}

TEST(ZipWriterTest, DosDateTime) {
  struct Case {
    int64_t unix_time;
    uint32_t expected;
  } cases[] = {
      {315532800, 0x00210000},           // 1980-01-01 00:00:00, the first DOS instant
      {0, 0x00210000},                   // earlier times clamp to it
      {1717245296, 0x58C1645C},          // 2024-06-01 12:34:56
      {1717245297, 0x58C1645C},          // odd seconds round down
      {951782400, 0x285D0000},           // 2000-02-29, a leap day
      {4354819198, 0xFF9FBF7D},          // 2107-12-31 23:59:58, the last one
      {9999999999, 0xFF9FBF7D},          // later times clamp to it
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(DosDateTime(cases[i].unix_time), cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace pack
