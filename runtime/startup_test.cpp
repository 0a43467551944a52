#include "runtime/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cipher_keys.h"
#include "platform/csidl.h"
#include "platform/fake/fake_platform.h"
#include "runtime/ins_form.h"
#include "runtime/path_macros.h"
#include "runtime/payload_test_support.h"
#include "runtime/setup_log.h"

namespace {

const char16_t kLogPath[] = u"C:\\setup\\setup.exe.log";

const char kConfig[] =
    "[s.c]\r\n"
    "Var.OutLog=1\r\n"
    "Lang0=English {en-US:1033}\r\n"
    "Lang1=Deutsch {de-DE:1031}\r\n"
    "DefaultLang=de-DE\r\n"
    "[s.i]\r\n"
    "Comp.editAppTxt=<ProgramFilesDir(32bit)>\r\n"
    "Comp.editAppDir=Acme\\\\Tool\r\n"
    "[en-US]\r\n"
    "s.i.Short.PrgMenu=Acme Tool\r\n"
    "[de-DE]\r\n"
    "s.i.Short.PrgMenu=Acme Werkzeug\r\n";

std::vector<std::string> LogLines(FakePlatform& platform, const char16_t* path = kLogPath) {
  std::string bytes;
  if (!platform.fake_files.GetFileBytes(path, &bytes)) return {};
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
  }
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    lines.push_back(cc::Str(text.substr(start, end - start)).ToUtf8());
  }
  EXPECT_EQ(start, text.size()) << "the log ends with an unterminated line";
  return lines;
}

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    platform_.fake_system.SetModuleFileName(u"C:\\setup\\setup.exe");
    platform_.fake_files.PutFolder(u"C:\\setup");
    platform_.fake_system.SetTempPath(u"C:\\Temp\\");
    platform_.fake_files.PutFolder(u"C:\\Temp");
    platform_.fake_system.SetSpecialFolder(kCsidlProgramFilesX86, u"C:\\Program Files (x86)");
    platform_.fake_system.SetLocale(u"en", u"US");
  }
  void PutPayload(const std::string& config) {
    platform_.fake_resources.Put(cc::Str(u"BIN"), 2,
                                 payload_test::MakeArchive({{"pjcfg.ini", config}}, cc::PayloadPassword()));
  }

  FakePlatform platform_;
};

TEST_F(StartupTest, LogsVersionMacrosAndLanguageAndLeavesNoTrace) {
  PutPayload(kConfig);
  bool initialised = false;
  EXPECT_EQ(RunStartupWithoutWindow(platform_,
                                    [&](InsForm& form) {
                                      initialised = true;
                                      EXPECT_TRUE(form.PayloadResourceFound());
                                      EXPECT_EQ(form.PayloadStatus(), kPayloadOk);
                                      EXPECT_TRUE(form.Config().Has(u"Ret.Dir.App"));
                                    }),
            0);
  EXPECT_TRUE(initialised);

  std::vector<std::string> lines = LogLines(platform_);
  ASSERT_EQ(lines.size(), 1u + kLoggedMacroCount + 1u);
  EXPECT_EQ(lines[0], "WinVer:14, Windows7(64bit)");
  for (int i = 0; i < kLoggedMacroCount; ++i) {
    EXPECT_EQ(lines[1 + i].rfind(cc::Str(kLoggedMacros[i]).ToUtf8() + ":", 0), 0u) << lines[1 + i];
  }
  EXPECT_EQ(lines[1], "<ProgramFilesDir(32bit)>:C:\\Program Files (x86)\\");
  EXPECT_EQ(lines[14], "<TempDir>:C:\\Temp\\");
  EXPECT_EQ(lines.back(), "CurLang:en-US");

  // Privileges in their order, the shared block made, the log closed with
  // its wait, and the rights-check file deleted again.
  ASSERT_EQ(platform_.fake_process.Privileges().size(), 2u);
  EXPECT_EQ(platform_.fake_process.Privileges()[0].ToUtf8(), "SeDebugPrivilege");
  EXPECT_EQ(platform_.fake_process.Privileges()[1].ToUtf8(), "SeShutdownPrivilege");
  const std::vector<uint8_t>* block = platform_.fake_process.Block(u"ccProj");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->size(), 48u);
  EXPECT_EQ(platform_.fake_process.SleptMs(), 100);
  std::vector<FoundFile> temp;
  ASSERT_TRUE(platform_.fake_files.ListFolder(u"C:\\Temp", &temp));
  EXPECT_TRUE(temp.empty());
  EXPECT_EQ(CurrentPayload(), nullptr);
}

