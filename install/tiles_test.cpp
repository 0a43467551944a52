#include "install/tiles.h"

#include <gtest/gtest.h>

#include <string>

#include "install/shortcuts_test_support.h"
#include "platform/registry.h"

namespace {

using namespace shortcut_test;

const char16_t kUserChoice[] = u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

// The bytes of `text` as UTF-16LE with its mark.
std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string RegText(FakeRegistry& registry, RegRoot root, const cc::Str& path, const cc::Str& name) {
  RegValue value;
  return registry.GetValue(root, path, name, &value) ? Utf8(RegDataAsText(value.data)) : "(none)";
}

void DefaultBrowser(FakeRegistry& registry, const char16_t* progId, const char16_t* command) {
  registry.PutString(RegRoot::kCurrentUser, kUserChoice, u"ProgId", progId);
  registry.PutString(RegRoot::kClassesRoot, cc::Str(progId) + cc::Str(u"\\shell\\open\\command"), u"", command);
}

int Number(uint32_t n) { return static_cast<int>(n); }

TEST(TileTest, TwoTilesShareOneIdentifierAndOneBrowserPreparation) {
  ShortcutWorld world(FakeWindows::k10);
  FakeRegistry& registry = world.platform.fake_registry;
  DefaultBrowser(registry, u"FirstHTML", u"\"C:\\Browser\\first.exe\" -url \"%1\"");
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(7));
  world.Shortcut(1, u"https://example.org/", Always(7));
  world.store.Set(u"s.i.Short.Count", u"2");
  world.store.Set(u"en-US.s.i.Short.1.StartScreen", u"Demo Site");
  // Were the browser prepared again for the second tile, this one would be marked.
  world.platform.fake_progress.OnPump([&](int) {
    if (world.platform.fake_shell.Links().size() == 1) DefaultBrowser(registry, u"SecondHTML", u"second.exe %1");
  });
  ASSERT_TRUE(world.Run());
  const auto& links = world.platform.fake_shell.Links();
  ASSERT_EQ(links.size(), 2u);
  ASSERT_FALSE(links[0].properties.empty());
  const cc::Str id = links[0].properties[0].text;
  EXPECT_EQ(Utf8(links[1].properties[0].text), Utf8(id));
  EXPECT_TRUE(id.StartsWith(u"Quorvane")) << Utf8(id);
  EXPECT_TRUE(id.EndsWith(u".07")) << Utf8(id) << ": made for item 0, place 7";
  EXPECT_EQ(RegText(registry, RegRoot::kClassesRoot, u"FirstHTML", u"AppUserModelId"), Utf8(kTileBrowserId));
  EXPECT_EQ(RegText(registry, RegRoot::kClassesRoot, u"SecondHTML", u"AppUserModelId"), "(none)");
}

TEST(TileTest, IdentifierFromTheGeneratorItemAndPlace) {
  EXPECT_EQ(Utf8(MakeTileIdentifier(0, 0, 0, 7)), "Quorvane100000.V1000.07");
  EXPECT_EQ(Utf8(MakeTileIdentifier(32767, 32767, 12, 7)), "Quorvane132767.V33767.127");
}

// The tile's files by system and target.
struct FilesCase {
  FakeWindows windows;
  const char16_t* file;
  const char* script;
  const char* folder;  // Windows 8's tile folder, or null
};
const FilesCase kFiles[] = {
    {FakeWindows::k8, u"<Application Folder>\\app.exe", "C:\\Program Files\\Demo\\app.exe_start\\_launcher.vbs",
     "C:\\Program Files\\Demo\\app.exe_start\\"},
    {FakeWindows::k8, u"https://example.org/a*b", "C:\\Program Files\\Demo\\https-__example_org_a_b\\_launcher.vbs",
     "C:\\Program Files\\Demo\\https-__example_org_a_b\\"},
    {FakeWindows::k8_1, u"<Application Folder>\\app.exe", "C:\\Program Files\\Demo\\app.exe_launcher.vbs", nullptr},
    {FakeWindows::k8_1, u"https://example.org/a/b", "C:\\Program Files\\Demo\\https-__example.org_a_b_launcher.vbs",
     nullptr},
    {FakeWindows::k10, u"https://example.org/find?q=a|b",
     "C:\\Program Files\\Demo\\https-__example.org_find_q=a_b_launcher.vbs", nullptr},
};

