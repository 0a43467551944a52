#include "wizard/menu_folder_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace {

using wizard::MenuFolderError;

TEST(MenuFolderNameTest, TypedNames) {
  struct Case {
    const char16_t* typed;
    MenuFolderError error;
    const char* name;
  };
  const Case cases[] = {
      {u"Tool", MenuFolderError::kNone, "Tool"},
      {u"  Tool 2  ", MenuFolderError::kNone, "Tool 2"},
      {u"Vendor\\App", MenuFolderError::kNone, "Vendor\\App"},
      {u"Vendor/App", MenuFolderError::kNone, "Vendor\\App"},
      {u"Vendor \\ App", MenuFolderError::kNone, "Vendor\\App"},
      {u"Tool v1.0 beta", MenuFolderError::kNone, "Tool v1.0 beta"},
      {u"Console", MenuFolderError::kNone, "Console"},
      {u"", MenuFolderError::kEmpty, ""},
      {u"   ", MenuFolderError::kEmpty, ""},
      {u"..", MenuFolderError::kCharacters, ""},
      {u"..\\..\\Startup", MenuFolderError::kCharacters, ""},
      {u"Vendor\\..\\x", MenuFolderError::kCharacters, ""},
      {u".", MenuFolderError::kCharacters, ""},
      {u"C:\\Tool", MenuFolderError::kCharacters, ""},
      {u"\\Tool", MenuFolderError::kCharacters, ""},
      {u"\\\\server\\share", MenuFolderError::kCharacters, ""},
      {u"Vendor\\\\App", MenuFolderError::kCharacters, ""},
      {u"Vendor\\", MenuFolderError::kCharacters, ""},
      {u"Tool.", MenuFolderError::kCharacters, ""},
      {u"a*b", MenuFolderError::kCharacters, ""},
      {u"a?b", MenuFolderError::kCharacters, ""},
      {u"a|b", MenuFolderError::kCharacters, ""},
      {u"a<b", MenuFolderError::kCharacters, ""},
      {u"a>b", MenuFolderError::kCharacters, ""},
      {u"a\"b", MenuFolderError::kCharacters, ""},
      {u"a\tb", MenuFolderError::kCharacters, ""},
      {u"CON", MenuFolderError::kCharacters, ""},
      {u"Vendor\\nul.txt", MenuFolderError::kCharacters, ""},
      {u"lpt1", MenuFolderError::kCharacters, ""},
  };
  for (const Case& c : cases) {
    wizard::CheckedMenuFolder checked = wizard::CheckMenuFolder(c.typed);
    std::string typed = cc::Str(c.typed).ToUtf8();
    EXPECT_EQ(checked.error, c.error) << typed;
    if (c.error == MenuFolderError::kNone) {
      EXPECT_EQ(checked.name.ToUtf8(), c.name) << typed;
    }
  }
}

TEST(MenuFolderNameTest, ListEntryComposesANameTheCheckAccepts) {
  struct Case {
    const char16_t* entry;
    const char16_t* typed;
    const char* composed;
  };
  const Case cases[] = {
      {u"Vendor", u"Tool", "Vendor\\Tool"},
      {u"Other", u"Vendor\\Tool", "Other\\Tool"},
      {u"", u"Vendor\\Tool", "Tool"},
      {u"Vendor", u"Old\\", "Vendor\\Init"},
      {u"Vendor", u"  ", "Vendor\\Init"},
  };
  for (const Case& c : cases) {
    cc::Str composed = wizard::ComposeMenuFolder(c.entry, c.typed, u"Init");
    EXPECT_EQ(composed.ToUtf8(), c.composed);
    EXPECT_EQ(wizard::CheckMenuFolder(composed).error, MenuFolderError::kNone) << c.composed;
  }
}

TEST(MenuFolderNameTest, ProposalAndStore) {
  cc::KeyArr config{false, true};
  EXPECT_EQ(wizard::ProposedMenuFolder(config, u"Tool").ToUtf8(), "Tool");
  config.Set(u"Ret.Menu.InitPath", u"Vendor\\Tool\\");
  EXPECT_EQ(wizard::ProposedMenuFolder(config, u"Tool").ToUtf8(), "Vendor\\Tool");
  config.Set(u"Ret.Menu.InitPath", u"Tool/");
  EXPECT_EQ(wizard::ProposedMenuFolder(config, u"X").ToUtf8(), "Tool");

  wizard::StoreMenuFolder(config, true, u"ignored");
  EXPECT_EQ(config.Get(u"Ret.Menu.Path").ToUtf8(), "");
  EXPECT_TRUE(config.GetBool(u"Ret.Menu.Skip", false));
  wizard::StoreMenuFolder(config, false, u"Vendor\\Tool");
  EXPECT_EQ(config.Get(u"Ret.Menu.Path").ToUtf8(), "Vendor\\Tool");
  EXPECT_FALSE(config.GetBool(u"Ret.Menu.Skip", true));
}

std::vector<std::string> Names(const std::vector<cc::Str>& entries) {
  std::vector<std::string> names;
  for (const cc::Str& entry : entries) names.push_back(entry.ToUtf8());
  return names;
}

TEST(MenuFolderNameTest, ListShowsTheFoldersOfTheChosenProgramMenu) {
  FakePlatform platform;
  cc::Str common = wizard::MenuFolderBase(platform, true);
  cc::Str user = wizard::MenuFolderBase(platform, false);
  ASSERT_TRUE(common.EndsWith(u"\\")) << common.ToUtf8();
  ASSERT_TRUE(user.EndsWith(u"\\")) << user.ToUtf8();
  ASSERT_FALSE(common.Equals(user));
  platform.fake_files.PutFolder(common + u"Vendor");
  platform.fake_files.PutFile(common + u"Loose.lnk", "");
  platform.fake_files.PutFolder(user + u"Mine");

  std::vector<std::string> all = Names(wizard::MenuFolderEntries(platform, common));
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all[0], "");
  EXPECT_NE(std::find(all.begin(), all.end(), "Vendor"), all.end());
  EXPECT_EQ(std::find(all.begin(), all.end(), "Loose.lnk"), all.end());
  EXPECT_EQ(std::find(all.begin(), all.end(), "Mine"), all.end());
  EXPECT_EQ(std::find(all.begin(), all.end(), ".."), all.end());

  std::vector<std::string> mine = Names(wizard::MenuFolderEntries(platform, user));
  EXPECT_NE(std::find(mine.begin(), mine.end(), "Mine"), mine.end());
  EXPECT_EQ(std::find(mine.begin(), mine.end(), "Vendor"), mine.end());

  // A missing or unknown folder still offers the empty entry.
  EXPECT_EQ(Names(wizard::MenuFolderEntries(platform, u"C:\\Nowhere\\")), std::vector<std::string>{""});
  EXPECT_EQ(Names(wizard::MenuFolderEntries(platform, u"")), std::vector<std::string>{""});
}

}  // namespace
