#include "install/install_driver.h"

#include <gtest/gtest.h>

#include <string>

#include "install/install_test_support.h"
#include "install/uninstaller.h"
#include "platform/csidl.h"

namespace {

using install_test::InstallWorld;
using install_test::kAppFolder;

const char16_t kEntryKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[Velmora]Demo";

// A small project: one component with a program and a shared file in a
// sub-folder, and the uninstaller.
void SampleProject(InstallWorld& world) {
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*app.exe");
  world.Item(4, 2, 4, u"data");
  world.Item(5, 4, 5, u"5*cfg.ini", 0, 2);
  world.Payload({{"pjcfg.ini", "[s]"}, {"unins.exe", "MZ uninstaller"}, {"3*app.exe", "MZ app"},
                 {"5*cfg.ini", "[cfg]"}});
}

std::string MenuFolder(InstallWorld& world, int csidl = kCsidlCommonPrograms) {
  return world.platform.fake_system.SpecialFolderPath(csidl).ToUtf8() + "\\Demo\\";
}

std::string RegText(InstallWorld& world, const char16_t* name) {
  RegValue value;
  if (!world.platform.fake_registry.GetValue(RegRoot::kLocalMachine, kEntryKey, name, &value)) return "(none)";
  return RegDataAsText(value.data).ToUtf8();
}

const char16_t kEarlierRecord[] = u"C:\\Program Files\\Demo\\unins.exe.dat";

// An earlier installation's record in the application folder naming
// `uninsData` as its own, and, unless `entryFolder` is null, the
// installed-programs entry an administrator's install leaves, naming the
// uninstaller in `entryFolder`.
void PlantEarlier(InstallWorld& world, const char16_t* uninsData, const char16_t* entryFolder) {
  RecordText earlier;
  earlier.Start(kAppFolder, u"Old");
  earlier.AddLine(u"UninsKey=", u"[Velmora]Demo");
  earlier.AddLine(u"UninsData=", uninsData);
  world.platform.fake_files.PutFile(kEarlierRecord, EncodeRecordFile(earlier.Utf8()));
  if (!entryFolder) return;
  const cc::Str quoted = cc::Str(u"\"") + cc::Str(entryFolder) + cc::Str(u"unins.exe\"");
  world.platform.fake_registry.PutString(RegRoot::kLocalMachine, kEntryKey, u"UninstallString", quoted);
}

TEST(InstallDriverTest, OtherPhasesDoNothing) {
  for (int phase : {0, 2, -1}) {
    InstallWorld world;
    SampleProject(world);
    const int entries = world.platform.fake_files.EntryCount();
    const int keys = world.store.Count();
    EXPECT_TRUE(RunInstall(world.session, phase)) << phase;
    EXPECT_EQ(world.platform.fake_files.EntryCount(), entries) << phase;
    EXPECT_EQ(world.store.Count(), keys) << phase;
    EXPECT_EQ(world.platform.fake_progress.Pumps(), 0) << phase;
  }
}

TEST(InstallDriverTest, SampleProjectWritesFilesEntryLinkAndRecord) {
  InstallWorld world;
  SampleProject(world);
  ASSERT_TRUE(RunInstall(world.session, kInstallPhase)) << world.store.Get(u"Ret.ErrorInfo").ToUtf8();

  const std::string app = "C:\\Program Files\\Demo\\";
  const std::string menu = MenuFolder(world);
  const std::string expected =
      "[Log]\r\nAppDir=" + app + "\r\nAppName=Demo App\r\n"
      "Dir?=" + menu + "\r\n"
      "File?=" + app + "app.exe\r\nFileOver?=0\r\nFileUnins?=0\r\n"
      "Dir?=" + app + "data\\\r\n"
      "File?=" + app + "data\\cfg.ini\r\nFileOver?=0\r\nFileUnins?=2\r\n"
      "Unins?=" + app + "unins.exe\r\n"
      "UninsKey=[Velmora]Demo\r\n"
      "Short?=" + menu + "Uninstall Demo.lnk\r\n"
      "UninsData=" + app + "unins.exe.dat\r\n";
  EXPECT_EQ(world.session.record.Utf8(), expected);
  std::string bytes;
  ASSERT_TRUE(world.FileBytes(cc::Str(kAppFolder) + cc::Str(u"unins.exe.dat"), &bytes));
  EXPECT_EQ(bytes, EncodeRecordFile(expected));
  cc::KeyArr record = world.Record();
  EXPECT_EQ(record.Get(u"Log.File.Count"), cc::Str(u"2"));
  EXPECT_EQ(record.Get(u"Log.FileUnins1"), cc::Str(u"2"));
  EXPECT_EQ(record.Get(u"Log.Dir.Count"), cc::Str(u"2"));

  ASSERT_TRUE(world.FileBytes(cc::Str(kAppFolder) + cc::Str(u"unins.exe"), &bytes));
  EXPECT_EQ(bytes, "MZ uninstaller");
  ASSERT_TRUE(world.FileBytes(cc::Str(kAppFolder) + cc::Str(u"data\\cfg.ini"), &bytes));
  EXPECT_EQ(bytes, "[cfg]");

  const std::string quoted = "\"" + app + "unins.exe\"";
  EXPECT_EQ(RegText(world, u"DisplayName"), "Demo App 1.0");
  EXPECT_EQ(RegText(world, u"DisplayIcon"), quoted);
  EXPECT_EQ(RegText(world, u"UninstallString"), quoted);
  EXPECT_EQ(RegText(world, u"DisplayVersion"), "1.0");
  EXPECT_EQ(RegText(world, u"Publisher"), "Brindlecraft");
  EXPECT_EQ(RegText(world, u"HelpLink"), "(none)");

  const ShellLinkSpec* link = world.platform.fake_shell.FindLink(cc::Str::FromUtf8(menu + "Uninstall Demo.lnk"));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->target.ToUtf8(), app + "unins.exe");
  EXPECT_EQ(link->description, cc::Str(u"Uninstall Demo"));
  EXPECT_EQ(link->icon_index, 0);
  EXPECT_EQ(link->show_command, kShowNormal);
  EXPECT_TRUE(link->arguments.IsEmpty());
  EXPECT_TRUE(link->working_folder.IsEmpty());
  EXPECT_EQ(link->hot_key, 0);

