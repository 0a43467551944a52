#include "tools/project.h"

#include <gtest/gtest.h>

#include "core/key_arr.h"
#include "core/str.h"
#include "tools/path_text.h"
#include "tools/test_support.h"

namespace pack {
namespace {

constexpr int64_t kEpoch = 1700000000;  // earlier than any file the test writes

// Two components; the second holds a sub-folder with a file without payload
// and a file that reuses the first file's source under another name.
const char kConfig[] = R"([s.c]
Lang0=English{en-US:}
DefaultLang=en-US
[s.f]
1.Item=0;\t2;\t0;\t0;\t0;\t1;\t0;\tMain
2.Item=1;\t3;\t0;\t0;\t0;\t0;\t0;\t<AppDir>
3.Item=2;\t5;\t0;\t2;\t0;\t0;\t0;\t3*app.txt
3.Item.Src=bin/app.txt
4.Item=2;\t5;\t0;\t2;\t0;\t0;\t0;\t4*Gr)" "\xC3\xBC\xC3\x9F" R"(e.txt
4.Item.Src=bin\docs\Gr)" "\xC3\xBC\xC3\x9F" R"(e.txt
4.Item.Size=999
5.Item=0;\t2;\t0;\t0;\t0;\t1;\t0;\tExtras
6.Item=5;\t4;\t0;\t0;\t0;\t0;\t0;\tExtras
7.Item=6;\t5;\t0;\t2;\t0;\t0;\t0;\t<None>
8.Item=6;\t5;\t0;\t2;\t0;\t0;\t0;\t8*notes.txt
8.Item.Src=bin/app.txt
)";

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_.path() / "pjcfg.ini", kConfig);
    WriteFile(dir_.path() / "unins.exe", "MZ uninstaller");
    WriteFile(dir_.path() / "bin/app.txt", "hello\n");
    WriteFile(dir_.path() / PathFromUtf8("bin/docs/Gr\xC3\xBC\xC3\x9F" "e.txt"), "Gr\xC3\xBC\xC3\x9F" "e\n");
    WriteFile(dir_.path() / "payload/licence.htm", "<p>licence</p>");
    WriteFile(dir_.path() / "payload/images/top.bmp", "BM");
    options_.source_date_epoch = kEpoch;
  }

  Project Read() {
    Project project;
    std::string error;
    EXPECT_TRUE(ReadProject(dir_.path(), options_, &project, &error)) << error;
    return project;
  }

  ScratchDir dir_;
  ProjectOptions options_;
};

TEST_F(ProjectTest, EntriesInArchiveOrder) {
  Project project = Read();
  std::vector<std::string> names;
  for (const ZipSource& e : project.entries) names.push_back(e.name);
  ASSERT_EQ(names, (std::vector<std::string>{"pjcfg.ini", "unins.exe", "images/top.bmp", "licence.htm",
                                             "3*app.txt", "4*Gr\xC3\xBC\xC3\x9F" "e.txt", "8*notes.txt"}));
  EXPECT_EQ(project.entries[6].path, dir_.path() / "bin/app.txt");
  EXPECT_EQ(project.entries[5].path, dir_.path() / PathFromUtf8("bin/docs/Gr\xC3\xBC\xC3\x9F" "e.txt"));
  for (const ZipSource& e : project.entries) EXPECT_EQ(e.unix_time, kEpoch) << e.name;
}

