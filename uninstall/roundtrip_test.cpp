// The round trip: a project installed on the fake system and removed again
// from its record leaves the system as it was, except for what the record
// keeps on purpose and what the user added.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "install/install_driver.h"
#include "install/overwrite_policy.h"
#include "install/pins.h"
#include "install/registry_items.h"
#include "install/ini_items.h"
#include "platform/csidl.h"
#include "uninstall/earlier_installation.h"
#include "uninstall/uninstall_folder.h"
#include "uninstall/uninstall_test_support.h"

namespace {

using install_test::InstallWorld;
using install_test::kAllSystems;

const cc::Str kApp = install_test::kAppFolder;
const char16_t kEntryKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[Velmora]Demo";
const char16_t kUninstallParent[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char16_t kSharedIni[] = u"C:\\ProgramData\\Shared\\shared.ini";

cc::Str AppFile(const char16_t* name) { return kApp + cc::Str(name); }

// Every file and folder of drive C: with its bytes (folders: "<dir>").
std::map<std::string, std::string> Snapshot(FakeFileSystem& files, const cc::Str& folder = u"C:\\") {
  std::map<std::string, std::string> out;
  std::vector<FoundFile> entries;
  if (!files.ListFolder(folder, &entries)) return out;
  for (const FoundFile& entry : entries) {
    const cc::Str path = folder + entry.name;
    if (entry.attributes & kFileAttributeDirectory) {
      out[path.ToUtf8() + "\\"] = "<dir>";
      auto inner = Snapshot(files, path + cc::Str(u"\\"));
      out.insert(inner.begin(), inner.end());
    } else {
      std::string bytes;
      files.GetFileBytes(path, &bytes);
      out[path.ToUtf8()] = bytes;
    }
  }
  return out;
}

void Differences(const std::map<std::string, std::string>& want, const std::map<std::string, std::string>& got,
                 std::vector<std::string>* out) {
  for (const auto& [path, bytes] : want) {
    auto it = got.find(path);
    if (it == got.end()) out->push_back("missing " + path);
    else if (it->second != bytes) out->push_back("changed " + path);
  }
  for (const auto& [path, bytes] : got) {
    if (!want.count(path)) out->push_back("left over " + path);
  }
}

// A project that makes something of every kind: files (removed, shared and
// kept), a sub-folder, links in the menu and on the desktop, a taskbar pin,
// an association, a service, registry values and INI keys in a file that
// existed and in one that the install creates.
struct RoundTripWorld : InstallWorld {
  RoundTripWorld() {
    uninstall_test::AddUninstallTexts(store);
    Item(1, 0, 2, u"Main");
    Check(1);
    Item(2, 1, 3, u"<Application Folder>");
    Item(3, 2, 5, u"3*app.exe");
    Item(4, 2, 5, u"4*svc.exe");
    Item(5, 2, 4, u"data");
    Item(6, 5, 5, u"6*shared.dll", 0, 2);
    Item(7, 5, 5, u"7*settings.cfg", 0, 1);
    Payload({{"pjcfg.ini", "[s]"}, {"unins.exe", "MZ uninstaller"}, {"3*app.exe", "MZ app"},
             {"4*svc.exe", "MZ service"}, {"6*shared.dll", "MZ shared"}, {"7*settings.cfg", "kept"}});

    const cc::Str pinned = PinnedTaskbarFolder(platform);
    platform.fake_shell.SetTaskbarFolder(pinned);
    const std::pair<const char16_t*, const char16_t*> keys[] = {
        {u"s.i.Short.Count", u"2"},
        {u"s.i.Short.0.File", u"<Application Folder>\\app.exe"},
        {u"en-US.s.i.Short.0.Name", u"Demo App"},
        {u"en-US.s.i.Short.0.Menu", u"Demo"},
        {u"en-US.s.i.Short.0.Desk", u"Demo"},
        {u"en-US.s.i.Short.0.TaskPinned", u"Demo"},
        {u"en-US.s.i.Short.0.AsDesc", u"Demo document"},
        {u"Ret.Shortcut.Ext0.Count", u"1"},
        {u"Ret.Shortcut.Ext0.0", u".dmo"},
        {u"s.i.Short.1.File", u"<Application Folder>\\svc.exe"},
        {u"en-US.s.i.Short.1.Name", u"Demo Service"},
        {u"s.i.Short.1.SeName", u"DemoSvc"},
        {u"s.i.Reg.Count", u"2"},
        {u"s.i.Ini.Count", u"2"},
    };
    for (const auto& [key, value] : keys) store.Set(key, value);
    // Menu, desktop and taskbar always; the service always.
    store.Set(u"s.i.Short.0.OS", cc::Str::Formatted(u"%u", kAllSystems));
    store.Set(u"s.i.Short.0.Flag", cc::Str::Formatted(u"%u", 0x1000u | 0x2000u | 0x40000u));
    store.Set(u"s.i.Short.1.OS", cc::Str::Formatted(u"%u", kAllSystems));
    store.Set(u"s.i.Short.1.Flag", cc::Str::Formatted(u"%u", 0x8000000u));
    const uint32_t reg = kAllSystems | kRegItemWrite | kRegItemRecord;
    store.Set(u"s.i.Reg.0.Item", cc::Str::Formatted(u"1;\t%u;\tSoftware\\Brindlecraft\\Demo;\tColor=blue\nSize=dword:3", reg));
    store.Set(u"s.i.Reg.1.Item", cc::Str::Formatted(u"2;\t%u;\tSoftware\\Brindlecraft\\Demo;\tPath=C:\\Demo", reg));
    const uint32_t ini = kAllSystems | kIniItemRecord | kIniItemCreateFile;
    store.Set(u"s.i.Ini.0.Item", cc::Str::Formatted(u"0;\t%u;\tC:\\ProgramData\\Shared;\tshared.ini;\tDemo;\tMode=full", ini));
    store.Set(u"s.i.Ini.1.Item", cc::Str::Formatted(u"0;\t%u;\t<Application Folder>;\tdemo.ini;\tMain;\tLang=en", ini));
    // What a real system has already: the folders and keys the install
    // puts its own into.
    platform.fake_files.PutFolder(u"C:\\Program Files");
    platform.fake_files.PutFolder(pinned);
    platform.fake_registry.PutString(RegRoot::kLocalMachine, kUninstallParent, u"x", u"y");
    // What was there before: an INI file of another program, a user value.
    platform.fake_files.PutFile(kSharedIni, "[Other]\r\nKey=1\r\n");
    platform.fake_registry.PutString(RegRoot::kCurrentUser, u"Software\\Brindlecraft", u"User", u"mine");
  }
};

TEST(RoundTripTest, InstallThenRemoveLeavesOnlyWhatIsKept) {
  RoundTripWorld w;
  const auto before = Snapshot(w.platform.fake_files);
  const int keysBefore = w.platform.fake_registry.KeyCount();
  ASSERT_TRUE(RunInstall(w.session, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();

  // The install made everything the test removes again.
  cc::KeyArr record = w.Record();
  const std::pair<const char16_t*, int> made[] = {
      {u"Log.File.Count", 3}, {u"Log.Short.Count", 3}, {u"Log.Pin.Count", 1}, {u"Log.Assoc.Count", 1},
      {u"Log.Service.Count", 1}, {u"Log.Reg.Count", 3}, {u"Log.Ini.Count", 1}};
  for (const auto& [key, count] : made) EXPECT_EQ(record.GetInt(key, 0), count) << cc::Str(key).ToUtf8();
  ASSERT_NE(w.platform.fake_services.Find(u"DemoSvc"), nullptr);
  ASSERT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kClassesRoot, u".dmo"));
  ASSERT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));
  const cc::Str pinnedLink = PinnedTaskbarFolder(w.platform) + cc::Str(u"Demo.lnk");
  EXPECT_TRUE(w.Exists(pinnedLink));

