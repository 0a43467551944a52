#include "runtime/payload_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/payload_test_support.h"

namespace {

#include "runtime/testdata/payload_fixtures.inc"

using Bytes = std::vector<unsigned char>;

template <size_t N>
Bytes Fixture(const unsigned char (&archive)[N]) {
  return Bytes(archive, archive + N);
}

// The texts that make_payload_fixtures.py put into the archives.
const std::string kConfig = "[s.c]\r\nWidth=600\r\nHeight=400\r\nDefaultLang=en-US\r\n";
const std::string kStored = "stored without compression, but enciphered\n";

std::string BinaryContent() {
  std::string text;
  for (int round = 0; round < 4; ++round) {
    for (int byte = 0; byte < 256; ++byte) text.push_back(static_cast<char>(byte));
  }
  return text;
}

std::string BigContent() {
  std::string text;
  char line[64];
  for (int i = 0; text.size() < 40000; ++i) {
    snprintf(line, sizeof line, "line %05d of the larger entry\n", i);
    text += line;
  }
  return text.substr(0, 40000);
}

// Reads entry `name` in one call, the way start-up reads the configuration.
uint32_t ReadWhole(PayloadArchive* archive, const char16_t* name, std::string* text) {
  PayloadEntry entry;
  uint32_t status = FindEntry(archive, cc::Str(name), true, nullptr, &entry);
  if (status != kPayloadOk) return status;
  std::string buffer(entry.uncompressedSize, '\0');
  size_t bytesRead = 0;
  status = ReadEntry(archive, entry.index, buffer.data(), buffer.size(), &bytesRead);
  buffer.resize(bytesRead);
  *text = buffer;
  return status;
}

// ---- locating header fields, for the damaged archives

uint16_t Get16(const Bytes& bytes, size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

void Put32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t Get32(const Bytes& bytes, size_t at) {
  return Get16(bytes, at) | (static_cast<uint32_t>(Get16(bytes, at + 2)) << 16);
}

// Offset of the header with `signature` whose name (at `nameAt`, length at
// `lengthAt`) is `name`.
size_t FindHeader(const Bytes& bytes, uint32_t signature, size_t lengthAt, size_t nameAt,
                  const std::string& name) {
  for (size_t at = 0; at + nameAt + name.size() <= bytes.size(); ++at) {
    if (Get32(bytes, at) == signature && Get16(bytes, at + lengthAt) == name.size() &&
        std::memcmp(&bytes[at + nameAt], name.data(), name.size()) == 0) {
      return at;
    }
  }
  ADD_FAILURE() << "no header for " << name;
  return 0;
}

size_t LocalHeader(const Bytes& bytes, const std::string& name) {
  return FindHeader(bytes, 0x04034b50, 26, 30, name);
}

size_t CentralHeader(const Bytes& bytes, const std::string& name) {
  return FindHeader(bytes, 0x02014b50, 28, 46, name);
}

size_t DataStart(const Bytes& bytes, const std::string& name) {
  size_t local = LocalHeader(bytes, name);
  return local + 30 + Get16(bytes, local + 26) + Get16(bytes, local + 28);
}

size_t EndRecord(const Bytes& bytes) {
  for (size_t at = bytes.size() - 22;; --at) {
    if (Get32(bytes, at) == 0x06054b50) return at;
    if (at == 0) break;
  }
  ADD_FAILURE() << "no end record";
  return 0;
}

// Changes a 32-bit field of the entry in both its headers.
void PatchBothHeaders(Bytes& bytes, const std::string& name, size_t localField,
                      size_t centralField, uint32_t (*change)(uint32_t)) {
  size_t local = LocalHeader(bytes, name) + localField;
  size_t central = CentralHeader(bytes, name) + centralField;
  Put32(bytes, local, change(Get32(bytes, local)));
  Put32(bytes, central, change(Get32(bytes, central)));
}

TEST(PayloadArchiveTest, ReadsEntriesBackExactly) {
  struct Case {
    const char* what;
    Bytes archive;
    const char* password;
    const char16_t* name;  // as looked up
    std::string content;
    int method;
    bool encrypted;
  };
  const Case cases[] = {
      {"configuration stored in capitals", Fixture(kSampleZip), kFixturePassword, u"pjcfg.ini",
       kConfig, 8, true},
      {"binary file", Fixture(kSampleZip), kFixturePassword, u"7*setup.dat", BinaryContent(), 8,
       true},
      {"empty file", Fixture(kSampleZip), kFixturePassword, u"EMPTY.TXT", "", 0, true},
      {"stored, enciphered", Fixture(kSampleZip), kFixturePassword, u"plain.sto", kStored, 0, true},
      {"name with a drive prefix, looked up as stored", Fixture(kSampleZip), kFixturePassword,
       u"C:drive.txt", "Q_drive.txt content\n", 0, true},
      {"data descriptors (time check byte)", Fixture(kStreamedZip), kFixturePassword,
       u"pjcfg.ini", kConfig, 8, true},
      {"no data descriptors (CRC check byte)", Fixture(kCrcZip), kFixturePassword, u"PJCFG.INI",
       kConfig, 8, true},
      {"several deflate blocks", Fixture(kCrcZip), kFixturePassword, u"3*big.txt", BigContent(), 8,
       true},
      {"no encryption, password given", Fixture(kPlainZip), kFixturePassword, u"pjcfg.ini",
       kConfig, 8, false},
      {"no encryption, no password", Fixture(kPlainZip), nullptr, u"pjcfg.ini", kConfig, 8, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    uint32_t status = 1;
    auto archive = OpenPayload(c.archive.data(), c.archive.size(), c.password, &status);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(status, kPayloadOk);
    PayloadEntry entry;
    int index = -2;
    ASSERT_EQ(FindEntry(archive.get(), cc::Str(c.name), true, &index, &entry), kPayloadOk);
    EXPECT_EQ(index, entry.index);
    EXPECT_EQ(entry.uncompressedSize, c.content.size());
    EXPECT_EQ(entry.method, c.method);
    EXPECT_EQ(entry.encrypted, c.encrypted);
    std::string text;
    EXPECT_EQ(ReadWhole(archive.get(), c.name, &text), kPayloadOk);
    EXPECT_EQ(text, c.content);
    // A second read of the same entry starts over.
    EXPECT_EQ(ReadWhole(archive.get(), c.name, &text), kPayloadOk);
    EXPECT_EQ(text, c.content);
    ClosePayload(std::move(archive));
  }
}

TEST(PayloadArchiveTest, ReportsEachFailureWithItsStatus) {
  using Mutation = void (*)(Bytes&);
  struct Case {
    const char* what;
    Bytes archive;
    Mutation damage;  // may be null
    const char* password;
    const char16_t* name;
    uint32_t openStatus;
    uint32_t readStatus;
  };
  const Mutation none = nullptr;
  const Case cases[] = {
      {"wrong password, time check byte", Fixture(kSampleZip), none, kFixtureWrongPassword,
       u"pjcfg.ini", kPayloadOk, kPayloadWrongPassword},
      {"wrong password, streamed", Fixture(kStreamedZip), none, kFixtureWrongPassword,
       u"pjcfg.ini", kPayloadOk, kPayloadWrongPassword},
      {"wrong password, CRC check byte", Fixture(kCrcZip), none, kFixtureWrongPassword,
       u"pjcfg.ini", kPayloadOk, kPayloadWrongPassword},
      {"wrong password on an empty entry", Fixture(kSampleZip), none, kFixtureWrongPassword,
       u"empty.txt", kPayloadOk, kPayloadWrongPassword},
      {"no password for an enciphered entry", Fixture(kSampleZip), none, nullptr, u"pjcfg.ini",
       kPayloadOk, kPayloadWrongPassword},
      {"CRC differs after the last byte", Fixture(kCrcZip),
       [](Bytes& b) {
         // The low byte only: the check byte (the high byte) still passes.
         PatchBothHeaders(b, "3*big.txt", 14, 16, [](uint32_t crc) { return crc ^ 0x01; });
       },
       kFixturePassword, u"3*big.txt", kPayloadOk, kPayloadWrongPassword},
      {"flipped byte in deflated data", Fixture(kCrcZip),
       [](Bytes& b) { b[DataStart(b, "3*big.txt") + 40] ^= 0x5A; }, kFixturePassword,
       u"3*big.txt", kPayloadOk, kPayloadInflateFailed},
      {"flipped byte in a local header signature", Fixture(kSampleZip),
       [](Bytes& b) { b[LocalHeader(b, "PJCFG.INI")] ^= 0x01; }, kFixturePassword, u"pjcfg.ini",
       kPayloadOk, kPayloadCorrupt},
      {"flipped byte in the end record signature", Fixture(kSampleZip),
       [](Bytes& b) { b[EndRecord(b)] ^= 0x01; }, kFixturePassword, u"pjcfg.ini", kPayloadCorrupt,
       0},
      {"size larger than the data holds", Fixture(kCrcZip),
       [](Bytes& b) {
         PatchBothHeaders(b, "pjcfg.ini", 22, 24, [](uint32_t size) { return size + 1; });
       },
       kFixturePassword, u"pjcfg.ini", kPayloadOk, kPayloadCorrupt},
      {"compression method not supported", Fixture(kCrcZip),
       [](Bytes& b) {
         b[LocalHeader(b, "pjcfg.ini") + 8] = 12;
         b[CentralHeader(b, "pjcfg.ini") + 10] = 12;
       },
       kFixturePassword, u"pjcfg.ini", kPayloadOk, kPayloadCorrupt},
      {"local header offset past the end", Fixture(kCrcZip),
       [](Bytes& b) { Put32(b, CentralHeader(b, "pjcfg.ini") + 42, 0x7FFFFFF0); },
       kFixturePassword, u"pjcfg.ini", kPayloadOk, kPayloadCorrupt},
      {"truncated in the central directory", Fixture(kSampleZip),
       [](Bytes& b) { b.resize(b.size() - 30); }, kFixturePassword, u"pjcfg.ini",
       kPayloadCorrupt, 0},
      {"truncated to half", Fixture(kCrcZip), [](Bytes& b) { b.resize(b.size() / 2); },
       kFixturePassword, u"pjcfg.ini", kPayloadCorrupt, 0},
      {"bytes cut out before the directory", Fixture(kCrcZip),
       [](Bytes& b) { b.erase(b.begin() + 100, b.begin() + 200); }, kFixturePassword,
       u"pjcfg.ini", kPayloadCorrupt, 0},
      {"directory offset past the end", Fixture(kSampleZip),
       [](Bytes& b) { Put32(b, EndRecord(b) + 16, 0xFFFFFF00); }, kFixturePassword, u"pjcfg.ini",
       kPayloadCorrupt, 0},
      {"not a ZIP archive at all", Bytes(kConfig.begin(), kConfig.end()), none, kFixturePassword,
       u"pjcfg.ini", kPayloadCorrupt, 0},
      {"no bytes", Bytes(), none, kFixturePassword, u"pjcfg.ini", kPayloadBadArguments, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    Bytes bytes = c.archive;
    if (c.damage != nullptr) c.damage(bytes);
    uint32_t status = 1;
    auto archive = OpenPayload(bytes.data(), bytes.size(), c.password, &status);
    EXPECT_EQ(status, c.openStatus);
    if (c.openStatus != kPayloadOk) {
      EXPECT_EQ(archive, nullptr);
      continue;
    }
    ASSERT_NE(archive, nullptr);
    std::string text;
    EXPECT_EQ(ReadWhole(archive.get(), c.name, &text), c.readStatus);
    // The failure leaves the archive usable: the entry starts over.
    EXPECT_EQ(ReadWhole(archive.get(), c.name, &text), c.readStatus);
  }
}

TEST(PayloadArchiveTest, RejectsBadArguments) {
  Bytes bytes = Fixture(kSampleZip);
  auto archive = OpenPayload(bytes.data(), bytes.size(), kFixturePassword);
  ASSERT_NE(archive, nullptr);
  PayloadArchive* open = archive.get();
  int config = -1;
  ASSERT_EQ(FindEntry(open, cc::Str(u"pjcfg.ini"), true, &config, nullptr), kPayloadOk);
  int empty = -1;
  ASSERT_EQ(FindEntry(open, cc::Str(u"empty.txt"), true, &empty, nullptr), kPayloadOk);
  char buffer[16];
  size_t bytesRead = 99;

  struct Case {
    const char* what;
    PayloadArchive* archive;
    int index;
    void* buffer;
    size_t size;
    uint32_t status;
  };
  const int count = PayloadEntryCount(open);
  const Case cases[] = {
      {"no archive", nullptr, 0, buffer, sizeof buffer, kPayloadBadArguments},
      {"index -1", open, -1, buffer, sizeof buffer, kPayloadBadArguments},
      {"index past the last entry", open, count, buffer, sizeof buffer, kPayloadBadArguments},
      {"no buffer", open, config, nullptr, sizeof buffer, kPayloadBadArguments},
      {"zero-sized buffer for a non-empty entry", open, config, buffer, 0, kPayloadBadArguments},
      {"zero-sized buffer for an empty entry", open, empty, nullptr, 0, kPayloadOk},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    EXPECT_EQ(ReadEntry(c.archive, c.index, c.buffer, c.size, &bytesRead), c.status);
    EXPECT_EQ(bytesRead, 0u);
  }

  PayloadEntry entry;
  entry.index = 5;
  int index = 5;
  EXPECT_EQ(FindEntry(open, cc::Str(u"missing.txt"), true, &index, &entry), kPayloadNotFound);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(entry.index, -1);
  EXPECT_EQ(FindEntry(open, cc::Str(), true, &index, &entry), kPayloadNotFound);
  EXPECT_EQ(FindEntry(nullptr, cc::Str(u"pjcfg.ini"), true, &index, &entry), kPayloadBadArguments);
  // Without ignoreCase the spelling must match.
  EXPECT_EQ(FindEntry(open, cc::Str(u"pjcfg.ini"), false, &index, nullptr), kPayloadNotFound);
  EXPECT_EQ(FindEntry(open, cc::Str(u"PJCFG.INI"), false, &index, nullptr), kPayloadOk);
  EXPECT_EQ(index, config);
  EXPECT_EQ(GetPayloadEntry(open, count, &entry), kPayloadBadArguments);
  EXPECT_EQ(entry.index, -1);
  EXPECT_EQ(PayloadEntryCount(nullptr), 0);
}

TEST(PayloadArchiveTest, FindsTheFirstOfNamesThatDifferOnlyInCase) {
  std::string bytes =
      payload_test::MakeArchive({{"Setup.dat", "first"}, {"SETUP.DAT", "second"}}, "");
  auto archive = OpenPayload(bytes.data(), bytes.size(), nullptr);
  ASSERT_NE(archive, nullptr);
  int index = -1;
  EXPECT_EQ(FindEntry(archive.get(), cc::Str(u"setup.dat"), true, &index, nullptr), kPayloadOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(FindEntry(archive.get(), cc::Str(u"SETUP.DAT"), false, &index, nullptr), kPayloadOk);
  EXPECT_EQ(index, 1);
}

TEST(PayloadArchiveTest, DeliversLargeEntriesInPieces) {
  Bytes bytes = Fixture(kCrcZip);
  auto archive = OpenPayload(bytes.data(), bytes.size(), kFixturePassword);
  ASSERT_NE(archive, nullptr);
  int big = -1;
  int config = -1;
  ASSERT_EQ(FindEntry(archive.get(), cc::Str(u"3*big.txt"), true, &big, nullptr), kPayloadOk);
  ASSERT_EQ(FindEntry(archive.get(), cc::Str(u"pjcfg.ini"), true, &config, nullptr), kPayloadOk);
  const std::string expected = BigContent();

  struct Case {
    size_t blockSize;
    std::vector<uint32_t> statuses;
  };
  const Case cases[] = {
      {16384, {kPayloadMoreData, kPayloadMoreData, kPayloadOk}},
      {20000, {kPayloadMoreData, kPayloadOk}},  // the last piece fills the buffer exactly
      {40000, {kPayloadOk}},
      {65536, {kPayloadOk}},
      {7, std::vector<uint32_t>(5714, kPayloadMoreData)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": blocks of " << c.blockSize);
    std::vector<uint32_t> statuses;
    std::string whole;
    std::string block(c.blockSize, '\0');
    uint32_t status = kPayloadMoreData;
    while (status == kPayloadMoreData && statuses.size() < 10000) {
      size_t bytesRead = 0;
      status = ReadEntry(archive.get(), big, block.data(), block.size(), &bytesRead);
      statuses.push_back(status);
      whole.append(block, 0, bytesRead);
    }
    std::vector<uint32_t> wanted = c.statuses;
    if (c.blockSize == 7) wanted.push_back(kPayloadOk);  // 40000 = 5714 * 7 + 2
    EXPECT_EQ(statuses, wanted);
    EXPECT_TRUE(whole == expected);
  }

  // Reading another entry in between starts the first one over.
  std::string block(16384, '\0');
  size_t bytesRead = 0;
  ASSERT_EQ(ReadEntry(archive.get(), big, block.data(), block.size(), &bytesRead),
            kPayloadMoreData);
  std::string text;
  ASSERT_EQ(ReadWhole(archive.get(), u"pjcfg.ini", &text), kPayloadOk);
  EXPECT_EQ(text, kConfig);
  ASSERT_EQ(ReadEntry(archive.get(), big, block.data(), block.size(), &bytesRead),
            kPayloadMoreData);
  EXPECT_EQ(block, expected.substr(0, block.size()));
}

TEST(PayloadArchiveTest, MakesEntryNamesSafe) {
  struct Case {
    const char16_t* stored;
    const char16_t* safe;
  };
  const Case cases[] = {
      {u"pjcfg.ini", u"pjcfg.ini"},
      {u"12*bin\\app.exe", u"12*bin\\app.exe"},
      {u"", u""},
      {u"C:drive.txt", u"drive.txt"},
      {u"C:", u""},
      {u"C:\\Windows\\x.dll", u"Windows\\x.dll"},
      {u"//lead.txt", u"lead.txt"},
      {u"\\\\server\\share\\f.txt", u"server\\share\\f.txt"},
      {u"a\\..\\b.txt", u"b.txt"},
      {u"a/../b.txt", u"b.txt"},
      {u"a\\../b.txt", u"b.txt"},
      {u"a/..\\b.txt", u"b.txt"},
      {u"D:/../s/../t.txt", u"t.txt"},
      {u"..\\a.txt", u"..\\a.txt"},  // begins with "..\": kept
      {u"../a.txt", u"../a.txt"},
      {u"a..\\b", u"a..\\b"},
      {u"x\\..\\..\\y", u"..\\y"},  // the step's separator is consumed with it
      {u"dir\\...\\f", u"dir\\...\\f"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_TRUE(MakeSafeEntryName(cases[i].stored) == cases[i].safe) << "case " << i;
  }

  // The archive reports the safe name and is searched by the stored one.
  Bytes bytes = Fixture(kSampleZip);
  auto archive = OpenPayload(bytes.data(), bytes.size(), kFixturePassword);
  ASSERT_NE(archive, nullptr);
  const char16_t* stored[] = {u"C:drive.txt", u"//lead.txt", u"a\\..\\b.txt", u"..\\a.txt",
                              u"D:/../s/../t.txt"};
  for (size_t i = 0; i < std::size(stored); ++i) {
    PayloadEntry entry;
    ASSERT_EQ(FindEntry(archive.get(), cc::Str(stored[i]), true, nullptr, &entry), kPayloadOk)
        << "entry " << i;
    EXPECT_TRUE(entry.name.View() == MakeSafeEntryName(stored[i])) << "entry " << i;
    EXPECT_EQ(entry.storedName, cc::Str(stored[i]).ToUtf8()) << "entry " << i;
  }
  EXPECT_EQ(FindEntry(archive.get(), cc::Str(u"drive.txt"), true, nullptr, nullptr),
            kPayloadNotFound);
}

}  // namespace
