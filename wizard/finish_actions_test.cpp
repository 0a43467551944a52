#include "wizard/finish_actions.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_platform.h"

namespace {

TEST(FinishActionsTest, ResolvedPaths) {
  struct Case {
    const char* name;
    const char16_t* value;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"macro and rest", u"<Application Folder>\\bin\\app.exe", u"D:\\Apps\\Tool\\bin\\app.exe"},
      {"macro alone", u"<TempDir>", u"C:\\Users\\user\\AppData\\Local\\Temp\\"},
      {"full path as it is", u"C:\\Tools\\readme.txt", u"C:\\Tools\\readme.txt"},
      {"network path as it is", u"\\\\server\\share\\a.exe", u"\\\\server\\share\\a.exe"},
      {"bare name names nothing", u"app.exe", u""},
      {"relative path names nothing", u"bin\\app.exe", u""},
      {"unknown macro names nothing", u"<NoSuchDir>\\app.exe", u""},
      {"root-relative path names nothing", u"\\app.exe", u""},
      {"empty", u"", u""},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    cc::KeyArr config(false, true);
    config.Set(u"Ret.Location.Path", u"D:\\Apps\\Tool\\");
    EXPECT_EQ(wizard::ResolveFinishPath(c.value, config, platform).ToUtf8(), cc::Str(c.expected).ToUtf8())
        << c.name;
  }
}

TEST(FinishActionsTest, ScriptTextFileAndCommand) {
  EXPECT_EQ(wizard::FillScriptText(u"cd /d [#TARGETDRIVER#]: & del \"[#TARGETDIR#]x\" [#TARGETDIR#]",
                                   u"D:\\Apps\\"),
            cc::Str(u"cd /d D: & del \"D:\\Apps\\x\" D:\\Apps\\"));
  EXPECT_EQ(wizard::FillScriptText(u"[#TARGETDRIVER#]", u""), cc::Str(u""));

  struct Case {
    int kind;
    const char16_t* file;
    const char16_t* command;
  };
  const Case cases[] = {
      {wizard::kScriptVbs, u"D:\\A\\~~unins.vbs", u"cscript //NOLOGO D:\\A\\~~unins.vbs"},
      {0, u"D:\\A\\~~unins.bat", u"D:\\A\\~~unins.bat"},
      {7, u"D:\\A\\~~unins.bat", u"D:\\A\\~~unins.bat"},
  };
  for (const Case& c : cases) {
    wizard::ScriptPlan plan = wizard::PlanScript(c.kind, u"D:\\A\\");
    EXPECT_EQ(plan.file, cc::Str(c.file)) << c.kind;
    EXPECT_EQ(plan.commandLine, cc::Str(c.command)) << c.kind;
  }
}

TEST(FinishActionsTest, ScriptIsWrittenInTheAnsiCodePageWithoutMark) {
  FakePlatform platform;
  const cc::Str file = u"C:\\setup\\~~unins.bat";
  platform.fake_files.PutFile(file, "older and longer content");
  ASSERT_TRUE(wizard::WriteScriptFile(platform, file, u"echo Gr\u00FC\u00DFe \u4E2D"));
  std::string bytes;
  ASSERT_TRUE(platform.fake_files.GetFileBytes(file, &bytes));
  EXPECT_EQ(bytes, "echo Gr\xFC\xDF" "e ?");  // Windows-1252; what it lacks is lost
}

}  // namespace
