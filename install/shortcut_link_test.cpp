#include "install/shortcut_link.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "platform/os_version.h"

namespace {

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

// The icon a link gets from the icon index, the icon path and the target.
struct IconCase {
  const char16_t* target;
  int icon_index;
  const char16_t* icon_path;
  const char* expected_path;  // "" for none
  int expected_index;
};
const IconCase kIcons[] = {
    {u"C:\\a\\app.exe", 3, u"C:\\a\\other.ico", "C:\\a\\app.exe", 3},  // an index names the target's icon
    {u"C:\\a\\doc.txt", 0, u"", "C:\\a\\doc.txt", 0},
    {u"C:\\a\\doc.txt", -1, u"C:\\a\\doc.ico", "C:\\a\\doc.ico", 0},
    {u"C:\\a\\app.EXE", -1, u"", "C:\\a\\app.EXE", 0},
    {u"C:\\a\\doc.txt", -1, u"", "", 0},
};

TEST(ShellLinkTest, IconRules) {
  for (size_t i = 0; i < std::size(kIcons); ++i) {
    const IconCase& c = kIcons[i];
    LinkFields fields;
    fields.icon_index = c.icon_index;
    fields.icon_path = c.icon_path;
    ShellLinkSpec spec = MakeShellLinkSpec(u"C:\\l.lnk", c.target, fields, kOsWindows7);
    EXPECT_EQ(Utf8(spec.icon_path), c.expected_path) << "case " << i;
    EXPECT_EQ(spec.icon_index, c.expected_index) << "case " << i;
  }
}

// The application-model properties by system: none before Windows 7, one
// from it on, three on Windows 8.
struct PropertyCase {
  int os;
  const char* expected;
};
const PropertyCase kProperties[] = {
    {kOsWindowsVista, ""},
    {kOsWindowsServer2008R2, ""},
    {kOsWindows7, "8:b1 "},
    {kOsWindowsServer2012, "8:b1 "},
    {kOsWindows8, "8:b1 9:b1 12:u1 "},
    {kOsWindows8_1, "8:b1 "},
    {kOsWindowsNext, "8:b1 "},
};

TEST(ShellLinkTest, ApplicationModelPropertiesBySystem) {
  for (size_t i = 0; i < std::size(kProperties); ++i) {
    ShellLinkSpec spec = MakeShellLinkSpec(u"C:\\l.lnk", u"C:\\a.exe", LinkFields(), kProperties[i].os);
    std::string got;
    for (const LinkProperty& p : spec.properties) {
      EXPECT_EQ(Utf8(p.format_id), Utf8(kAppUserModelFormat)) << "case " << i;
      got += std::to_string(p.property_id) + ":" + (p.type == LinkPropertyType::kBool ? "b" : "u") +
             std::to_string(p.number) + " ";
    }
    EXPECT_EQ(got, kProperties[i].expected) << "case " << i;
  }
}

// Web links are text files in the ANSI code page, replacing what was there.
struct WebCase {
  const char16_t* link;
  const char* bytes;
};
const WebCase kWebLinks[] = {
    {u"C:\\Links\\Site.url", "[InternetShortcut]\r\nURL=https://example.org/caf\xE9\r\n"},
    {u"C:\\Links\\Site.URL", "[InternetShortcut]\r\nURL=https://example.org/caf\xE9\r\n"},
    {u"C:\\Links\\Site.website",
     "[{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}]\r\nProp5=8,Microsoft.Website\r\n"
     "[InternetShortcut]\r\nURL=https://example.org/caf\xE9\r\n"},
};

TEST(ShellLinkTest, WebLinksAreAnsiText) {
  for (size_t i = 0; i < std::size(kWebLinks); ++i) {
    FakePlatform platform;
    platform.fake_files.PutFile(kWebLinks[i].link, "an older and much longer link file");
    ASSERT_TRUE(CreateShellLink(platform, kOsWindows7, kWebLinks[i].link, u"https://example.org/caf\u00E9",
                                LinkFields()))
        << "case " << i;
    std::string bytes;
    ASSERT_TRUE(platform.fake_files.GetFileBytes(kWebLinks[i].link, &bytes)) << "case " << i;
    EXPECT_EQ(bytes, kWebLinks[i].bytes) << "case " << i;
    EXPECT_TRUE(platform.fake_shell.Links().empty()) << "case " << i;
  }
}

TEST(ShellLinkTest, AMissingWorkingFolderIsMadeOneLevelOnly) {
  FakePlatform platform;
  platform.fake_files.PutFolder(u"C:\\Links");
  LinkFields fields;
  fields.working_folder = u"C:\\Work\\";
  ASSERT_TRUE(CreateShellLink(platform, kOsWindows7, u"C:\\Links\\a.lnk", u"C:\\a.exe", fields));
  EXPECT_TRUE(platform.fake_files.Exists(u"C:\\Work\\"));
  fields.working_folder = u"C:\\Deep\\Work\\";
  ASSERT_TRUE(CreateShellLink(platform, kOsWindows7, u"C:\\Links\\b.lnk", u"C:\\a.exe", fields));
  EXPECT_FALSE(platform.fake_files.Exists(u"C:\\Deep\\"));
  EXPECT_EQ(Utf8(platform.fake_shell.FindLink(u"C:\\Links\\b.lnk")->working_folder), "C:\\Deep\\Work\\");
}

TEST(ShellLinkTest, UrlTargetsBeginWithTheirSchemeInLowerCase) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"http://a", true}, {u"https://a", true}, {u"ftp://a", true}, {u"HTTP://a", false},
      {u"file://a", false}, {u"C:\\http://a", false}, {u"", false},
  };
  for (const auto& [target, url] : cases) EXPECT_EQ(IsUrlTarget(target), url) << Utf8(target);
}

}  // namespace