  // The user adds a file of his own to a folder of the installation.
  const cc::Str userFile = AppFile(u"data\\notes\\mine.txt");
  ASSERT_TRUE(w.platform.fake_files.PutFile(userFile, "user data"));

  InstallSession removal(w.platform, w.store, nullptr, w.log);
  EXPECT_EQ(UninstallFolder(removal, kApp, 1), 0) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();

  // Kept: the mode 1 file, the shared file (the default answer keeps it),
  // the INI file the install created, the user's file, and their folders.
  auto expected = before;
  std::string demoIni;
  w.platform.fake_files.GetFileBytes(AppFile(u"demo.ini"), &demoIni);
  const std::pair<cc::Str, std::string> kept[] = {
      {kApp, "<dir>"},
      {AppFile(u"data\\"), "<dir>"},
      {AppFile(u"data\\notes\\"), "<dir>"},
      {AppFile(u"data\\settings.cfg"), "kept"},
      {AppFile(u"data\\shared.dll"), "MZ shared"},
      {AppFile(u"demo.ini"), demoIni},
      {userFile, "user data"},
  };
  for (const auto& [path, bytes] : kept) expected[path.ToUtf8()] = bytes;
  // The profile functions remove a key, not the section it leaves empty.
  expected[cc::Str(kSharedIni).ToUtf8()] = "[Other]\r\nKey=1\r\n[Demo]\r\n";
  std::vector<std::string> diff;
  Differences(expected, Snapshot(w.platform.fake_files), &diff);
  EXPECT_TRUE(diff.empty()) << ::testing::PrintToString(diff);
  EXPECT_EQ(w.platform.fake_prompts.CountOf(FakePrompts::Kind::kRemoveShared), 1);