  EXPECT_TRUE(world.store.GetBool(u"Ret.CancelEnd", false));
  EXPECT_FALSE(world.store.Has(u"Ret.Canceled"));
  EXPECT_FALSE(world.store.Has(u"Ret.ErrorInfo"));
  const FakeProgress& progress = world.platform.fake_progress;
  const char16_t* steps[] = {u"Check unins.exe.dat...", u"Check menu folder...", u"Install/Extracting files...",
                             u"treate registry...", u"treate ini file...", u"write unins.exe.",
                             u"write unins.exe.dat."};
  ASSERT_EQ(progress.Statuses().size(), std::size(steps));
  for (size_t i = 0; i < std::size(steps); ++i) EXPECT_EQ(progress.Statuses()[i], cc::Str(steps[i])) << i;
  EXPECT_TRUE(progress.HasLine(u"create uninstall link.\r\n"));
}

TEST(InstallDriverTest, SwitchesLeaveOutTheirParts) {
  struct Case {
    const char* name;
    const char16_t* key;
    const char16_t* value;
    bool uninstaller, entry, link, record, menu_folder;
  };
  const Case cases[] = {
      {"no uninstaller", u"s.c.chkUnins", u"0", false, false, false, false, true},
      {"menu skipped", u"Ret.Menu.Skip", u"1", true, true, false, true, false},
      {"no entry key", u"s.c.u.UninsKey", u"", true, false, true, true, true},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    SampleProject(world);
    world.store.Set(c.key, c.value);
    const int keys = world.platform.fake_registry.KeyCount();
    ASSERT_TRUE(RunInstall(world.session, kInstallPhase)) << c.name;
    const std::string& text = world.session.record.Utf8();
    const cc::Str app(kAppFolder);
    EXPECT_EQ(world.Exists(app + cc::Str(u"unins.exe")), c.uninstaller) << c.name;
    EXPECT_EQ(world.platform.fake_registry.KeyCount() > keys, c.entry) << c.name;
    EXPECT_EQ(text.find("UninsKey=") != std::string::npos, c.entry) << c.name;
    EXPECT_EQ(world.platform.fake_shell.Links().size(), c.link ? 1u : 0u) << c.name;
    EXPECT_EQ(text.find("Short?=") != std::string::npos, c.link) << c.name;
    EXPECT_EQ(world.Exists(app + cc::Str(u"unins.exe.dat")), c.record) << c.name;
    EXPECT_EQ(world.Exists(cc::Str::FromUtf8(MenuFolder(world))), c.menu_folder) << c.name;
    EXPECT_EQ(text.find("Dir?=" + MenuFolder(world)) != std::string::npos, c.menu_folder) << c.name;
    EXPECT_EQ(world.platform.fake_progress.HasLine(u"create uninstall link.\r\n"), c.uninstaller) << c.name;
    EXPECT_TRUE(world.Exists(app + cc::Str(u"app.exe"))) << c.name;
  }
}

