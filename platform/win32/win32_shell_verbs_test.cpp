#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_helpers.h"
#include "platform/system_helpers.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_info.h"

namespace {

class Win32ShellVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = GetTempFolder(system_) + cc::Str::Formatted(u"velmora-verbs-%u\\", GetCurrentProcessId());
    ASSERT_TRUE(MakeFolderTree(files_, folder_));
  }
  void TearDown() override { DeleteFolderTree(files_, folder_, true); }

  bool WaitForFile(const cc::Str& path) {
    for (int i = 0; i < 100 && !FileExists(files_, path); ++i) Sleep(50);
    return FileExists(files_, path);
  }

  Win32SystemInfo system_;
  Win32FileSystem files_;
  Win32Shell shell_;
  cc::Str folder_;
};

TEST_F(Win32ShellVerbsTest, VerbsOfAnItemAndRunningOnlyOneThatExists) {
  ASSERT_TRUE(WriteFileBytes(files_, folder_ + cc::Str(u"notes.txt"), "text", cc::kCodePageAnsi, false, false));
  std::vector<cc::Str> verbs;
  ASSERT_TRUE(shell_.ItemVerbs(folder_, u"notes.txt", &verbs));
  EXPECT_FALSE(verbs.empty());
  EXPECT_FALSE(shell_.ItemVerbs(folder_, u"missing.txt", &verbs));
  EXPECT_FALSE(shell_.DoItemVerb(folder_, u"notes.txt", u"No such verb"));
  EXPECT_FALSE(shell_.DoItemVerb(folder_, u"missing.txt", u"&Open"));
}

TEST_F(Win32ShellVerbsTest, ExecuteStartsAProgramAndExecuteAndWaitWaitsForIt) {
  const cc::Str started = folder_ + cc::Str(u"started.txt");
  const cc::Str waited = folder_ + cc::Str(u"waited.txt");
  EXPECT_TRUE(shell_.Execute(u"open", u"cmd.exe", cc::Str(u"/c echo x > \"") + started + cc::Str(u"\""), folder_,
                             kShowHide));
  EXPECT_TRUE(WaitForFile(started));
  EXPECT_TRUE(shell_.ExecuteAndWait(u"", u"cmd.exe", cc::Str(u"/c echo x > \"") + waited + cc::Str(u"\""),
                                    kShowHide));
  EXPECT_TRUE(FileExists(files_, waited)) << "written before ExecuteAndWait returned";
  EXPECT_FALSE(shell_.ExecuteAndWait(u"open", folder_ + cc::Str(u"missing.exe"), u"", kShowHide));
}

TEST_F(Win32ShellVerbsTest, ALinkWithPropertiesIsSaved) {
  ShellLinkSpec spec;
  spec.link_path = folder_ + cc::Str(u"Tile.lnk");
  spec.target = folder_ + cc::Str(u"tool_launcher.vbs");
  spec.description = u"Tile";
  LinkProperty id;
  id.format_id = u"{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}";
  id.property_id = 5;
  id.text = u"Quorvane100000.V1000.07";
  LinkProperty size;
  size.format_id = u"{0DED77B3-C614-456C-AE5B-285B38D7B01B}";
  size.property_id = 16;
  size.type = LinkPropertyType::kUInt32;
  size.number = 2;
  LinkProperty flag = size;
  flag.type = LinkPropertyType::kBool;
  LinkProperty broken = id;
  broken.format_id = u"not a format identifier";
  spec.properties = {id, size, flag, broken};
  ASSERT_TRUE(shell_.CreateLink(spec));
  EXPECT_TRUE(FileExists(files_, spec.link_path));
}

}  // namespace