  // Only the key a value was written in is recorded, not the parents the
  // install created for it: the empty vendor key stays.
  EXPECT_EQ(w.platform.fake_registry.KeyCount(), keysBefore + 1);
  EXPECT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, u"Software\\Brindlecraft"));
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, u"Software\\Brindlecraft\\Demo"));
  RegValue value;
  EXPECT_TRUE(w.platform.fake_registry.GetValue(RegRoot::kCurrentUser, u"Software\\Brindlecraft", u"User", &value));
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kCurrentUser, u"Software\\Brindlecraft\\Demo"));
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kClassesRoot, u".dmo"));
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kClassesRoot, u"Demo App.dmo"));
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));
  const FakeServiceManager::Entry* service = w.platform.fake_services.Find(u"DemoSvc");
  EXPECT_TRUE(service == nullptr || service->marked_for_deletion);
  EXPECT_FALSE(w.Exists(pinnedLink));
}

// A start-menu folder typed with a sub-folder: the vendor folder the
// install made goes with the uninstall; one that was there before stays,
// with what else it holds.
TEST(RoundTripTest, AVendorMenuFolderGoesOnlyWhenTheInstallMadeIt) {
  struct Case {
    const char* name;
    bool vendorThere;
  };
  for (const Case& c : {Case{"made by the install", false}, Case{"there before", true}}) {
    RoundTripWorld w;
    w.store.Set(u"Ret.Menu.Path", u"Acme\\Demo");
    const cc::Str vendor =
        w.platform.fake_system.SpecialFolderPath(kCsidlCommonPrograms) + cc::Str(u"\\Acme\\");
    if (c.vendorThere) {
      ASSERT_TRUE(w.platform.fake_files.PutFile(vendor + cc::Str(u"Other.lnk"), "other"));
    }
    ASSERT_TRUE(RunInstall(w.session, kInstallPhase)) << c.name << ": " << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
    EXPECT_TRUE(w.Exists(vendor + cc::Str(u"Demo\\Demo.lnk"))) << c.name;

    InstallSession removal(w.platform, w.store, nullptr, w.log);
    EXPECT_EQ(UninstallFolder(removal, kApp, 1), 0) << c.name;
    EXPECT_FALSE(w.Exists(vendor + cc::Str(u"Demo"))) << c.name;
    EXPECT_EQ(w.Exists(vendor + cc::Str(u"Other.lnk")), c.vendorThere) << c.name;
    EXPECT_EQ(w.Exists(w.platform.fake_system.SpecialFolderPath(kCsidlCommonPrograms) + cc::Str(u"\\Acme")),
              c.vendorThere)
        << c.name;
  }
}

