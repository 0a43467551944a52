// The writer's archives checked by Info-ZIP's unzip, a reader we did not
// write: it tests every entry with the password and extracts by UTF-8 name.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "tests/support/linux_test_support.h"
#include "tools/test_support.h"
#include "tools/zip_writer.h"

namespace pack {
namespace {

const char kPassword[] = "Pa55-w0rd";

using test_support::RunShell;

std::string Quote(const std::string& s) { return test_support::ShellQuote(s); }

class InfoZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    if (RunShell("unzip -v >/dev/null 2>&1", &out) != 0) GTEST_FAIL() << "Info-ZIP unzip is not installed";
  }

  std::filesystem::path WriteArchive(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<ZipSource> entries;
    for (const auto& [name, bytes] : files) {
      ZipSource s;
      s.name = name;
      s.bytes = ToBytes(bytes);
      s.unix_time = 1700000000;
      entries.push_back(s);
    }
    ZipOptions options;
    options.password = kPassword;
    std::vector<uint8_t> archive;
    std::string error;
    EXPECT_TRUE(WriteZip(entries, options, &archive, &error)) << error;
    std::filesystem::path path = dir_.path() / "payload.zip";
    WriteFile(path, std::string(archive.begin(), archive.end()));
    return path;
  }

  ScratchDir dir_;
};

const std::vector<std::pair<std::string, std::string>> kFiles = {
    {"pjcfg.ini", "[s.c]\nWidth=500\n"},
    {"2*Stra\xC3\x9F" "e \xE2\x80\x94 \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.txt", "non-ASCII name"},
    {"3*empty.txt", ""},
    {"4*noise.bin", NoiseBytes(250000, 3)},
    {"images/left.bmp", std::string(70000, 'B')},
};

TEST_F(InfoZipTest, TestsEveryEntryWithThePassword) {
  std::filesystem::path zip = WriteArchive(kFiles);
  std::string out;
  EXPECT_EQ(RunShell("unzip -t -P " + Quote(kPassword) + " " + Quote(zip.string()) + " 2>&1", &out), 0) << out;
  EXPECT_NE(out.find("No errors detected"), std::string::npos) << out;
  out.clear();
  EXPECT_NE(RunShell("unzip -t -P wrong " + Quote(zip.string()) + " 2>&1", &out), 0) << out;
}

TEST_F(InfoZipTest, ExtractsEachEntryByItsUtf8Name) {
  std::filesystem::path zip = WriteArchive(kFiles);
  for (size_t i = 0; i < kFiles.size(); ++i) {
    std::string out;
    EXPECT_EQ(RunShell("LC_ALL=C.UTF-8 unzip -p -P " + Quote(kPassword) + " " + Quote(zip.string()) + " " +
                      Quote(kFiles[i].first),
                  &out),
              0)
        << "case " << i;
    EXPECT_TRUE(out == kFiles[i].second) << "case " << i << ": " << out.size() << " bytes";
  }
}

}  // namespace
}  // namespace pack
