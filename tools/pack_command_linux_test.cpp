// The packer's command line end to end on the fixture programs that the
// native build makes with the mingw toolchains.
#include "tools/pack_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "core/cipher_keys.h"
#include "tools/pe_resources.h"
#include "tools/test_support.h"
#include "tools/zip_reader.h"

namespace pack {
namespace {

namespace fs = std::filesystem;

const char kConfig[] = R"([s.c]
Lang0=English{en-US:}
[s.f]
1.Item=0;\t2;\t0;\t0;\t0;\t1;\t0;\tMain
2.Item=1;\t3;\t0;\t0;\t0;\t0;\t0;\t<AppDir>
3.Item=2;\t5;\t0;\t2;\t0;\t0;\t0;\t3*app.txt
3.Item.Src=bin/app.txt
4.Item=2;\t5;\t0;\t2;\t0;\t0;\t0;\t4*readme.txt
4.Item.Src=bin/readme.txt
)";

std::string Fixture(const std::string& name) {
#ifdef VELMORA_PE_FIXTURES
  return std::string(VELMORA_PE_FIXTURES) + "/" + name + ".exe";
#else
  return "";
#endif
}

std::vector<uint8_t> ReadBytes(const fs::path& path) { return ToBytes(ReadFileText(path)); }

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old) old_ = old;
    had_ = old != nullptr;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

class PackCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Fixture("fixture32").empty()) GTEST_FAIL() << "fixture programs are missing (built with the native flavour)";
    project_ = dir_.path() / "project";
    WriteFile(project_ / "pjcfg.ini", kConfig);
    WriteFile(project_ / "bin/app.txt", std::string(5000, 'a'));
    WriteFile(project_ / "bin/readme.txt", "read me\n");
    WriteFile(project_ / "payload/licence.htm", "<p>licence</p>");
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunPackCommand(args, out_, err_);
  }

  int Build(const fs::path& output, const std::string& runtime = Fixture("fixture32")) {
    return Run({"build", project_.string(), "-o", output.string(), "--runtime", runtime});
  }

  ScratchDir dir_;
  fs::path project_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(PackCommandTest, BuildsSetupsThatInspectClean) {
  for (const char* runtime : {"fixture32", "fixture64s"}) {
    SCOPED_TRACE(runtime);
    fs::path setup = dir_.path() / (std::string(runtime) + "-setup.exe");
    ASSERT_EQ(Build(setup, Fixture(runtime)), 0) << err_.str();
    EXPECT_FALSE(fs::exists(setup.string() + ".partial"));

    std::vector<uint8_t> payload;
    std::string error;
    ASSERT_TRUE(GetResource(ReadBytes(setup), u"BIN", 2, &payload, &error)) << error;
    std::vector<ZipEntryInfo> entries;
    ASSERT_TRUE(ListZip(payload, &entries, &error)) << error;
    std::vector<std::string> names;
    for (const ZipEntryInfo& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"pjcfg.ini", "licence.htm", "3*app.txt", "4*readme.txt"}));
    std::vector<uint8_t> app;
    ASSERT_TRUE(ReadZipEntry(payload, "3*app.txt", cc::PayloadPassword(), &app, &error)) << error;
    EXPECT_EQ(app, ToBytes(std::string(5000, 'a')));

    EXPECT_EQ(Run({"inspect", setup.string()}), 0) << err_.str();
    EXPECT_NE(out_.str().find("3*app.txt"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("all entries intact"), std::string::npos) << out_.str();
  }
}

// The setup is written around the payload archive in pieces, its checksum
// summed on the way: the result is the very image that putting the payload
// into the runtime in memory gives.
TEST_F(PackCommandTest, StreamedSetupEqualsTheImageBuiltInMemory) {
  for (const char* runtime : {"fixture32", "fixture64"}) {
    SCOPED_TRACE(runtime);
    fs::path setup = dir_.path() / (std::string(runtime) + "-setup.exe");
    ASSERT_EQ(Build(setup, Fixture(runtime)), 0) << err_.str();
    const std::vector<uint8_t> packed = ReadBytes(setup);
    std::vector<uint8_t> payload, in_memory;
    std::string error;
    ASSERT_TRUE(GetResource(packed, u"BIN", 2, &payload, &error)) << error;
    ASSERT_TRUE(SetResource(ReadBytes(Fixture(runtime)), u"BIN", 2, payload, &in_memory, &error)) << error;
    EXPECT_TRUE(packed == in_memory);
  }
}

TEST_F(PackCommandTest, SameProjectPacksToTheSameBytes) {
  ScopedEnv epoch("SOURCE_DATE_EPOCH", "1700000000");
  ASSERT_EQ(Build(dir_.path() / "a.exe"), 0) << err_.str();
  // A fresh checkout gives the sources new times; the epoch hides that.
  fs::last_write_time(project_ / "bin/app.txt", fs::file_time_type::clock::now());
  ASSERT_EQ(Build(dir_.path() / "b.exe"), 0) << err_.str();
  EXPECT_TRUE(ReadBytes(dir_.path() / "a.exe") == ReadBytes(dir_.path() / "b.exe"));
}

