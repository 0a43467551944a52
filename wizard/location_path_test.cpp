#include "wizard/location_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wizard::LocationError;

const char16_t kSuffix[] = u"Tool 2.1\\";

TEST(LocationPathTest, TypedFolders) {
  struct Case {
    const char16_t* typed;
    LocationError error;
    const char* path;
  };
  const Case cases[] = {
      {u"", LocationError::kEmpty, ""},
      {u"    ", LocationError::kEmpty, ""},
      {u"D:/Apps/Tool", LocationError::kNone, "D:\\Apps\\Tool\\"},
      {u"  C:\\Apps\\  ", LocationError::kNone, "C:\\Apps\\"},
      {u"C:\\", LocationError::kNone, "C:\\"},
      {u"\\\\s\\x", LocationError::kFormat, ""},
      {u"//s/x", LocationError::kFormat, ""},
      {u"C:", LocationError::kFormat, ""},
      {u"Apps\\Tool", LocationError::kFormat, ""},
      {u"C:\\a:b", LocationError::kFormat, ""},
      {u"C:\\a<b", LocationError::kCharacters, ""},
      {u"C:\\a\"b", LocationError::kCharacters, ""},
      {u"C:\\a*", LocationError::kCharacters, ""},
      {u"C:\\a\tb", LocationError::kCharacters, ""},
      {u"C:\\Program Files", LocationError::kNone, "C:\\Program Files\\Tool 2.1\\"},
      {u"E:\\Program Files (x86)\\", LocationError::kNone, "E:\\Program Files (x86)\\Tool 2.1\\"},
      {u"C:\\program files", LocationError::kNone, "C:\\program files\\"},
      {u"C:\\Program Files\\Other", LocationError::kNone, "C:\\Program Files\\Other\\"},
  };
  for (const Case& c : cases) {
    wizard::CheckedLocation checked = wizard::CheckLocation(c.typed, kSuffix);
    std::string typed = cc::Str(c.typed).ToUtf8();
    EXPECT_EQ(checked.error, c.error) << typed;
    if (c.error == LocationError::kNone) {
      EXPECT_EQ(checked.path.ToUtf8(), c.path) << typed;
    }
  }
}

TEST(LocationPathTest, SuffixAndProposal) {
  cc::KeyArr config{false, true};
  config.Set(u"en.s.c.Var.AppName", u"Tool");
  EXPECT_EQ(wizard::ApplicationSuffix(config, u"en").ToUtf8(), "Tool \\");
  config.Set(u"en.s.c.Var.AppVersion", u"2.1");
  cc::Str suffix = wizard::ApplicationSuffix(config, u"en");
  EXPECT_EQ(suffix.ToUtf8(), "Tool 2.1\\");
  config.Set(u"Ret.Dir.App", u"C:\\Program Files");
  EXPECT_EQ(wizard::ProposedFolder(config, suffix).ToUtf8(), "C:\\Program Files\\Tool 2.1\\");
  config.Set(u"Ret.Dir.App", u"C:\\Apps\\Tool\\");
  EXPECT_EQ(wizard::ProposedFolder(config, suffix).ToUtf8(), "C:\\Apps\\Tool\\");
}

TEST(LocationPathTest, FolderBrowserPick) {
  struct Case {
    const char16_t* picked;  // null: the browser was cancelled
    const char* text;
  };
  const Case cases[] = {
      {nullptr, "D:\\typed\\"},
      {u"", "D:\\typed\\"},
      {u"C:", "D:\\typed\\"},
      {u"E:\\Apps", "E:\\Apps\\Tool 2.1\\"},
      {u"E:\\Apps\\Tool 2.1\\", "E:\\Apps\\Tool 2.1\\"},
      {u"E:\\Apps\\Tool 2.1", "E:\\Apps\\Tool 2.1\\"},
  };
  for (const Case& c : cases) {
    cc::Str picked = c.picked ? cc::Str(c.picked) : cc::Str(nullptr);
    EXPECT_EQ(wizard::TextAfterBrowse(u"D:\\typed\\", picked, kSuffix).ToUtf8(), c.text)
        << (c.picked ? picked.ToUtf8() : "(cancel)");
  }
}

TEST(LocationPathTest, AllUsersStoredOnlyWhenAsked) {
  cc::KeyArr config{false, true};
  config.SetBool(u"Ret.Location.AllUser", true);  // start-up's default
  wizard::StoreLocation(config, 0x100, u"D:\\A\\", false);
  EXPECT_TRUE(config.GetBool(u"Ret.Location.AllUser", false));
  EXPECT_EQ(config.Get(u"Ret.Location.Path").ToUtf8(), "D:\\A\\");
  wizard::StoreLocation(config, 0x100 | wizard::kLocationAskAllUsers, u"D:\\B\\", false);
  EXPECT_FALSE(config.GetBool(u"Ret.Location.AllUser", true));
}

TEST(LocationPathTest, SpaceRootOfTheTypedFolder) {
  struct Case {
    const char16_t* typed;
    const char* root;
  };
  const Case cases[] = {
      {u"D:\\Apps\\Tool\\", "D:\\"},
      {u"D:/Apps", "D:\\"},
      {u"  E:\\x", "E:\\"},
      {u"D:", "C:\\"},
      {u"\\\\server\\share", "C:\\"},
      {u"Apps", "C:\\"},
      {u"", "C:\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wizard::SpaceRoot(c.typed).ToUtf8(), c.root) << cc::Str(c.typed).ToUtf8();
  }
}

TEST(LocationPathTest, SpaceText) {
  const cc::Str both(u"Need [#SpaceRequired#], have [#SpaceAvaliable#]; need [#SpaceRequired#]");
  EXPECT_TRUE(wizard::SpaceTemplateHasPlaceholders(both));
  EXPECT_EQ(wizard::SpaceText(both, 2048, int64_t{3} << 30).ToUtf8(),
            "Need 2.000 KB, have 3.000 GB; need 2.000 KB");
  EXPECT_TRUE(wizard::SpaceTemplateHasPlaceholders(u"only [#SpaceAvaliable#]"));
  EXPECT_EQ(wizard::SpaceText(u"only [#SpaceAvaliable#]", 0, 1572864).ToUtf8(), "only 1.500 MB");
  // A template without placeholders is left alone (the page then asks no drive).
  EXPECT_FALSE(wizard::SpaceTemplateHasPlaceholders(u"Space: plenty"));
  EXPECT_FALSE(wizard::SpaceTemplateHasPlaceholders(cc::Str(nullptr)));
}

}  // namespace