TEST(TileTest, TileFilesBySystemAndTarget) {
  for (size_t i = 0; i < std::size(kFiles); ++i) {
    const FilesCase& c = kFiles[i];
    ShortcutWorld world(c.windows);
    world.platform.fake_files.PutFile(u"C:\\Program Files\\Demo\\tile.png", "PNG tile");
    world.platform.fake_resources.Put(u"BIN", kTileIndexResource, "mrm_pri0 index");
    world.Shortcut(0, c.file, Always(7));
    world.Set(0, u"Pinpic", u"<Application Folder>\\tile.png");
    ASSERT_TRUE(world.Run()) << "case " << i;
    const std::string link = Utf8(kStartScreen) + "Demo StartScreen.lnk";
    std::string expected = "Dir?=" + Utf8(kStartScreen) + "\r\n";
    if (c.folder) {
      const std::string folder = c.folder;
      expected += "Dir?=" + folder + "\r\nShort?=" + folder + "resources.pri\r\nShort?=" + folder +
                  "PinnedSiteSmallLogo.png\r\n";
      EXPECT_EQ(world.Bytes(cc::Str::FromUtf8(folder + "resources.pri")), "mrm_pri0 index") << "case " << i;
      EXPECT_EQ(world.Bytes(cc::Str::FromUtf8(folder + "PinnedSiteSmallLogo.png")), "PNG tile") << "case " << i;
    }
    expected += "Short?=" + std::string(c.script) + "\r\nShort?=" + link + "\r\n";
    const std::string record = world.Record();
    EXPECT_NE(record.find(expected), std::string::npos) << "case " << i << "\n" << record;
    const ShellLinkSpec* spec = world.platform.fake_shell.FindLink(cc::Str::FromUtf8(link));
    ASSERT_NE(spec, nullptr) << "case " << i;
    EXPECT_EQ(Utf8(spec->target), c.script) << "case " << i;
    const bool url = !cc::Str(c.file).StartsWith(u"<");
    const std::u16string value = url ? std::u16string(c.file) : std::u16string(kProgram);
    EXPECT_EQ(world.Bytes(cc::Str::FromUtf8(c.script)),
              Utf16File(u"web=\"" + (url ? value : u"") + u"\"\r\nexe=\"" + (url ? u"" : value) + u"\"\r\n"))
        << "case " << i;
  }
}

TEST(TileTest, WithoutAResourceIndexOrPictureWindows8StillGetsItsFolder) {
  ShortcutWorld world(FakeWindows::k8);
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(7));
  ASSERT_TRUE(world.Run());
  const std::string folder = "C:\\Program Files\\Demo\\app.exe_start\\";
  EXPECT_TRUE(world.Recorded("Dir?=" + folder));
  EXPECT_FALSE(world.Exists(cc::Str::FromUtf8(folder + "resources.pri")));
  EXPECT_EQ(world.Record().find("resources.pri"), std::string::npos);
  EXPECT_TRUE(world.Recorded("Short?=" + folder + "PinnedSiteSmallLogo.png")) << "recorded though not copied";
  EXPECT_FALSE(world.Exists(cc::Str::FromUtf8(folder + "PinnedSiteSmallLogo.png")));
}

TEST(TileTest, PropertiesInTheirOrder) {
  for (FakeWindows windows : {FakeWindows::k8, FakeWindows::k10}) {
    ShortcutWorld world(windows);
    world.Shortcut(0, u"<Application Folder>\\app.exe", Always(7));
    world.Set(0, u"Pinpic", u"<Application Folder>\\img\\tile.png");
    world.Set(0, u"PinpicW", u"<Application Folder>\\img\\wide.png");
    world.Set(0, u"Pinsize", u"3");
    ASSERT_TRUE(world.Run());
    ASSERT_EQ(world.platform.fake_shell.Links().size(), 1u);
    std::string got;
    for (const LinkProperty& p : world.platform.fake_shell.Links()[0].properties) {
      got += Utf8(p.format_id).substr(1, 8) + "," + std::to_string(p.property_id) + "=" +
             (p.type == LinkPropertyType::kString ? Utf8(p.text) : std::to_string(Number(p.number))) + "\n";
    }
    const std::string file = "file:///C:/Program Files/Demo/img/tile.png";
    const std::string logo = windows == FakeWindows::k8 ? "ms-appx:///images/PinnedSiteSmallLogo.png" : file;
    const std::string id = Utf8(world.platform.fake_shell.Links()[0].properties[0].text);
    EXPECT_EQ(got, "9F4C2855,5=" + id + "\n86D40B4D,12=" + file + "\n86D40B4D,19=" + file + "\n86D40B4D,20=" +
                       file + "\n86D40B4D,2=" + logo +
                       "\n86D40B4D,13=file:///C:/Program Files/Demo/img/wide.png\n86D40B4D,14=65\n"
                       "B725F130,10=Demo StartScreen\n9F4C2855,11=1\n"
                       "9F4C2855,19=Microsoft.InternetExplorer.Default\n"
                       "9F4C2855,20=-contentTile -formatVersion 0x00000002 -securityFlags 0x00000000 -url "
                       "0x00000057\nB6578B39,4=225\n0DED77B3,16=3\n");
  }
}