TEST_F(PackCommandTest, InspectFindsDamage) {
  fs::path setup = dir_.path() / "setup.exe";
  ASSERT_EQ(Build(setup), 0) << err_.str();
  std::vector<uint8_t> image = ReadBytes(setup);
  std::vector<uint8_t> payload;
  std::string error;
  ASSERT_TRUE(GetResource(image, u"BIN", 2, &payload, &error)) << error;
  // Flip a byte inside the deflated data of the last entry ("4*readme.txt").
  std::vector<ZipEntryInfo> entries;
  ASSERT_TRUE(ListZip(payload, &entries, &error));
  size_t central = payload.size() - 22 - 4 * 46;
  for (const ZipEntryInfo& e : entries) central -= e.name.size();
  payload[central - 3] ^= 0x55;
  std::vector<uint8_t> damaged;
  ASSERT_TRUE(SetResource(image, u"BIN", 2, payload, &damaged, &error)) << error;
  WriteFile(setup, std::string(damaged.begin(), damaged.end()));
  EXPECT_EQ(Run({"inspect", setup.string()}), 1);
  EXPECT_NE(err_.str().find("4*readme.txt"), std::string::npos) << err_.str();

  EXPECT_EQ(Run({"inspect", Fixture("fixture64n")}), 1);  // no resources at all
  EXPECT_NE(err_.str().find("no payload"), std::string::npos) << err_.str();
}

TEST_F(PackCommandTest, BadInputFailsCleanlyAndNamesTheCulprit) {
  std::string not_pe = (dir_.path() / "not-pe.exe").string();
  WriteFile(not_pe, "MZ but nothing else");
  struct Case {
    std::function<void(const fs::path& project)> spoil;
    std::vector<std::string> extra_args;  // replace the default "--runtime" argument
    int status;
    std::string message;
  } cases[] = {
      {[](const fs::path& p) { fs::remove(p / "bin/app.txt"); }, {}, 1,
       "source 'bin/app.txt' of file item 3 ('3*app.txt')"},
      {[](const fs::path& p) { fs::remove(p / "bin/app.txt"); fs::create_directory(p / "bin/app.txt"); }, {}, 1,
       "file item 3 ('3*app.txt'): not a regular file"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", R"([s.f]
1.Item=0;\t5;\t0;\t2;\t0;\t0;\t0;\t1*app.txt
)"); },
       {}, 1, "file item 1 ('1*app.txt') has no source"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", "[s.c]\nName=Caf\xE9\n"); }, {}, 1,
       "pjcfg.ini' is not UTF-8: bad byte at line 2, column 9"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", std::string(kConfig) + "5.Item=2;\\t5;\\t0;\\t2;\\t0;\\t0;\\t0;\\t3*App.TXT\n"
                                                                                 "5.Item.Src=bin/readme.txt\n"); },
       {}, 1, "two sources for the payload entry '3*App.TXT': file item 3"},
      {[](const fs::path& p) { WriteFile(p / "payload/pjcfg.ini", "x"); }, {}, 1,
       "two sources for the payload entry 'pjcfg.ini'"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", R"([s.f]
1.Item=0;\t5;\t0;\t2;\t0;\t0;\t0;\t
)"); },
       {}, 1, "file item 1 ('') has an empty entry name"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", std::string(kConfig) + "6.Item=2;\\t5;\\t0;\\t2;\\t0;\\t0;\\t0;\\t6*late.txt\n"); },
       {}, 1, "s.f.6.Item follows a gap in the item numbers (no s.f.5.Item)"},
      {[](const fs::path& p) { WriteFile(p / "pjcfg.ini", std::string(kConfig) + "[Ret.Shortcut]\nExt0.Count=2\nExt0.0=.txt\n"); },
       {}, 1, "[Ret.Shortcut] Ext0.Count is 2 but [Ret.Shortcut] Ext0.1 is missing"},
      {[](const fs::path& p) { fs::resize_file(p / "bin/readme.txt", (uint64_t{1} << 30) + 1); }, {}, 1,
       "source 'bin/readme.txt' of file item 4 ('4*readme.txt') is 1024 MiB, above the payload limit"},
      {[](const fs::path& p) { fs::remove(p / "pjcfg.ini"); }, {}, 1, "pjcfg.ini': No such file"},
      {nullptr, {"--runtime", not_pe}, 1, "not-pe.exe' is not a Windows program (PE) image"},
      {nullptr, {"--runtime", not_pe + ".missing"}, 1, "cannot read the runtime"},
      {nullptr, {"--level", "12"}, 2, "--level needs a number from 1 to 9"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    fs::remove_all(project_);
    SetUp();
    if (cases[i].spoil) cases[i].spoil(project_);
    fs::path setup = dir_.path() / "setup.exe";
    bool keep_old = i % 2 == 1;  // an existing setup must survive a failed build unchanged
    fs::remove(setup);
    if (keep_old) WriteFile(setup, "previous setup");
    std::vector<std::string> args = {"build", project_.string(), "-o", setup.string()};
    if (cases[i].extra_args.empty() || cases[i].extra_args[0] != "--runtime") {
      args.insert(args.end(), {"--runtime", Fixture("fixture32")});
    }
    args.insert(args.end(), cases[i].extra_args.begin(), cases[i].extra_args.end());
    EXPECT_EQ(Run(args), cases[i].status) << err_.str();
    EXPECT_NE(err_.str().find(cases[i].message), std::string::npos) << err_.str();
    EXPECT_EQ(fs::exists(setup), keep_old);
    if (keep_old) EXPECT_TRUE(ReadFileText(setup) == "previous setup");
    EXPECT_FALSE(fs::exists(setup.string() + ".partial"));
  }
}

}  // namespace
}  // namespace pack