TEST(RoundTripTest, SecondInstallRemovesTheFirstFromItsRecord) {
  RoundTripWorld w;
  EnableEarlierInstallationRemoval(w.session);
  // The first version also has a file that the second no longer ships.
  w.Item(8, 2, 5, u"8*old.txt");
  w.Payload({{"pjcfg.ini", "[s]"}, {"unins.exe", "MZ uninstaller"}, {"3*app.exe", "MZ app"},
             {"4*svc.exe", "MZ service"}, {"6*shared.dll", "MZ shared"}, {"7*settings.cfg", "kept"},
             {"8*old.txt", "old"}});
  ASSERT_TRUE(RunInstall(w.session, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
  ASSERT_TRUE(w.Exists(AppFile(u"old.txt")));

  w.store.Set(u"s.f.8.Item", nullptr);
  w.platform.fake_prompts.QueueRemoveShared(kRemoveSharedRemove);
  InstallSession second(w.platform, w.store, w.session.archive, w.log);
  EnableEarlierInstallationRemoval(second);
  ASSERT_TRUE(RunInstall(second, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();

  EXPECT_EQ(w.platform.fake_prompts.CountOf(FakePrompts::Kind::kOkCancel), 1);
  EXPECT_FALSE(w.Exists(AppFile(u"old.txt")));
  for (const char16_t* name : {u"app.exe", u"svc.exe", u"data\\shared.dll", u"unins.exe", u"unins.exe.dat"}) {
    EXPECT_TRUE(w.Exists(AppFile(name))) << cc::Str(name).ToUtf8();
  }
  cc::KeyArr record = w.Record();
  EXPECT_EQ(record.GetInt(u"Log.File.Count", 0), 3);  // the mode 1 file has no line
  EXPECT_EQ(record.GetInt(u"Log.Service.Count", 0), 1);
  EXPECT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));
  const FakeServiceManager::Entry* service = w.platform.fake_services.Find(u"DemoSvc");
  ASSERT_NE(service, nullptr);
  EXPECT_FALSE(service->marked_for_deletion);
  EXPECT_TRUE(w.Exists(PinnedTaskbarFolder(w.platform) + cc::Str(u"Demo.lnk")));
}

// A re-install that fails after it removed the earlier installation leaves
// the earlier uninstaller, entry and record in place: the machine can
// still be cleaned.
TEST(RoundTripTest, AFailedReinstallStaysRemovable) {
  RoundTripWorld w;
  ASSERT_TRUE(RunInstall(w.session, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
  // The second version ships a file the payload lacks: its file step fails.
  w.Item(8, 2, 5, u"8*missing.txt");
  InstallSession second(w.platform, w.store, w.session.archive, w.log);
  EnableEarlierInstallationRemoval(second);
  ASSERT_FALSE(RunInstall(second, kInstallPhase));
  for (const char16_t* name : {u"unins.exe", u"unins.exe.dat", u"app.exe"}) {
    EXPECT_TRUE(w.Exists(AppFile(name))) << cc::Str(name).ToUtf8();
  }
  ASSERT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));

  InstallSession cleaner(w.platform, w.store, w.session.archive, w.log);
  EXPECT_EQ(UninstallFolder(cleaner, kApp, 1), 0) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
  for (const char16_t* name : {u"unins.exe", u"unins.exe.dat", u"app.exe", u"svc.exe"}) {
    EXPECT_FALSE(w.Exists(AppFile(name))) << cc::Str(name).ToUtf8();
  }
  EXPECT_FALSE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));
}