TEST_F(StartupTest, RefusedPrivilegesAndAMissingPayloadDoNotStopTheStart) {
  platform_.fake_process.SetRefusePrivileges(true);
  bool found = true;
  EXPECT_EQ(RunStartupWithoutWindow(platform_, [&](InsForm& form) { found = form.PayloadResourceFound(); }), 0);
  EXPECT_FALSE(found);
  EXPECT_EQ(platform_.fake_process.Privileges().size(), 2u);
  EXPECT_FALSE(platform_.fake_files.Exists(kLogPath));
}

TEST_F(StartupTest, InitialisationFillsTheStore) {
  struct Case {
    const char16_t* language;
    const char16_t* country;
    bool outLog;
    const char* lang;  // "(none)": "s.c.IniLang" absent
    const char* menu;
  };
  const Case cases[] = {
      {u"en", u"US", true, "en-US", "Acme Tool"},
      {u"de", u"DE", true, "de-DE", "Acme Werkzeug"},
      {u"fr", u"FR", false, "de-DE", "Acme Werkzeug"},  // the default language
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    platform_.fake_files.RemoveFile(kLogPath);
    platform_.fake_system.SetLocale(c.language, c.country);
    std::string config = kConfig;
    if (!c.outLog) config.replace(config.find("Var.OutLog=1"), 12, "Var.OutLog=0");
    PutPayload(config);
    InsForm form(platform_);
    form.Initialize();
    cc::KeyArr& store = form.Config();
    EXPECT_EQ(form.CurrentLang().ToUtf8(), c.lang) << "case " << i;
    EXPECT_EQ(store.Get(u"s.c.IniLang").ToUtf8(), c.lang) << "case " << i;
    EXPECT_EQ(store.Get(u"Ret.Location.Path").ToUtf8(), "C:\\Program Files (x86)\\Acme\\Tool\\") << "case " << i;
    EXPECT_EQ(store.Get(u"Ret.Menu.Path").ToUtf8(), c.menu) << "case " << i;
    EXPECT_EQ(form.CurrentPageIndex(), -1) << "case " << i;
    EXPECT_EQ(form.UninstallStore(), nullptr) << "case " << i;
    form.Teardown();
    // With the log switched off nothing is written beside the program.
    EXPECT_EQ(platform_.fake_files.Exists(kLogPath), c.outLog) << "case " << i;
  }
}

// Two setups in one process (as the tests run them) each write their own
// log, from start to end, and nothing of the other's.
TEST_F(StartupTest, EachSessionWritesItsOwnLog) {
  const char16_t kOtherLog[] = u"C:\\other\\other.exe.log";
  FakePlatform other;
  other.fake_system.SetModuleFileName(u"C:\\other\\other.exe");
  other.fake_files.PutFolder(u"C:\\other");
  other.fake_system.SetLocale(u"de", u"DE");
  other.fake_resources.Put(cc::Str(u"BIN"), 2,
                           payload_test::MakeArchive({{"pjcfg.ini", kConfig}}, cc::PayloadPassword()));
  PutPayload(kConfig);

  InsForm first(platform_);
  first.Initialize();
  InsForm second(other);
  second.Initialize();
  ASSERT_TRUE(first.Log().IsOpen());
  ASSERT_TRUE(second.Log().IsOpen());
  first.Log().Line(u"first:%d", 1);
  second.Log().Line(u"second:%d", 2);
  first.Teardown();
  second.Log().Write(u"second goes on after the first has ended");
  second.Teardown();

  std::vector<std::string> firstLines = LogLines(platform_);
  std::vector<std::string> secondLines = LogLines(other, kOtherLog);
  ASSERT_EQ(firstLines.size(), 1u + kLoggedMacroCount + 2u);
  ASSERT_EQ(secondLines.size(), 1u + kLoggedMacroCount + 3u);
  EXPECT_EQ(firstLines[0].rfind("WinVer:", 0), 0u);
  EXPECT_EQ(secondLines[0].rfind("WinVer:", 0), 0u);
  EXPECT_EQ(firstLines[kLoggedMacroCount + 1], "CurLang:en-US");
  EXPECT_EQ(secondLines[kLoggedMacroCount + 1], "CurLang:de-DE");
  EXPECT_EQ(firstLines.back(), "first:1");
  EXPECT_EQ(secondLines[kLoggedMacroCount + 2], "second:2");
  EXPECT_EQ(secondLines.back(), "second goes on after the first has ended");
}

