// Archives made at test time by Info-ZIP zip, read back with PayloadArchive.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/payload_archive.h"
#include "tests/support/linux_test_support.h"

namespace {

constexpr char kPassword[] = "zip-made:Test_pw 42";
constexpr size_t kBigSize = 250000;

// Half text that deflates well, half bytes that do not deflate at all.
std::string BigContent() {
  std::string text;
  for (int line = 0; text.size() < kBigSize / 2; ++line) {
    text += "setup line " + std::to_string(line) + " of the compressible half\n";
  }
  text.resize(kBigSize / 2);
  uint32_t seed = 12345;
  while (text.size() < kBigSize) {
    seed = seed * 1664525u + 1013904223u;
    text.push_back(static_cast<char>(seed >> 24));
  }
  return text;
}

class ZipFolder {
 public:
  ZipFolder() : path_(scratch_.path().string()) {}
  const std::string& path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    Run("mkdir -p \"$(dirname '" + path_ + "/" + name + "')\"");
    std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // Runs `command` inside the folder; returns its exit status.
  int Run(const std::string& command) const {
    return std::system(("cd '" + path_ + "' && " + command).c_str());
  }

 private:
  test_support::ScratchFolder scratch_;
  std::string path_;
};

TEST(PayloadArchiveZipTest, ReadsArchivesMadeByZip) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"pjcfg.ini", "s.c.Width=600\r\n"},
      {"big.bin", BigContent()},
      {"Gr\xC3\xBC\xC3\x9F" "e.txt", "non-ASCII name\n"},
      {"sub/dir/7*file.txt", "in a folder\n"},
  };
  struct Case {
    const char* what;
    std::string command;
  };
  const std::string quoted = std::string("'") + kPassword + "'";
  const Case cases[] = {
      {"deflated", "zip -q -X -e -P " + quoted + " out.zip pjcfg.ini big.bin Gr*.txt sub/dir/*"},
      {"stored", "zip -q -X -0 -e -P " + quoted + " out.zip pjcfg.ini big.bin Gr*.txt sub/dir/*"},
      {"written to a pipe",
       "zip -q -X -e -P " + quoted + " - pjcfg.ini big.bin Gr*.txt sub/dir/* | cat > out.zip"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    ZipFolder folder;
    ASSERT_FALSE(folder.path().empty());
    for (const auto& [name, bytes] : files) folder.Write(name, bytes);
    ASSERT_EQ(folder.Run(c.command), 0);
    std::string archiveBytes = folder.Read("out.zip");
    uint32_t status = 1;
    auto archive = OpenPayload(archiveBytes.data(), archiveBytes.size(), kPassword, &status);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(status, kPayloadOk);
    EXPECT_EQ(PayloadEntryCount(archive.get()), static_cast<int>(files.size()));

    for (const auto& [name, bytes] : files) {
      SCOPED_TRACE(name);
      PayloadEntry entry;
      ASSERT_EQ(FindEntry(archive.get(), cc::Str::FromUtf8(name), true, nullptr, &entry),
                kPayloadOk);
      EXPECT_TRUE(entry.encrypted);
      ASSERT_EQ(entry.uncompressedSize, bytes.size());
      std::string read(bytes.size(), '\0');
      size_t bytesRead = 0;
      EXPECT_EQ(ReadEntry(archive.get(), entry.index, read.data(), read.size(), &bytesRead),
                kPayloadOk);
      EXPECT_EQ(bytesRead, bytes.size());
      EXPECT_TRUE(read == bytes);
    }

    // The install engine's way: blocks of 102400 bytes.
    int big = -1;
    ASSERT_EQ(FindEntry(archive.get(), cc::Str(u"BIG.BIN"), true, &big, nullptr), kPayloadOk);
    std::vector<uint32_t> statuses;
    std::string whole;
    std::string block(kPayloadBlockSize, '\0');
    for (int call = 0; call < 5; ++call) {
      size_t bytesRead = 0;
      status = ReadEntry(archive.get(), big, block.data(), block.size(), &bytesRead);
      statuses.push_back(status);
      whole.append(block, 0, bytesRead);
      if (status != kPayloadMoreData) break;
    }
    EXPECT_EQ(statuses, (std::vector<uint32_t>{kPayloadMoreData, kPayloadMoreData, kPayloadOk}));
    EXPECT_TRUE(whole == files[1].second);
  }
}

}  // namespace