// A file the user had before (an edited configuration) that an install
// keeps rather than overwrites is not deleted by the uninstall, nor by the
// next install's removal of the earlier one.
TEST(RoundTripTest, AFileTheInstallKeptSurvivesReinstallAndUninstall) {
  RoundTripWorld w;
  w.Item(8, 2, 5, u"8*user.cfg", kOverwriteModeNever);
  w.Payload({{"pjcfg.ini", "[s]"}, {"unins.exe", "MZ uninstaller"}, {"3*app.exe", "MZ app"},
             {"4*svc.exe", "MZ service"}, {"6*shared.dll", "MZ shared"}, {"7*settings.cfg", "kept"},
             {"8*user.cfg", "shipped"}});
  w.platform.fake_files.PutFolder(kApp);
  w.platform.fake_files.PutFile(AppFile(u"user.cfg"), "edited");
  EnableEarlierInstallationRemoval(w.session);
  ASSERT_TRUE(RunInstall(w.session, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
  InstallSession second(w.platform, w.store, w.session.archive, w.log);
  EnableEarlierInstallationRemoval(second);
  ASSERT_TRUE(RunInstall(second, kInstallPhase)) << w.store.Get(u"Ret.ErrorInfo").ToUtf8();
  InstallSession cleaner(w.platform, w.store, w.session.archive, w.log);
  EXPECT_EQ(UninstallFolder(cleaner, kApp, 1), 0);
  std::string bytes;
  ASSERT_TRUE(w.platform.fake_files.GetFileBytes(AppFile(u"user.cfg"), &bytes));
  EXPECT_EQ(bytes, "edited");
  EXPECT_FALSE(w.Exists(AppFile(u"app.exe")));
}

TEST(RoundTripTest, RecordsThatAreNotActedOn) {
  struct Case {
    const char* name;
    std::string bytes;  // of unins.exe.dat; empty: no file
    int result;
  };
  const cc::Str own = AppFile(u"unins.exe.dat");
  const std::string files = uninstall_test::RecordUtf8({{u"File?=", AppFile(u"app.exe")}, {u"FileOver?=", u"0"},
                                                        {u"FileUnins?=", u"0"}, {u"UninsData=", u"C:\\Other\\unins.exe.dat"}});
  const std::string lower = uninstall_test::RecordUtf8({{u"File?=", AppFile(u"app.exe")}, {u"FileOver?=", u"0"},
                                                        {u"FileUnins?=", u"0"},
                                                        {u"UninsData=", u"c:\\program files\\demo\\unins.exe.dat"}});
  const Case cases[] = {
      {"no record", "", kUninstallNoRecord},
      {"not a record", "\xEF\xBB\xBFnot a record", kUninstallNoRecord},
      {"record with another key", "\xEF\xBB\xBF" "QUJDREVGR0g=", kUninstallNoRecord},
      {"record of another folder", EncodeRecordFile(files), kUninstallForeignRecord},
      {"own path in other letter case", EncodeRecordFile(lower), kUninstallForeignRecord},
      {"truncated record", EncodeRecordFile(files).substr(0, 40), kUninstallNoRecord},
  };
  for (const Case& c : cases) {
    RoundTripWorld w;
    w.platform.fake_files.PutFile(AppFile(u"app.exe"), "MZ");
    if (!c.bytes.empty()) w.platform.fake_files.PutFile(own, c.bytes);
    const int entries = w.platform.fake_files.EntryCount();
    const int result = UninstallFolder(w.session, kApp, 1);
    // A damaged record may still decode to some text; then it names no file.
    if (c.result == kUninstallForeignRecord) EXPECT_EQ(result, c.result) << c.name;
    else EXPECT_TRUE(result == kUninstallNoRecord || result == kUninstallForeignRecord) << c.name << result;
    EXPECT_EQ(w.platform.fake_files.EntryCount(), entries) << c.name;
    EXPECT_FALSE(w.store.Get(u"Ret.ErrorInfo").IsEmpty()) << c.name;
  }
}

}  // namespace