TEST_F(StartupTest, WithoutAMatchOrADefaultThereIsNoLanguage) {
  PutPayload("s.c.Lang0=English {en-US:1033}\r\ns.c.IniLang=stale\r\n");
  platform_.fake_system.SetLocale(u"fr", u"FR");
  InsForm form(platform_);
  form.Initialize();
  EXPECT_TRUE(form.CurrentLang().IsNull());
  EXPECT_FALSE(form.Config().Has(u"s.c.IniLang"));
}

TEST_F(StartupTest, ChecksBeforeTheFirstPage) {
  struct Case {
    const char16_t* conditionFlag;  // "s.i.Condition.Flag"
    const char16_t* tempPath;
    bool goesOn;
    const char16_t* error;
  };
  const Case cases[] = {
      {u"0", u"C:\\Temp\\", true, nullptr},
      // Windows-version condition: Windows 8 only, on this 64-bit Windows 7.
      {u"41943296", u"C:\\Temp\\", false, u".s.i.Var.ConditionError2"},
      // A temporary folder that does not exist cannot be written.
      {u"0", u"C:\\NoSuchTemp\\", false, kNoRightsMessage},
      {u"41943296", u"C:\\NoSuchTemp\\", false, kNoRightsMessage},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    PutPayload(std::string(kConfig));
    platform_.fake_system.SetTempPath(c.tempPath);
    InsForm form(platform_);
    form.Initialize();
    form.Config().Set(u"s.i.Condition.Flag", c.conditionFlag);
    EXPECT_EQ(form.CheckBeforeFirstPage(), c.goesOn) << "case " << i;
    EXPECT_EQ(form.Config().Get(u"Ret.ErrorInfo").ToUtf8(), cc::Str(c.error).ToUtf8()) << "case " << i;
  }
}

TEST_F(StartupTest, SwitchingTheLanguage) {
  PutPayload(std::string(kConfig) + "[s.c]\r\nLang2=Broken\r\n");
  InsForm form(platform_);
  form.Initialize();
  struct Case {
    int index;
    bool changed;
    const char* lang;
  };
  const Case cases[] = {
      {0, false, "en-US"},  // already current
      {1, true, "de-DE"},
      {1, false, "de-DE"},
      {-1, false, "de-DE"},  // nothing selected
      {0, true, "en-US"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(form.SwitchLanguage(cases[i].index), cases[i].changed) << "case " << i;
    EXPECT_EQ(form.CurrentLang().ToUtf8(), cases[i].lang) << "case " << i;
    EXPECT_EQ(form.Config().Get(u"s.c.IniLang").ToUtf8(), cases[i].lang) << "case " << i;
  }
  EXPECT_EQ(form.Config().GetInt(u"Ret.Lang.Ind", -1), 0);
}

TEST_F(StartupTest, TheSharedBlockCarriesTheWindowHandle) {
  InsForm form(platform_);
  EXPECT_TRUE(form.PublishMainWindow(0x00120ABC));
  const std::vector<uint8_t>* block = platform_.fake_process.Block(u"ccProj");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ((*block)[0], 0xBC);
  EXPECT_EQ((*block)[1], 0x0A);
  EXPECT_EQ((*block)[2], 0x12);
  EXPECT_EQ((*block)[3], 0x00);
}

}  // namespace
