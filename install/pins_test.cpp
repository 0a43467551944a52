#include "install/pins.h"

#include <gtest/gtest.h>

#include <string>

#include "install/shortcuts_test_support.h"
#include "platform/registry.h"

namespace {

using namespace shortcut_test;

const char16_t kFileAssociation[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileAssociation";
const std::string kTempLink = "C:\\Users\\user\\AppData\\Local\\Temp\\Demo TaskPinned.lnk";

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

std::string PinnedLink(const char* extension = ".lnk") {
  return Utf8(kTaskbarFolder) + "Demo TaskPinned" + extension;
}

// How the shell answers a pin, and what the procedure then does.
struct PinCase {
  const char* name;
  FakePinMode mode;
  int ticks;            // for late pins: pumps until the pin appears
  bool execute_pins;    // the "TaskbarPin" command pins
  bool verb_offered;    // the shell's string table has the pin verb
  bool url;
  bool pinned;          // the pinned link exists afterwards
  int executes;         // "TaskbarPin" commands sent
  int target_verbs;     // pin verbs run on the program itself
};
const PinCase kPinCases[] = {
    {"at once", FakePinMode::kAtOnce, 0, false, true, false, true, 0, 0},
    {"late, within the wait", FakePinMode::kLate, 40, false, true, false, true, 0, 0},
    {"late, after the first wait", FakePinMode::kLate, 75, false, true, false, true, 1, 0},
    {"never, the command pins", FakePinMode::kNever, 0, true, true, false, true, 1, 0},
    {"never", FakePinMode::kNever, 0, false, true, false, false, 1, 1},
    {"no pin verb, the command pins", FakePinMode::kAtOnce, 0, true, false, false, true, 1, 0},
    {"URL at once", FakePinMode::kAtOnce, 0, false, true, true, true, 0, 0},
    {"URL never: not through the address", FakePinMode::kNever, 0, false, true, true, false, 1, 0},
};

TEST(PinTest, PinsAtOnceLateOrNeverAndRecordsEveryPin) {
  for (const PinCase& c : kPinCases) {
    ShortcutWorld world(FakeWindows::k10);
    FakeShell& shell = world.platform.fake_shell;
    shell.SetPinMode(c.mode, c.ticks);
    shell.SetExecutePins(c.execute_pins);
    if (!c.verb_offered) shell.SetShellString(kShellStringPinToTaskbar, u"");
    world.TickOnPump();
    world.Shortcut(0, c.url ? u"https://example.org/" : u"<Application Folder>\\app.exe", Always(6));
    ASSERT_TRUE(world.Run()) << c.name;

    const std::string pinned = PinnedLink(c.url ? ".website" : ".lnk");
    EXPECT_EQ(world.Exists(cc::Str::FromUtf8(pinned)), c.pinned) << c.name;
    EXPECT_EQ(shell.CountCalls("execute TaskbarPin|"), c.executes) << c.name;
    EXPECT_EQ(shell.CountCalls("doit C:\\Program Files\\Demo\\|app.exe|Pin to tas&kbar"), c.target_verbs) << c.name;
    EXPECT_TRUE(world.Recorded("Pin?=Demo TaskPinned")) << c.name;
    EXPECT_TRUE(world.Recorded(c.url ? "PinPath?=https://example.org/" : "PinPath?=C:\\Program Files\\Demo\\app.exe"))
        << c.name;
    EXPECT_EQ(world.Record().find("Short?="), std::string::npos) << c.name << ": a pin has no link to remove";
    EXPECT_FALSE(world.Exists(cc::Str::FromUtf8(Utf8(kTempFolder) + "Demo TaskPinned" + (c.url ? ".website" : ".lnk"))))
        << c.name;
  }
}

TEST(PinTest, WaitsAreBoundedAndPumpEveryStep) {
  ShortcutWorld world(FakeWindows::k7);
  world.platform.fake_shell.SetPinMode(FakePinMode::kNever);
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(6));
  ASSERT_TRUE(world.Run());
  // The verb ran, so 60 steps of waiting; 100 ms after it; 30 steps after
  // the command and 30 after the verb on the program; 100 ms before each
  // of the two verb walks.
  EXPECT_EQ(world.platform.fake_process.SleptMs(), 100 + 6000 + 100 + 3000 + 100 + 3000);
  EXPECT_GE(world.platform.fake_progress.Pumps(), 60 + 1 + 30 + 30);
}

TEST(PinTest, ReinstallingUnpinsTheEarlierPinFirst) {
  ShortcutWorld world(FakeWindows::k10);
  world.platform.fake_files.PutFile(cc::Str::FromUtf8(PinnedLink()), "pinned by the earlier installation");
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(6));
  ASSERT_TRUE(world.Run());
  const FakeShell& shell = world.platform.fake_shell;
  const std::string unpin = "doit " + Utf8(kTaskbarFolder) + "|Demo TaskPinned.lnk|Unpin from tas&kbar";
  const std::string pin = "doit " + Utf8(kTempFolder) + "|Demo TaskPinned.lnk|Pin to tas&kbar";
  ASSERT_EQ(shell.CountCalls(unpin), 1);
  ASSERT_EQ(shell.CountCalls(pin), 1);
  size_t unpinAt = 0, pinAt = 0, notifyAt = 0;
  for (size_t i = 0; i < shell.Calls().size(); ++i) {
    if (shell.Calls()[i] == unpin) unpinAt = i;
    if (shell.Calls()[i] == pin) pinAt = i;
    if (shell.Calls()[i] == "notify 8000000|1000|") notifyAt = i;
  }
  EXPECT_LT(unpinAt, notifyAt);
  EXPECT_LT(notifyAt, pinAt);
  EXPECT_EQ(world.Bytes(cc::Str::FromUtf8(PinnedLink())), "pinned " + kTempLink);
  EXPECT_EQ(world.CountRecorded("Pin?=Demo TaskPinned"), 1);
}