TEST_F(ProjectTest, AddsMissingSizesAndTimesAfterTheVendorsText) {
  Project project = Read();
  ASSERT_EQ(project.config.compare(0, sizeof kConfig - 1, kConfig), 0) << project.config;
  EXPECT_EQ(std::string(project.entries[0].bytes.begin(), project.entries[0].bytes.end()), project.config);

  cc::KeyArr stored(false, true);
  stored.Parse(cc::Str::FromUtf8(project.config), true);
  std::string time = "31070023;\t-965935104";  // kEpoch as a Windows file time
  struct Case {
    const char16_t* key;
    std::string expected;
  } cases[] = {
      {u"s.f.3.Item.Size", "6"},
      {u"s.f.3.Item.Time", time},
      {u"s.f.4.Item.Size", "999"},  // the vendor's value stays
      {u"s.f.4.Item.Time", time},
      {u"s.f.8.Item.Size", "6"},
      {u"s.f.1.Item.Size", std::to_string(6 + 8)},  // component: its own files
      {u"s.f.5.Item.Size", "6"},
      {u"s.f.7.Item.Size", ""},  // an item without a file gets nothing
      {u"s.c.DefaultLang", "en-US"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(stored.Get(cc::Str(cases[i].key)).ToUtf8(), cases[i].expected) << "case " << i;
  }
  EXPECT_EQ(project.added_keys, 7);
}

TEST_F(ProjectTest, KeepsLineEndingsAndDropsTheByteOrderMark) {
  struct Case {
    std::string config;
    std::string expected_start;
    std::string expected_tail;
  } cases[] = {
      {"\xEF\xBB\xBF[s.f]\r\n1.Item=0;\\t5;\\t0;\\t0;\\t0;\\t0;\\t0;\\t1*a.txt\r\n1.Item.Src=bin/app.txt\r\n",
       "[s.f]\r\n", "1.Item.Size=6\r\n"},
      {"[s.f]\n1.Item=0;\\t5;\\t0;\\t0;\\t0;\\t0;\\t0;\\t1*a.txt\n1.Item.Src=bin/app.txt", "[s.f]\n",
       "\n1.Item.Size=6\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteFile(dir_.path() / "pjcfg.ini", cases[i].config);
    Project project = Read();
    EXPECT_EQ(project.config.compare(0, cases[i].expected_start.size(), cases[i].expected_start), 0)
        << "case " << i << ": " << project.config;
    EXPECT_NE(project.config.find(cases[i].expected_tail), std::string::npos) << "case " << i << ": "
                                                                              << project.config;
    cc::KeyArr stored(false, true);
    stored.Parse(cc::Str::FromUtf8(project.config), true);
    EXPECT_EQ(stored.GetInt(u"s.f.1.Item.Size", -1), 6) << "case " << i;
  }
}

TEST_F(ProjectTest, ItemNotExtractedNeedsNoSourceAndIsNotStored) {
  WriteFile(dir_.path() / "pjcfg.ini", R"([s.f]
1.Item=0;\t5;\t0;\t0;\t0;\t0;\t0;\t1*kept.txt
1.Item.I=1
2.Item=0;\t5;\t0;\t0;\t0;\t0;\t0;\t2*measured.txt
2.Item.I=1
2.Item.Src=bin/app.txt
)");
  Project project = Read();
  ASSERT_EQ(project.entries.size(), 4u);  // pjcfg.ini, unins.exe and the two payload files
  EXPECT_NE(project.config.find("2.Item.Size=6"), std::string::npos) << project.config;
  EXPECT_EQ(project.config.find("1.Item.Size"), std::string::npos) << project.config;
}

TEST_F(ProjectTest, TimesFollowTheSourcesWithoutAnEpoch) {
  options_.source_date_epoch.reset();
  std::filesystem::path app = dir_.path() / "bin/app.txt";
  auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  std::filesystem::last_write_time(app, when);
  Project project = Read();
  ASSERT_GT(project.entries.size(), 4u);
  int64_t expected = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::file_clock::to_sys(when).time_since_epoch())
                         .count();
  EXPECT_NEAR(static_cast<double>(project.entries[4].unix_time), static_cast<double>(expected), 1.0);
}

// The extensions the tasks page offers for association: the count must match
// the entries present and each entry must be an extension with its dot.
TEST_F(ProjectTest, ChecksTheOfferedExtensions) {
  struct Case {
    std::string section;
    std::string error;  // empty: accepted
  } cases[] = {
      {"Ext0.Count=2\nExt0.0=.txt\nExt0.1=.log\nchkExt0.1=0\n", ""},
      {"Ext3.?=.a\nExt3.?=.b\n", "[Ret.Shortcut] Ext3..Count is not a key the setup reads"},
      {"AsText=x\n", ""},
      {"Ext0.Count=3\nExt0.0=.txt\nExt0.1=.log\n", "[Ret.Shortcut] Ext0.Count is 3 but [Ret.Shortcut] Ext0.2 is missing"},
      {"Ext0.Count=1\nExt0.0=.txt\nExt0.1=.log\n", "[Ret.Shortcut] Ext0.1 lies beyond [Ret.Shortcut] Ext0.Count (1)"},
      {"Ext2.0=.txt\n", "[Ret.Shortcut] Ext2.0 lies beyond [Ret.Shortcut] Ext2.Count (0)"},
      {"Ext0.Count=1\nExt0.0=txt\n", "[Ret.Shortcut] Ext0.0 is \"txt\": an extension is a leading dot"},
      {"Ext0.Count=1\nExt0.0=.\n", "[Ret.Shortcut] Ext0.0 is \".\""},
      {"Ext0.Count=1\nExt0.0=.a\\\\b\n", "[Ret.Shortcut] Ext0.0 is \".a\\b\""},
      {"Ext0.Count=two\n", "[Ret.Shortcut] Ext0.Count is \"two\", not a number"},
      {"Ext0.Count=-1\n", "[Ret.Shortcut] Ext0.Count is \"-1\", not a number"},
      {"Ext0.Count=1\nExt0.00=.txt\n", "[Ret.Shortcut] Ext0.00 is not a key the setup reads"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteFile(dir_.path() / "pjcfg.ini", std::string(kConfig) + "[Ret.Shortcut]\n" + cases[i].section);
    Project project;
    std::string error;
    const bool read = ReadProject(dir_.path(), options_, &project, &error);
    EXPECT_EQ(read, cases[i].error.empty()) << "case " << i << ": " << error;
    if (!cases[i].error.empty()) {
      EXPECT_NE(error.find(cases[i].error), std::string::npos) << "case " << i << ": " << error;
    }
  }
}

TEST(FileTimeTextTest, HighAndLowHalvesAsSignedNumbers) {
  struct Case {
    int64_t seconds;
    int32_t nanos;
    std::string expected;
  } cases[] = {
      {0, 0, "27111902;\\t-717324288"},                 // 1970-01-01
      {1700000000, 123456789, "31070023;\\t-964700537"}, // sub-second part in 100 ns units
      {4102444800, 0, "36663651;\\t2003042304"},        // 2100-01-01, low half positive
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(FileTimeText(cases[i].seconds, cases[i].nanos), cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace pack