TEST(InstallDriverTest, EmptyOptionalValuesAreNotWritten) {
  InstallWorld world;
  SampleProject(world);
  world.store.Set(u"s.c.u.DispVersion", u"");
  world.store.Set(u"s.c.u.HelpLink", u"https://example.org/help");
  ASSERT_TRUE(RunInstall(world.session, kInstallPhase));
  EXPECT_EQ(RegText(world, u"DisplayVersion"), "(none)");
  EXPECT_EQ(RegText(world, u"HelpLink"), "https://example.org/help");
}

TEST(InstallDriverTest, MenuFolderFromTheProposedPathForTheCurrentUser) {
  InstallWorld world;
  SampleProject(world);
  world.store.Set(u"Ret.Menu.Path", u"");
  world.store.Set(u"Ret.Menu.InitPath", u"Acme\\Demo");
  world.store.Set(u"Ret.Location.AllUser", u"0");
  ASSERT_TRUE(RunInstall(world.session, kInstallPhase));
  const std::string base = world.platform.fake_system.SpecialFolderPath(kCsidlPrograms).ToUtf8();
  const std::string folder = base + "\\Acme\\Demo\\";
  EXPECT_TRUE(world.Exists(cc::Str::FromUtf8(folder)));
  const std::string& text = world.session.record.Utf8();
  // The vendor folder the install made is recorded before the folder in it.
  const size_t vendorLine = text.find("Dir?=" + base + "\\Acme\\\r\n");
  ASSERT_NE(vendorLine, std::string::npos);
  EXPECT_GT(text.find("Dir?=" + folder + "\r\n"), vendorLine);
  EXPECT_NE(text.find("Short?=" + folder + "Uninstall Demo.lnk"), std::string::npos);
}

TEST(InstallDriverTest, FailuresStopWithTheirErrorAndNoRecord) {
  struct Case {
    const char* name;
    void (*arrange)(InstallWorld&);
    const char* error;
  };
  const Case cases[] = {
      {"application folder",
       [](InstallWorld& w) { w.platform.fake_files.PutFile(u"C:\\Program Files\\Demo", "x"); },
       "Cannot create the folder:\r\n\r\nC:\\Program Files\\Demo\\"},
      {"menu folder",
       [](InstallWorld& w) { w.store.Set(u"Ret.Menu.Path", u"Bad\\x"); 
         w.platform.fake_files.PutFile(w.platform.fake_system.SpecialFolderPath(kCsidlCommonPrograms) + cc::Str(u"\\Bad"), "x"); },
       nullptr},
      {"earlier installation kept",
       [](InstallWorld& w) {
         PlantEarlier(w, kEarlierRecord, kAppFolder);
         w.platform.fake_prompts.QueueConfirm(ConfirmAnswer::kCancel);
       },
       "An earlier installation is in the way:\r\n\r\nC:\\Program Files\\Demo\\unins.exe.dat"},
      {"file write",
       [](InstallWorld& w) { w.platform.fake_prompts.QueueOverwrite(kOverwriteCancel);
         w.platform.fake_files.PutFile(u"C:\\Program Files\\Demo\\app.exe", "old"); },
       ".s.i.Var.CopyFileError"},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    SampleProject(world);
    c.arrange(world);
    const bool entryBefore = world.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey);
    EXPECT_FALSE(RunInstall(world.session, kInstallPhase)) << c.name;
    cc::Str error = world.store.Get(u"Ret.ErrorInfo");
    if (c.error) {
      EXPECT_EQ(error.ToUtf8(), c.error) << c.name;
    } else {
      EXPECT_TRUE(error.StartsWith(u"Cannot create the folder:\r\n\r\n")) << c.name << ": " << error.ToUtf8();
    }
    EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\unins.exe")) << c.name;
    EXPECT_FALSE(world.store.Has(u"Ret.CancelEnd")) << c.name;
    EXPECT_FALSE(world.session.files_in_place) << c.name;
    EXPECT_EQ(world.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey), entryBefore) << c.name;
  }
}

// A registry whose keys under HKEY_LOCAL_MACHINE cannot be created.
class NoMachineKeys : public Registry {
 public:
  explicit NoMachineKeys(Registry& inner) : inner_(inner) {}
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const cc::Str& path, RegAccess access,
                                       RegView view) override {
    return inner_.OpenKey(root, path, access, view);
  }
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const cc::Str& path, RegView view) override {
    if (root == RegRoot::kLocalMachine) return nullptr;
    return inner_.CreateKey(root, path, view);
  }
  bool DeleteKey(RegRoot root, const cc::Str& path, RegView view) override {
    return inner_.DeleteKey(root, path, view);
  }

 private:
  Registry& inner_;
};