TEST(PinTest, FileAssociationValuesAreClearedForThePinOnlyAndRestoredAsTheyWere) {
  ShortcutWorld world(FakeWindows::k10);
  FakeRegistry& registry = world.platform.fake_registry;
  registry.PutString(RegRoot::kLocalMachine, kFileAssociation, u"AddRemoveApps", u"apps");  // no "AddRemoveNames"
  std::string during = "(not seen)";
  world.platform.fake_shell.SetPinMode(FakePinMode::kLate, 3);
  // The value as the shell sees it when the pin appears.
  world.platform.fake_progress.OnPump([&](int) {
    bool before = world.Exists(cc::Str::FromUtf8(PinnedLink()));
    world.platform.fake_shell.Tick();
    RegValue value;
    if (!before && world.Exists(cc::Str::FromUtf8(PinnedLink())) &&
        registry.GetValue(RegRoot::kLocalMachine, kFileAssociation, u"AddRemoveApps", &value)) {
      during = Utf8(RegDataAsText(value.data));
    }
  });
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(6));
  ASSERT_TRUE(world.Run());
  EXPECT_EQ(during, "");
  RegValue value;
  ASSERT_TRUE(registry.GetValue(RegRoot::kLocalMachine, kFileAssociation, u"AddRemoveApps", &value));
  EXPECT_EQ(Utf8(RegDataAsText(value.data)), "apps");
  EXPECT_FALSE(registry.GetValue(RegRoot::kLocalMachine, kFileAssociation, u"AddRemoveNames", &value));
}

TEST(PinTest, WithoutTheFileAssociationKeyNothingIsWrittenThere) {
  ShortcutWorld world(FakeWindows::k10);
  world.Shortcut(0, u"<Application Folder>\\app.exe", Always(6));
  ASSERT_TRUE(world.Run());
  EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kFileAssociation));
}

// Unpinning as the uninstall does it (removing): which way succeeds.
struct UnpinCase {
  const char* name;
  bool pinned_before;   // the pinned link exists
  bool verb_offered;
  bool url;
  int executes;         // "taskbarunpin" commands sent
  bool notified;
};
const UnpinCase kUnpinCases[] = {
    {"through the pinned link", true, true, false, 0, true},
    {"nothing pinned: the temporary link has no unpin verb, commands", false, true, false, 2, true},
    {"no verbs at all: commands to both", true, false, false, 2, true},
    {"URL without verbs: the link only", true, false, true, 1, true},
};

TEST(PinTest, UnpinFromTaskbarTriesEachWayInTurn) {
  for (const UnpinCase& c : kUnpinCases) {
    ShortcutWorld world(FakeWindows::k10);
    FakeShell& shell = world.platform.fake_shell;
    if (!c.verb_offered) {
      shell.SetShellString(kShellStringPinToTaskbar, u"");
      shell.SetShellString(kShellStringUnpinFromTaskbar, u"");
    }
    const cc::Str pinned = cc::Str::FromUtf8(PinnedLink(c.url ? ".website" : ".lnk"));
    if (c.pinned_before) world.platform.fake_files.PutFile(pinned, "pinned");
    const cc::Str target = c.url ? cc::Str(u"https://example.org/") : cc::Str(kProgram);
    UnpinFromTaskbar(world.platform, world.log, target, pinned, u"Demo TaskPinned", true);
    EXPECT_EQ(shell.CountCalls("execute taskbarunpin|"), c.executes) << c.name;
    EXPECT_EQ(shell.CountCalls("notify 1000|1005|"), c.notified ? 2 : 0) << c.name;
    if (c.verb_offered) EXPECT_FALSE(world.Exists(pinned)) << c.name;
    EXPECT_FALSE(world.Exists(cc::Str(kTempFolder) + cc::Str(u"Demo TaskPinned.lnk"))) << c.name;
    EXPECT_FALSE(world.Exists(cc::Str(kTempFolder) + cc::Str(u"Demo TaskPinned.website"))) << c.name;
  }
}

TEST(PinTest, PinToTaskbarRunsOnlyTheExactVerb) {
  ShortcutWorld world;
  FakeShell& shell = world.platform.fake_shell;
  EXPECT_EQ(PinToTaskbar(world.platform, world.log, kProgram, true), 1);
  EXPECT_EQ(PinToTaskbar(world.platform, world.log, kProgram, true), 0) << "pinned already: only unpin is offered";
  EXPECT_EQ(PinToTaskbar(world.platform, world.log, kProgram, false), 1);
  shell.SetShellString(kShellStringPinToTaskbar, u"Pin to taskbar");  // differs from the offered verb's spelling
  shell.SetTaskbarFolder(kTaskbarFolder);
  EXPECT_EQ(PinToTaskbar(world.platform, world.log, u"C:\\Program Files\\Demo\\missing.exe", true), 0);
  EXPECT_EQ(shell.CountCalls("doit "), 2);
}

}  // namespace
