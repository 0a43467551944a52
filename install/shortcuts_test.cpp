#include "install/shortcuts.h"

#include <gtest/gtest.h>

#include <string>

#include "install/shortcuts_test_support.h"

namespace {

using namespace shortcut_test;

const char kUrl[] = "https://example.org/notes";

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

// Where each place's link goes, for the current user and for all users.
struct PlaceCase {
  int place;
  const char* current_user;
  const char* all_users;
};
const PlaceCase kPlaces[] = {
    {0, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\",
     "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\"},
    {1, "C:\\Users\\user\\Desktop\\", "C:\\Users\\Public\\Desktop\\"},
    {2, "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\",
     "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\"},
    {3, "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\",
     "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\"},
    {4, "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\SendTo\\",
     "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\SendTo\\"},
    {5, "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\",
     "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\"},
};
const char* const kPlaceNames[] = {"Menu", "Desk", "Start", "Startup", "Sendto", "Quick", "TaskPinned",
                                   "StartScreen"};

// Which systems make a pin (place 6) and a tile (place 7).
struct SystemCase {
  FakeWindows windows;
  const char* name;
  bool pins;
  bool tiles;
};
const SystemCase kSystems[] = {
    {FakeWindows::kVista, "Vista", false, false}, {FakeWindows::k7, "7", true, false},
    {FakeWindows::k8, "8", true, true},           {FakeWindows::k8_1, "8.1", true, true},
    {FakeWindows::k10, "10", true, true},
};

TEST(ShortcutStepTest, EveryPlaceOnEverySystemForFilesAndUrls) {
  for (const SystemCase& system : kSystems) {
    for (bool allUsers : {false, true}) {
      for (bool url : {false, true}) {
        const std::string label = std::string("Windows ") + system.name + (allUsers ? " all users" : " user") +
                                  (url ? " URL" : " file");
        ShortcutWorld world(system.windows, allUsers);
        world.Shortcut(0, url ? u"https://example.org/notes" : u"<Application Folder>\\app.exe", 0xFF);
        world.TickOnPump();
        ASSERT_TRUE(world.Run()) << label;
        const std::string target = url ? kUrl : "C:\\Program Files\\Demo\\app.exe";

        for (const PlaceCase& place : kPlaces) {
          const std::string link = std::string(allUsers ? place.all_users : place.current_user) + "Demo " +
                                   kPlaceNames[place.place] + (url ? ".url" : ".lnk");
          EXPECT_TRUE(world.Recorded("Short?=" + link)) << label << ", place " << place.place;
          if (url) {
            EXPECT_EQ(world.Bytes(cc::Str::FromUtf8(link)), std::string("[InternetShortcut]\r\nURL=") + kUrl + "\r\n")
                << label << ", place " << place.place;
          } else {
            const ShellLinkSpec* spec = world.platform.fake_shell.FindLink(cc::Str::FromUtf8(link));
            ASSERT_NE(spec, nullptr) << label << ", place " << place.place;
            EXPECT_EQ(Utf8(spec->target), target) << label << ", place " << place.place;
          }
        }
        EXPECT_TRUE(world.Recorded("Dir?=" + std::string(kPlaces[0].current_user))) << label;

        const std::string pinned = Utf8(kTaskbarFolder) + "Demo TaskPinned" + (url ? ".website" : ".lnk");
        EXPECT_EQ(world.Exists(cc::Str::FromUtf8(pinned)), system.pins) << label;
        EXPECT_EQ(world.Recorded("Pin?=Demo TaskPinned"), system.pins) << label;
        EXPECT_EQ(world.Recorded("PinPath?=" + target), system.pins) << label;
        EXPECT_FALSE(world.Exists(cc::Str::FromUtf8(Utf8(kTempFolder) + "Demo TaskPinned" +
                                                    (url ? ".website" : ".lnk"))))
            << label << ": the link made for pinning stays behind";

        const std::string tile = Utf8(kStartScreen) + "Demo StartScreen.lnk";
        EXPECT_EQ(world.Recorded("Short?=" + tile), system.tiles) << label;
        EXPECT_EQ(world.Recorded("Dir?=" + Utf8(kStartScreen)), system.tiles) << label;
        EXPECT_EQ(world.platform.fake_shell.FindLink(cc::Str::FromUtf8(tile)) != nullptr, system.tiles) << label;

        int skipped = 0;
        for (const cc::Str& line : world.platform.fake_progress.Lines()) {
          skipped += line == cc::Str(u"Skip for windows not suport\r\n");
        }
        EXPECT_EQ(skipped, (system.pins ? 0 : 1) + (system.tiles ? 0 : 1)) << label;
      }
    }
  }
}

TEST(ShortcutStepTest, StatusLinesNameTheItemOnceAndEachPlace) {
  ShortcutWorld world;
  world.Shortcut(0, u"<Application Folder>\\app.exe", Offered(1) | Offered(2));
  world.store.Set(u"en-US.s.i.Var.S_Desk", u"Desktop");
  ASSERT_TRUE(world.Run());
  std::string lines;
  for (const cc::Str& line : world.platform.fake_progress.Lines()) lines += Utf8(line) + "|";
  EXPECT_EQ(lines, "Item0[C:\\Program Files\\Demo\\app.exe]:\r\n    |Desktop; |Start; |\r\n|");
  EXPECT_TRUE(world.platform.fake_progress.HasStatus(u"Desktop: Demo Desk"));
}

// Which places a flag word and the user's choices make.
struct ChoiceCase {
  uint32_t flags;
  const char16_t* choice;  // "Ret.Shortcut.chkShort0_1", null: not set
  bool desktop_made;
};
const ChoiceCase kChoices[] = {
    {Offered(1), nullptr, true},       // offered places default to chosen
    {Offered(1), u"1", true},
    {Offered(1), u"0", false},
    {Always(1), u"0", true},           // a fixed place is made even when unchecked
    {Always(1) | Offered(1), u"0", true},
    {Offered(2), u"1", false},         // a choice for a place that is not offered
    {0, u"1", false},
};

TEST(ShortcutStepTest, OfferedPlacesFollowTheChoiceAndFixedPlacesAreAlwaysMade) {
  for (size_t i = 0; i < std::size(kChoices); ++i) {
    const ChoiceCase& c = kChoices[i];
    ShortcutWorld world;
    world.Shortcut(0, u"<Application Folder>\\app.exe", c.flags);
    if (c.choice) world.store.Set(u"Ret.Shortcut.chkShort0_1", c.choice);
    ASSERT_TRUE(world.Run()) << "case " << i;
    EXPECT_EQ(world.Exists(u"C:\\Users\\user\\Desktop\\Demo Desk.lnk"), c.desktop_made) << "case " << i;
  }
}

// The program-menu link's folder from the item's sub-folder.
struct MenuCase {
  const char16_t* subfolder;
  const char* folder;
};
const MenuCase kMenuCases[] = {
    {u"", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\"},
    {u"Tools", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\Tools\\"},
    {u"Tools\\More\\", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\Tools\\More\\"},
    {u"D:\\Apps\\Demo", "D:\\Apps\\Demo\\"},  // a drive folder is used as it is
};

TEST(ShortcutStepTest, ProgramMenuLinkGoesIntoTheItemsFolder) {
  for (size_t i = 0; i < std::size(kMenuCases); ++i) {
    const MenuCase& c = kMenuCases[i];
    ShortcutWorld world;
    world.platform.fake_files.AddVolume(u"D:");
    world.Shortcut(0, u"<Application Folder>\\app.exe", Always(0));
    world.store.Set(u"en-US.s.i.Short.0.Folder", c.subfolder);
    ASSERT_TRUE(world.Run()) << "case " << i;
    const std::string link = std::string(c.folder) + "Demo Menu.lnk";
    EXPECT_TRUE(world.Exists(cc::Str::FromUtf8(link))) << "case " << i;
    EXPECT_TRUE(world.Recorded("Dir?=" + std::string(c.folder))) << "case " << i;
    EXPECT_TRUE(world.Recorded("Short?=" + link)) << "case " << i;
    EXPECT_EQ(world.Record().find("Dir?="), world.Record().find("Dir?=" + std::string(c.folder)))
        << "case " << i << ": only the link's folder is recorded";
  }
}

TEST(ShortcutStepTest, AProgramMenuFolderThatCannotBeMadeStopsTheInstall) {
  ShortcutWorld world;
  world.store.Set(u"en-US.s.i.Short.0.Folder", u"Q:\\Nowhere");  // no such drive
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(0) | Always(1));
  EXPECT_FALSE(world.Run());
  EXPECT_EQ(Utf8(world.store.Get(u"Ret.ErrorInfo")), "Cannot create the folder:\r\n\r\nQ:\\Nowhere\\");
}

TEST(ShortcutStepTest, ASkippedProgramMenuMakesNoMenuLinkAndNoRelativeFolder) {
  ShortcutWorld world;
  world.session.start_menu_folder = u"";
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(0) | Always(1));
  const int entries = world.platform.fake_files.EntryCount();
  ASSERT_TRUE(world.Run());
  EXPECT_EQ(world.Record().find("Dir?="), std::string::npos);
  EXPECT_TRUE(world.Exists(u"C:\\Users\\user\\Desktop\\Demo Desk.lnk"));
  EXPECT_EQ(world.platform.fake_files.EntryCount(), entries + 1);  // the desktop link only
}

// Items that make nothing, and what they say.
struct SkipCase {
  const char16_t* file;
  uint32_t os;
  const char16_t* line;  // the status line, or null for none
};
const SkipCase kSkips[] = {
    {u"<Application Folder>\\missing.exe", kAllSystems, u"Skip for shortcut or assco for file not exist\r\n"},
    {u"<Application Folder>", kAllSystems, u"Skip for shortcut or assco for file not exist\r\n"},
    {u"<Application Folder>\\app.exe", kAllSystems & ~0x400u, nullptr},  // not for Windows 10
    {u"<Application Folder>\\app.exe", kAllSystems & ~0x800000u, nullptr},  // not for 64-bit
    {u"HTTP://example.org/", kAllSystems, u"Skip for shortcut or assco for file not exist\r\n"},
};

TEST(ShortcutStepTest, ItemsForOtherSystemsOrMissingFilesMakeNothing) {
  for (size_t i = 0; i < std::size(kSkips); ++i) {
    const SkipCase& c = kSkips[i];
    ShortcutWorld world;
    world.Shortcut(0, c.file, Always(0) | Always(1), c.os);
    ASSERT_TRUE(world.Run()) << "case " << i;
    EXPECT_TRUE(world.platform.fake_shell.Links().empty()) << "case " << i;
    EXPECT_EQ(world.Record().find("Short?="), std::string::npos) << "case " << i;
    if (c.line) {
      EXPECT_TRUE(world.platform.fake_progress.HasLine(c.line)) << "case " << i;
    } else {
      EXPECT_TRUE(world.platform.fake_progress.Lines().empty()) << "case " << i;
    }
  }
}

TEST(ShortcutStepTest, AMissingPlaceFolderSkipsThatPlaceOnly) {
  ShortcutWorld world;
  world.platform.fake_files.RemoveFolder(kQuickLaunch);
  world.platform.fake_system.SetSpecialFolder(0x09, u"");  // no Send To folder at all
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(1) | Always(4) | Always(5));
  ASSERT_TRUE(world.Run());
  int skipped = 0;
  for (const cc::Str& line : world.platform.fake_progress.Lines()) {
    skipped += line == cc::Str(u"Skip for shortcut folder not exist\r\n");
  }
  EXPECT_EQ(skipped, 2);
  EXPECT_EQ(world.platform.fake_shell.Links().size(), 1u);
  EXPECT_TRUE(world.Exists(u"C:\\Users\\user\\Desktop\\Demo Desk.lnk"));
}

TEST(ShortcutStepTest, LinkFieldsComeFromTheItem) {
  ShortcutWorld world(FakeWindows::k7);
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(1));
  world.Set(0, u"Work", u"<Application Folder>\\data\\logs");
  world.Set(0, u"Param", u"--fast \"a b\"");
  world.Set(0, u"Runwin", u"1");
  world.Set(0, u"Hotkey", u"198228");  // 0x30654: the low 16 bits are the key
  world.Set(0, u"IconPath", u"<Application Folder>\\app.ico");
  ASSERT_TRUE(world.Run());
  const ShellLinkSpec* link = world.platform.fake_shell.FindLink(u"C:\\Users\\user\\Desktop\\Demo Desk.lnk");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(Utf8(link->working_folder), "C:\\Program Files\\Demo\\data\\logs\\");
  EXPECT_TRUE(world.platform.fake_files.Exists(u"C:\\Program Files\\Demo\\data\\logs\\"));
  EXPECT_EQ(Utf8(link->arguments), "--fast \"a b\"");
  EXPECT_EQ(Utf8(link->description), "Demo Desk");
  EXPECT_EQ(link->show_command, 6);
  EXPECT_EQ(link->hot_key, 0x0654);
  EXPECT_EQ(Utf8(link->icon_path), "C:\\Program Files\\Demo\\app.ico");
  EXPECT_EQ(link->icon_index, 0);
}

// A configured name with characters no file name can hold: the link's file
// leaves them out, its description keeps the name as written.
TEST(ShortcutStepTest, LinkFileNamesLeaveOutWhatNoFileNameHolds) {
  struct Case {
    const char16_t* name;
    const char* file;
  };
  const Case cases[] = {
      {u"Notes: read me", "Notes read me"},
      {u"What? <new> \"1.4\" | *", "What new 1.4  "},
      {u"Grüße – прочтите", "Grüße – прочтите"},
  };
  for (const Case& c : cases) {
    ShortcutWorld world(FakeWindows::k7);
    world.Shortcut(0, u"<Application Folder>\\app.exe", Always(1));
    world.store.Set(u"en-US.s.i.Short.0.Desk", c.name);
    ASSERT_TRUE(world.Run()) << c.file;
    const cc::Str path = cc::Str(u"C:\\Users\\user\\Desktop\\") + cc::Str::FromUtf8(c.file) + cc::Str(u".lnk");
    const ShellLinkSpec* link = world.platform.fake_shell.FindLink(path);
    ASSERT_NE(link, nullptr) << c.file;
    EXPECT_EQ(link->description, cc::Str(c.name)) << c.file;
    EXPECT_TRUE(world.Recorded("Short?=" + path.ToUtf8())) << c.file;
  }
}

TEST(ShortcutStepTest, AHugeItemCountOnlyVisitsItemsThatExist) {
  ShortcutWorld world;
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(1));
  world.Shortcut(7, u"<Application Folder>\\app.exe", Always(2));
  world.store.Set(u"s.i.Short.Count", u"2000000000");
  ASSERT_TRUE(world.Run());
  EXPECT_TRUE(world.Exists(u"C:\\Users\\user\\Desktop\\Demo Desk.lnk"));
  EXPECT_TRUE(world.Exists(u"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Demo Start.lnk"));
}

TEST(ShortcutStepTest, ItemsPastTheCountAreLeftOut) {
  ShortcutWorld world;
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(1));
  world.Shortcut(1, u"<Application Folder>\\app.exe", Always(2));
  ASSERT_TRUE(world.Run());
  EXPECT_FALSE(world.Exists(u"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Demo Start.lnk"));
}

}  // namespace