// Writing the uninstaller, its record or its entry fails the install with
// the reason; the entry and the link never name an uninstaller that is not
// there, nor one that has no record.
TEST(InstallDriverTest, UninstallerRecordAndEntryFailuresFailTheInstall) {
  struct Case {
    const char* name;
    const char16_t* refused_file;  // cannot be created
    bool entry_refused;
    const char* error;
    bool uninstaller, record;      // exist afterwards
  };
  const Case cases[] = {
      {"uninstaller", u"C:\\Program Files\\Demo\\unins.exe", false,
       "Cannot create the file:\r\n\r\nC:\\Program Files\\Demo\\unins.exe", false, false},
      {"record", u"C:\\Program Files\\Demo\\unins.exe.dat.new", false,
       "Cannot create the file:\r\n\r\nC:\\Program Files\\Demo\\unins.exe.dat", true, false},
      {"entry key", nullptr, true,
       "Cannot write the installed-programs entry:\r\n\r\n"
       "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[Velmora]Demo",
       true, true},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    SampleProject(world);
    install_test::FaultyFiles files(world.platform.fake_files);
    NoMachineKeys registry(world.platform.fake_registry);
    world.platform.files = &files;
    if (c.refused_file) files.RefuseCreate(c.refused_file, 1000);
    if (c.entry_refused) world.platform.registry = &registry;
    EXPECT_FALSE(RunInstall(world.session, kInstallPhase)) << c.name;
    EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo").ToUtf8(), c.error) << c.name;
    EXPECT_EQ(world.Exists(u"C:\\Program Files\\Demo\\unins.exe"), c.uninstaller) << c.name;
    EXPECT_EQ(world.Exists(kEarlierRecord), c.record) << c.name;
    EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey)) << c.name;
    EXPECT_TRUE(world.platform.fake_shell.Links().empty()) << c.name;
    EXPECT_FALSE(world.store.Has(u"Ret.CancelEnd")) << c.name;
    EXPECT_TRUE(world.session.files_in_place) << c.name;  // not to be rolled back
  }
}

// Only a record that the installed-programs entry under HKEY_LOCAL_MACHINE
// vouches for is an earlier installation: anyone may write into the folder,
// only administrators there. Any other record is not asked about, not acted
// on, and replaced by this run's.
TEST(InstallDriverTest, OnlyAVouchedEarlierRecordIsOfferedForRemoval) {
  struct Case {
    const char* name;
    const char16_t* uninsData;    // in the earlier record; null: a damaged record
    const char16_t* entryFolder;  // where the entry's uninstaller is; null: no entry
    bool remover;                 // a remover is set
    int remover_result;
    bool asked;
    bool result;
    const char* error;            // "Ret.ErrorInfo" when the result is false
  };
  const char16_t* own = kEarlierRecord;
  const char16_t* app = kAppFolder;
  const char* inTheWay = "An earlier installation is in the way:\r\n\r\nC:\\Program Files\\Demo\\unins.exe.dat";
  const Case cases[] = {
      {"vouched and removed", own, app, true, 0, true, true, nullptr},
      {"entry folder in other letter case", own, u"c:\\program files\\demo\\", true, 0, true, true, nullptr},
      {"planted without an entry", own, nullptr, true, 0, false, true, nullptr},
      {"entry naming another folder", own, u"C:\\Other\\", true, 0, false, true, nullptr},
      {"record copied from elsewhere", u"C:\\Other\\unins.exe.dat", app, true, 0, false, true, nullptr},
      {"record in other letter case", u"C:\\program files\\demo\\unins.exe.dat", app, true, 0, false, true, nullptr},
      {"damaged record", nullptr, app, true, 0, false, true, nullptr},
      {"accepted but no remover", own, app, false, 0, true, false, inTheWay},
      {"removal fails", own, app, true, -1, true, false, "removal failed"},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    SampleProject(world);
    if (c.uninsData) {
      PlantEarlier(world, c.uninsData, c.entryFolder);
    } else {
      PlantEarlier(world, own, c.entryFolder);
      world.platform.fake_files.PutFile(kEarlierRecord, "\xEF\xBB\xBFnot a record");
    }
    int removals = 0;
    if (c.remover) {
      world.session.remove_earlier_installation = [&](InstallSession& session, const cc::KeyArr& record) {
        ++removals;
        EXPECT_EQ(record.Get(u"Log.AppName"), cc::Str(u"Old"));
        if (c.remover_result < 0) session.store.Set(u"Ret.ErrorInfo", u"removal failed");
        return c.remover_result;
      };
    }
    EXPECT_EQ(RunInstall(world.session, kInstallPhase), c.result) << c.name;
    const auto& asked = world.platform.fake_prompts.Questions();
    EXPECT_EQ(!asked.empty(), c.asked) << c.name;
    if (c.asked && !asked.empty()) {
      EXPECT_EQ(asked[0].kind, FakePrompts::Kind::kOkCancel) << c.name;
      EXPECT_EQ(asked[0].text, cc::Str(u"Remove the earlier installation?\r\n\r\n") + cc::Str(own)) << c.name;
      EXPECT_EQ(asked[0].caption, cc::Str(u"Question")) << c.name;
    }
    EXPECT_EQ(removals, c.asked && c.remover ? 1 : 0) << c.name;
    if (c.result) {
      EXPECT_EQ(world.Record().Get(u"Log.AppName"), cc::Str(u"Demo App")) << c.name;  // replaced
    } else {
      EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo").ToUtf8(), c.error) << c.name;
      EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\app.exe")) << c.name;
    }
  }
}