// The stored tile size from the configured one and the pictures.
struct SizeCase {
  const char16_t* size;
  bool picture;
  bool wide;
  uint32_t stored;
};
const SizeCase kSizes[] = {
    {u"2", true, false, 2}, {u"4", true, true, 4},  {u"5", true, true, 0},  {u"-1", true, true, 0},
    {u"1", true, true, 1},  {u"1", true, false, 0}, {u"0", false, true, 1}, {u"3", false, true, 1},
    {u"", false, false, 0},
};

TEST(TileTest, TileSizeNeedsItsPictures) {
  for (size_t i = 0; i < std::size(kSizes); ++i) {
    const SizeCase& c = kSizes[i];
    ShortcutWorld world(FakeWindows::k10);
    world.Shortcut(0, u"<Application Folder>\\app.exe", Always(7));
    world.Set(0, u"Pinsize", c.size);
    if (c.picture) world.Set(0, u"Pinpic", u"<Application Folder>\\tile.png");
    if (c.wide) world.Set(0, u"PinpicW", u"<Application Folder>\\wide.png");
    ASSERT_TRUE(world.Run()) << "case " << i;
    ASSERT_EQ(world.platform.fake_shell.Links().size(), 1u) << "case " << i;
    EXPECT_EQ(world.platform.fake_shell.Links()[0].properties.back().number, c.stored) << "case " << i;
  }
}

TEST(TileTest, NoScriptTemplateNoTile) {
  ShortcutWorld world(FakeWindows::k10);
  world.platform.fake_resources.Remove(u"BIN", kTileScriptResource);
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(7));
  ASSERT_TRUE(world.Run());
  EXPECT_TRUE(world.platform.fake_shell.Links().empty());
  EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\app.exe_launcher.vbs"));
}

TEST(TileTest, ScriptValuesStayOneStringOfTheScript) {
  const cc::Str script = MakeLauncherScript(kScriptTemplate, u"https://example.org/\"\r\nMsgBox 1 '");
  EXPECT_EQ(Utf8(script), "web=\"https://example.org/\"\"%0D%0AMsgBox 1 '\"\r\nexe=\"\"\r\n");
}

// The browser program found from the default browser's open command.
struct BrowserCase {
  const char16_t* prog_id;  // null: no user choice
  const char16_t* command;  // null: no command
  const char* program;      // null: not prepared
};
const BrowserCase kBrowsers[] = {
    {u"FoxHTML", u"\"C:\\Fox\\fox.EXE\" -osint -url \"%1\"", "\"C:\\Fox\\fox.EXE\""},
    {u"PlainHTML", u"C:\\Plain\\plain.exe %1", "C:\\Plain\\plain.exe"},
    {u"ExeInName", u"C:\\a.exe.d\\b.exe\" %1", "C:\\a.exe.d\\b.exe\""},
    {u"ScriptHTML", u"wscript.vbs %1", nullptr},
    {u"NoCommand", nullptr, nullptr},
    {u"", u"C:\\x.exe", nullptr},
    {nullptr, nullptr, nullptr},
};

TEST(TileTest, PrepareDefaultBrowser) {
  for (size_t i = 0; i < std::size(kBrowsers); ++i) {
    const BrowserCase& c = kBrowsers[i];
    FakeRegistry registry;
    if (c.prog_id) registry.PutString(RegRoot::kCurrentUser, kUserChoice, u"ProgId", c.prog_id);
    if (c.command) {
      registry.PutString(RegRoot::kClassesRoot, cc::Str(c.prog_id) + cc::Str(u"\\shell\\open\\command"), u"",
                         c.command);
    }
    const int keys = registry.KeyCount();
    EXPECT_EQ(PrepareDefaultBrowser(registry), c.program != nullptr) << "case " << i;
    if (!c.program) {
      EXPECT_EQ(registry.KeyCount(), keys) << "case " << i;
      continue;
    }
    const cc::Str id = c.prog_id;
    EXPECT_EQ(RegText(registry, RegRoot::kClassesRoot, id, u"AppUserModelId"), Utf8(kTileBrowserId)) << "case " << i;
    EXPECT_EQ(RegText(registry, RegRoot::kCurrentUser, cc::Str(u"Software\\Classes\\") + id, u"AppUserModelId"),
              Utf8(kTileBrowserId))
        << "case " << i;
    EXPECT_EQ(RegText(registry, RegRoot::kLocalMachine, cc::Str(u"Software\\Classes\\") + id, u"AppUserModelId"),
              Utf8(kTileBrowserId))
        << "case " << i;
    for (const char16_t* verb : {u"open", u"opennewwindow"}) {
      const cc::Str key = cc::Str(u"Software\\Classes\\Microsoft.InternetExplorer.Default\\.exe\\shell\\") +
                          cc::Str(verb) + cc::Str(u"\\command");
      EXPECT_EQ(RegText(registry, RegRoot::kCurrentUser, key, u""), c.program) << "case " << i;
    }
  }
}

}  // namespace