TEST(InstallDriverTest, CancelDuringTheLastFileFailsCancelLaterStillFinishes) {
  struct Case {
    const char* name;
    const char16_t* cancel_at;  // status label at which Cancel is confirmed, or a detail suffix
    bool result;
  };
  const Case cases[] = {
      {"during the last file's copy", u"cfg.ini", false},
      {"during the registry step", u"treate registry...", true},
      {"while writing the uninstaller", u"write unins.exe.", true},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    SampleProject(world);
    FakeProgress& progress = world.platform.fake_progress;
    progress.OnPump([&](int) {
      bool hit = (!progress.Statuses().empty() && progress.Statuses().back() == cc::Str(c.cancel_at)) ||
                 (!progress.Details().empty() && progress.Details().back().EndsWith(c.cancel_at));
      if (hit) world.store.SetBool(u"Ret.Canceling", true);
    });
    EXPECT_EQ(RunInstall(world.session, kInstallPhase), c.result) << c.name;
    EXPECT_TRUE(world.store.GetBool(u"Ret.Canceled", false)) << c.name;
    EXPECT_EQ(world.store.GetBool(u"Ret.CancelEnd", false), c.result) << c.name;
    EXPECT_EQ(world.Exists(cc::Str(kAppFolder) + cc::Str(u"unins.exe.dat")), c.result) << c.name;
    EXPECT_EQ(world.Exists(cc::Str(kAppFolder) + cc::Str(u"data\\cfg.ini")), c.result) << c.name;
    EXPECT_FALSE(world.store.Has(u"Ret.ErrorInfo")) << c.name;
  }
}

TEST(InstallDriverTest, LargeInstallSizesAreReadInSixtyFourBits) {
  InstallWorld world;
  SampleProject(world);
  world.store.Set(u"Ret.Location.Required", u"3000000000");
  ASSERT_TRUE(RunInstall(world.session, kInstallPhase));
  EXPECT_EQ(world.session.bytes_total, 3000000000LL);
  ASSERT_FALSE(world.platform.fake_progress.Bars().empty());
  for (int bar : world.platform.fake_progress.Bars()) EXPECT_EQ(bar, 0);
}

TEST(InstallDriverTest, WithoutAnUninstallerInThePayloadOnlyTheRecordIsWritten) {
  InstallWorld world;
  SampleProject(world);
  world.Payload({{"3*app.exe", "MZ app"}, {"5*cfg.ini", "[cfg]"}});
  ASSERT_TRUE(RunInstall(world.session, kInstallPhase));
  EXPECT_FALSE(world.Exists(cc::Str(kAppFolder) + cc::Str(u"unins.exe")));
  EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kLocalMachine, kEntryKey));
  EXPECT_TRUE(world.platform.fake_shell.Links().empty());
  EXPECT_FALSE(world.platform.fake_progress.HasLine(u"create uninstall link.\r\n"));
  cc::KeyArr record = world.Record();
  EXPECT_EQ(record.Get(u"Log.File.Count"), cc::Str(u"2"));
  EXPECT_FALSE(record.Has(u"Log.Unins.Count"));
  EXPECT_EQ(record.Get(u"Log.UninsData"), cc::Str(u"C:\\Program Files\\Demo\\unins.exe.dat"));
}

}  // namespace
