#include "uninstall/uninstall_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/pins.h"
#include "platform/registry.h"
#include "uninstall/uninstall_test_support.h"

namespace {

using install_test::FaultyFiles;
using install_test::InstallWorld;
using uninstall_test::Lines;
using uninstall_test::RecordOf;

const cc::Str kApp = install_test::kAppFolder;

cc::Str AppFile(const char16_t* name) { return kApp + cc::Str(name); }

struct World : InstallWorld {
  World() { uninstall_test::AddUninstallTexts(store); }
  int Run(const Lines& lines, int askShared = 1) {
    cc::KeyArr record = RecordOf(lines);
    return DoUninstall(session, askShared, record);
  }
  int RunText(const char16_t* text, int askShared = 1) {
    cc::KeyArr record(false, true);
    record.Parse(text);
    return DoUninstall(session, askShared, record);
  }
  void Put(const cc::Str& path) { ASSERT_TRUE(platform.fake_files.PutFile(path, "x")); }
  std::vector<std::string> Notifications() const {
    std::vector<std::string> out;
    for (const std::string& call : platform.fake_shell.Calls()) {
      if (call.rfind("notify ", 0) == 0) out.push_back(call);
    }
    return out;
  }
};

std::vector<std::string> Utf8(const std::vector<cc::Str>& texts) {
  std::vector<std::string> out;
  for (const cc::Str& t : texts) out.push_back(t.ToUtf8());
  return out;
}

TEST(DoUninstallTest, EmptyRecordOnlyNotifiesTheShell) {
  struct Case {
    const char* name;
    const char16_t* text;
    const char16_t* location;  // "Ret.Location.Path"
    const char* folder;        // install folder in the third notification
  };
  const Case cases[] = {
      {"no keys at all", u"", u"C:\\Program Files\\Demo\\", "C:\\Program Files\\Demo\\"},
      {"only the header", u"[Log]\r\nAppDir=C:\\\\X\\\\\r\nAppName=X\r\n", u"C:\\Program Files\\Demo\\",
       "C:\\Program Files\\Demo\\"},
      {"negative counts", u"[Log]\r\nFile.Count=-3\r\nDir.Count=-1\r\nDir0=C:\\\\Program Files\\\\Demo\\\\\r\n",
       u"C:\\Program Files\\Demo\\", "C:\\Program Files\\Demo\\"},
      {"no install folder: the program's", u"", u"", "C:\\setup\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    World w;
    w.store.Set(u"Ret.Location.Path", c.location);
    ASSERT_TRUE(w.platform.fake_files.PutFolder(kApp));
    EXPECT_EQ(w.RunText(c.text), kUninstallDone) << c.name;
    const std::string pinned = PinnedTaskbarFolder(w.platform).ToUtf8();
    const std::vector<std::string> expected = {"notify 8000000|1000|", "notify 1000|1005|" + pinned,
                                               std::string("notify 1000|1005|") + c.folder};
    EXPECT_EQ(w.Notifications(), expected) << c.name;
    for (int bar : w.platform.fake_progress.Bars()) EXPECT_EQ(bar, 0) << c.name;
    EXPECT_TRUE(w.platform.fake_prompts.Questions().empty()) << c.name;
    EXPECT_TRUE(w.Exists(kApp)) << c.name;
    EXPECT_FALSE(w.store.Has(u"Ret.ErrorInfo")) << c.name;
  }
}

TEST(DoUninstallTest, KindsGoInTheirOrderAndDirection) {
  World w;
  const cc::Str pinned = PinnedTaskbarFolder(w.platform);
  Lines lines = {
      {u"Dir?=", AppFile(u"d0\\")},      {u"Dir?=", AppFile(u"d1\\")},
      {u"File?=", AppFile(u"f0")},       {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"},
      {u"File?=", AppFile(u"f1")},       {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"},
      {u"Short?=", AppFile(u"l0.lnk")},  {u"Short?=", AppFile(u"l1.lnk")},
      {u"Pin?=", u"p0"},                 {u"PinPath?=", AppFile(u"f0")},
      {u"Pin?=", u"p1"},                 {u"PinPath?=", AppFile(u"f1")},
      {u"Assoc?=", u".a0"},              {u"Assoc?=", u".a1"},
      {u"Service?=", u"s0"},             {u"ServiceFile?=", AppFile(u"s0.exe")},
      {u"Service?=", u"s1"},             {u"ServiceFile?=", AppFile(u"s1.exe")},
      {u"RegRoot?=", u"1"},              {u"RegDir?=", u"Software\\r0"}, {u"Reg?=", u"v"},
      {u"RegRoot?=", u"1"},              {u"RegDir?=", u"Software\\r1"}, {u"Reg?=", u"v"},
      {u"IniFile?=", AppFile(u"i0.ini")}, {u"IniApp?=", u"s"}, {u"Ini?=", u"k"},
      {u"IniFile?=", AppFile(u"i1.ini")}, {u"IniApp?=", u"s"}, {u"Ini?=", u"k"},
  };
  ASSERT_EQ(w.Run(lines), kUninstallDone);
  const std::vector<std::string> statuses = {
      "Removing Service s1", "Removing Service s0", "Removing Taskbar Pinned p0", "Removing Taskbar Pinned p1",
      "Removing File", "Removing File", "Removing File Association", "Removing File Association",
      "Removing registry from Software\\r1", "Removing registry from Software\\r0",
      "Removing Ini from " + AppFile(u"i1.ini").ToUtf8(), "Removing Ini from " + AppFile(u"i0.ini").ToUtf8(),
      "Removing ShortCut", "Removing ShortCut", "Removing Directory", "Removing Directory"};
  EXPECT_EQ(Utf8(w.platform.fake_progress.Statuses()), statuses);
  const std::string app = kApp.ToUtf8();
  const std::vector<std::string> details = {
      app + "s1.exe", app + "s0.exe", pinned.ToUtf8() + "p0.lnk", pinned.ToUtf8() + "p1.lnk", app + "f0",
      app + "f1", ".a0", ".a1", "", "", "", "", app + "l0.lnk", app + "l1.lnk", app + "d1\\", app + "d0\\"};
  EXPECT_EQ(Utf8(w.platform.fake_progress.Details()), details);
  const std::vector<int> bars = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
  EXPECT_EQ(w.platform.fake_progress.Bars(), bars);
}

TEST(DoUninstallTest, FilesGoByTheirRemovalMode) {
  struct Case {
    const char* name;
    const char16_t* mode;  // the "FileUnins?=" line; null: none
    int ask_shared;
    int answer;            // shared-file answer queued; -1: none
    bool removed;
    int questions;
  };
  const Case cases[] = {
      {"remove", u"0", 1, -1, true, 0},
      {"shared, not asked", u"2", 0, kRemoveSharedRemove, false, 0},
      {"shared, keep", u"2", 1, kRemoveSharedKeep, false, 1},
      {"shared, keep all", u"2", 1, kRemoveSharedKeepAll, false, 1},
      {"shared, remove", u"2", 1, kRemoveSharedRemove, true, 1},
      {"shared, remove all", u"2", 1, kRemoveSharedRemoveAll, true, 1},
      {"shared, default answer keeps", u"2", 1, -1, false, 1},
      {"keep", u"1", 1, -1, false, 0},
      {"no mode line: keep", nullptr, 1, -1, false, 0},
      {"negative mode", u"-1", 1, -1, false, 0},
  };
  for (const Case& c : cases) {
    World w;
    const cc::Str path = AppFile(u"data\\f.dll");
    w.Put(path);
    if (c.answer >= 0) w.platform.fake_prompts.QueueRemoveShared(c.answer);
    Lines lines = {{u"File?=", path}, {u"FileOver?=", u"0"}};
    if (c.mode) lines.push_back({u"FileUnins?=", c.mode});
    EXPECT_EQ(w.Run(lines, c.ask_shared), kUninstallDone) << c.name;
    EXPECT_EQ(!w.Exists(path), c.removed) << c.name;
    EXPECT_EQ(w.platform.fake_prompts.Questions().size(), static_cast<size_t>(c.questions)) << c.name;
  }
}

TEST(DoUninstallTest, SharedFileQuestionAndItsAllAnswers) {
  struct Case {
    const char* name;
    std::vector<int> answers;
    int questions;
    bool removed[3];
  };
  const Case cases[] = {
      {"remove all", {kRemoveSharedRemoveAll}, 1, {true, true, true}},
      {"keep all", {kRemoveSharedKeepAll}, 1, {false, false, false}},
      {"one by one", {kRemoveSharedKeep, kRemoveSharedRemove, kRemoveSharedKeep}, 3, {false, true, false}},
      {"keep, then remove all", {kRemoveSharedKeep, kRemoveSharedRemoveAll}, 2, {false, true, true}},
  };
  for (const Case& c : cases) {
    World w;
    Lines lines;
    const cc::Str paths[3] = {AppFile(u"a.dll"), AppFile(u"b.dll"), AppFile(u"c.dll")};
    for (const cc::Str& p : paths) {
      w.Put(p);
      lines.insert(lines.end(), {{u"File?=", p}, {u"FileOver?=", u"1"}, {u"FileUnins?=", u"2"}});
    }
    for (int a : c.answers) w.platform.fake_prompts.QueueRemoveShared(a);
    EXPECT_EQ(w.Run(lines), kUninstallDone) << c.name;
    EXPECT_EQ(w.platform.fake_prompts.CountOf(FakePrompts::Kind::kRemoveShared), c.questions) << c.name;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(!w.Exists(paths[i]), c.removed[i]) << c.name << " file " << i;
  }

  World w;
  w.Put(AppFile(u"a.dll"));
  w.Run({{u"File?=", AppFile(u"a.dll")}, {u"FileOver?=", u"0"}, {u"FileUnins?=", u"2"}});
  const OverwriteQuestion& q = w.platform.fake_prompts.LastRemoveShared();
  EXPECT_EQ(q.caption, cc::Str(u"Question"));
  EXPECT_EQ(q.message, cc::Str(u"Remove the shared file?\r\n\r\n") + AppFile(u"a.dll"));
  EXPECT_EQ(q.target, AppFile(u"a.dll"));
  const char16_t* labels[] = {u"Remove", u"Remove all", u"Skip", u"Skip all", nullptr, u"Cancel"};
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    EXPECT_EQ(q.buttons[i].IsNull(), labels[i] == nullptr) << i;
    if (labels[i]) EXPECT_EQ(q.buttons[i], cc::Str(labels[i])) << i;
  }
}

TEST(DoUninstallTest, CancelAndAbortStopWithTheFileInTheError) {
  struct Case {
    const char* name;
    bool undeletable;  // the second file resists deletion (mode 0) instead of being shared
    int shared_answer;
    FileErrorAnswer file_answer;
    int result;
  };
  const Case cases[] = {
      {"shared-file question cancelled", false, kRemoveSharedCancel, FileErrorAnswer::kIgnore,
       kUninstallSharedCanceled},
      {"hidden button counts as cancel", false, 4, FileErrorAnswer::kIgnore, kUninstallSharedCanceled},
      {"abort on a file that stays", true, kRemoveSharedKeep, FileErrorAnswer::kAbort, kUninstallAborted},
  };
  for (const Case& c : cases) {
    World w;
    FaultyFiles faulty(w.platform.fake_files);
    w.platform.files = &faulty;
    const cc::Str first = AppFile(u"first.txt"), second = AppFile(u"second.dll"), third = AppFile(u"third.txt");
    const cc::Str link = AppFile(u"app.lnk");
    for (const cc::Str& p : {first, second, third, link}) w.Put(p);
    if (c.undeletable) faulty.RefuseDelete(second);
    w.platform.fake_prompts.QueueRemoveShared(c.shared_answer);
    w.platform.fake_prompts.QueueFileError(c.file_answer);
    Lines lines = {{u"File?=", first},  {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"},
                   {u"File?=", second}, {u"FileOver?=", u"0"}, {u"FileUnins?=", c.undeletable ? u"0" : u"2"},
                   {u"File?=", third},  {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"},
                   {u"Short?=", link}};
    EXPECT_EQ(w.Run(lines), c.result) << c.name;
    EXPECT_EQ(w.store.Get(u"Ret.ErrorInfo"), cc::Str(u"The file was not removed:\r\n\r\n") + second) << c.name;
    EXPECT_FALSE(w.Exists(first)) << c.name;
    EXPECT_TRUE(w.Exists(second)) << c.name;
    EXPECT_TRUE(w.Exists(third)) << c.name;
    EXPECT_TRUE(w.Exists(link)) << c.name;
    EXPECT_TRUE(w.Notifications().empty()) << c.name;
  }
}

TEST(DoUninstallTest, FileThatStaysIsRetriedUntilIgnored) {
  World w;
  FaultyFiles faulty(w.platform.fake_files);
  w.platform.files = &faulty;
  const cc::Str stuck = AppFile(u"stuck.dll"), next = AppFile(u"next.dll");
  w.Put(stuck);
  w.Put(next);
  faulty.RefuseDelete(stuck);
  for (int i = 0; i < 3; ++i) w.platform.fake_prompts.QueueFileError(FileErrorAnswer::kRetry);
  w.platform.fake_prompts.QueueFileError(FileErrorAnswer::kIgnore);
  EXPECT_EQ(w.Run({{u"File?=", stuck}, {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"},
                   {u"File?=", next}, {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"}}),
            kUninstallDone);
  const auto& asked = w.platform.fake_prompts.Questions();
  ASSERT_EQ(asked.size(), 4u);
  for (const auto& q : asked) {
    EXPECT_EQ(q.kind, FakePrompts::Kind::kAbortRetryIgnore);
    EXPECT_EQ(q.text, cc::Str(u"Cannot remove the file:\r\n\r\n") + stuck);
    EXPECT_EQ(q.caption, cc::Str(u"Question"));
  }
  EXPECT_TRUE(w.Exists(stuck));
  EXPECT_FALSE(w.Exists(next));
}

TEST(DoUninstallTest, RegistryEntries) {
  struct Case {
    const char* name;
    const char16_t* root;
    const char16_t* key;
    bool has_subkey;
    bool has_other_value;
    RegRoot where;
    bool value_gone;
    bool key_gone;
    bool shown;
  };
  const Case cases[] = {
      {"value and its key", u"1", u"Software\\Demo", false, false, RegRoot::kCurrentUser, true, true, true},
      {"key goes with values it still holds", u"1", u"Software\\Demo", false, true, RegRoot::kCurrentUser, true,
       true, true},
      {"key with a subkey stays", u"2", u"Software\\Demo", true, false, RegRoot::kLocalMachine, true, false, true},
      {"root 3 is HKEY_USERS", u"3", u"S-1-5\\Demo", false, false, RegRoot::kUsers, true, true, true},
      {"root 9 is HKEY_USERS", u"9", u"S-1-5\\Demo", false, false, RegRoot::kUsers, true, true, true},
      {"root 0 is HKEY_CLASSES_ROOT", u"0", u"Demo.file", false, false, RegRoot::kClassesRoot, true, true, true},
      {"negative root is skipped", u"-1", u"Software\\Demo", false, false, RegRoot::kCurrentUser, false, false,
       false},
      {"missing root is skipped", nullptr, u"Software\\Demo", false, false, RegRoot::kCurrentUser, false, false,
       false},
  };
  for (const Case& c : cases) {
    World w;
    FakeRegistry& reg = w.platform.fake_registry;
    reg.PutString(c.where, c.key, u"Color", u"blue");
    if (c.has_other_value) reg.PutString(c.where, c.key, u"Other", u"x");
    if (c.has_subkey) reg.PutString(c.where, cc::Str(c.key) + cc::Str(u"\\Sub"), u"x", u"y");
    Lines lines;
    if (c.root) lines.push_back({u"RegRoot?=", c.root});
    lines.push_back({u"RegDir?=", c.key});
    lines.push_back({u"Reg?=", u"Color"});
    EXPECT_EQ(w.Run(lines), kUninstallDone) << c.name;
    RegValue value;
    EXPECT_EQ(!reg.GetValue(c.where, c.key, u"Color", &value), c.value_gone) << c.name;
    EXPECT_EQ(!reg.HasKey(c.where, c.key), c.key_gone) << c.name;
    EXPECT_EQ(w.platform.fake_progress.HasStatus(cc::Str(u"Removing registry from ") + c.key), c.shown) << c.name;
    // Skipped or not, the entry counts for the bar.
    EXPECT_EQ(w.platform.fake_progress.Bars(), std::vector<int>{100}) << c.name;
  }

  World w;
  const int keys = w.platform.fake_registry.KeyCount();
  EXPECT_EQ(w.Run({{u"RegRoot?=", u"1"}, {u"RegDir?=", u""}, {u"Reg?=", u"x"},
                   {u"RegRoot?=", u"1"}, {u"RegDir?=", u"Software\\Missing"}, {u"Reg?=", u"x"}}),
            kUninstallDone);
  EXPECT_EQ(w.platform.fake_registry.KeyCount(), keys) << "nothing created";
  EXPECT_EQ(w.platform.fake_progress.Bars(), (std::vector<int>{50, 100}));
}

TEST(DoUninstallTest, PinnedLinkNames) {
  struct Case {
    const char* name;
    const char16_t* pin;
    const char16_t* target;
    const char16_t* link;  // file name in the pinned folder; null: entry skipped
  };
  const Case cases[] = {
      {"program", u"Demo", u"C:\\Program Files\\Demo\\app.exe", u"Demo.lnk"},
      {"web address", u"Site", u"http://example.org/", u"Site.website"},
      {"secure web address", u"Site", u"https://example.org/", u"Site.website"},
      {"ftp address", u"Files", u"ftp://example.org/", u"Files.website"},
      {"capital HTTP counts as a file", u"Site", u"HTTP://example.org/", u"Site.lnk"},
      {"name with a folder part", u"..\\..\\Desktop\\Demo", u"C:\\x.exe", nullptr},
      {"empty name", u"", u"C:\\x.exe", nullptr},
  };
  for (const Case& c : cases) {
    World w;
    const cc::Str folder = PinnedTaskbarFolder(w.platform);
    // Where the name with a folder part would lead: two levels up.
    const cc::Str quickLaunch = folder.Substring(0, folder.IndexOf(u"User Pinned\\"));
    const cc::Str outside = quickLaunch + cc::Str(u"Desktop\\Demo.lnk");
    const cc::Str bare = folder + cc::Str(u".lnk");
    w.Put(outside);
    w.Put(bare);
    if (c.link) w.Put(folder + cc::Str(c.link));
    EXPECT_EQ(w.Run({{u"Pin?=", c.pin}, {u"PinPath?=", c.target}}), kUninstallDone) << c.name;
    if (c.link) {
      EXPECT_FALSE(w.Exists(folder + cc::Str(c.link))) << c.name;
      EXPECT_EQ(w.platform.fake_progress.Details().front(), folder + cc::Str(c.link)) << c.name;
    }
    EXPECT_TRUE(w.Exists(outside)) << c.name;
    EXPECT_TRUE(w.Exists(bare)) << c.name;
  }
}

TEST(DoUninstallTest, DirectoriesOnlyEmptyOnesInTwoPasses) {
  const cc::Str parent = AppFile(u"data\\"), child = AppFile(u"data\\sub\\");
  struct Case {
    const char* name;
    std::vector<cc::Str> dirs;  // in record order
    const char16_t* kept_file;  // inside the child; null: none
    bool parent_gone;
    bool child_gone;
  };
  const Case cases[] = {
      {"parent listed first", {parent, child}, nullptr, true, true},
      {"child listed first", {child, parent}, nullptr, true, true},
      {"kept file holds both", {parent, child}, u"data\\sub\\user.txt", false, false},
      {"only the child listed", {child}, nullptr, false, true},
      {"without trailing backslash", {AppFile(u"data"), AppFile(u"data\\sub")}, nullptr, true, true},
  };
  for (const Case& c : cases) {
    World w;
    ASSERT_TRUE(w.platform.fake_files.PutFolder(child));
    if (c.kept_file) w.Put(AppFile(c.kept_file));
    Lines lines;
    for (const cc::Str& d : c.dirs) lines.push_back({u"Dir?=", d});
    EXPECT_EQ(w.Run(lines), kUninstallDone) << c.name;
    EXPECT_EQ(!w.Exists(parent), c.parent_gone) << c.name;
    EXPECT_EQ(!w.Exists(child), c.child_gone) << c.name;
    EXPECT_TRUE(w.Exists(kApp)) << c.name;
    EXPECT_TRUE(w.platform.fake_prompts.Questions().empty()) << c.name;
  }
}

// A service goes only when it runs the program the record names: a
// service of that name that runs anything else is someone else's.
TEST(DoUninstallTest, ServicesStopThenTheirFileGoes) {
  struct Case {
    const char* name;
    bool file_locked;
    bool service_exists;
    const char16_t* command_line;  // as registered; null: the recorded program
    bool service_deleted;
  };
  const cc::Str quoted = cc::Str(u"\"") + AppFile(u"SVC.exe") + cc::Str(u"\" -run");
  const Case cases[] = {
      {"running service", false, true, nullptr, true},
      {"quoted, other letter case, arguments", false, true, quoted.GetBuffer(), true},
      {"service gone already", false, false, nullptr, true},
      {"file stays locked: 100 more tries", true, true, nullptr, true},
      {"service runs another program", false, true, u"C:\\Windows\\system32\\other.exe", false},
  };
  int sleptUnlocked = -1;
  for (const Case& c : cases) {
    World w;
    FaultyFiles faulty(w.platform.fake_files);
    w.platform.files = &faulty;
    const cc::Str program = AppFile(u"svc.exe");
    w.Put(program);
    if (c.file_locked) faulty.RefuseDelete(program);
    if (c.service_exists) {
      ServiceSpec spec;
      spec.name = u"DemoSvc";
      spec.command_line = c.command_line ? cc::Str(c.command_line) : program;
      w.platform.fake_services.PutService(spec, kServiceRunning);
    }
    EXPECT_EQ(w.Run({{u"Service?=", u"DemoSvc"}, {u"ServiceFile?=", program}}), kUninstallDone) << c.name;
    const FakeServiceManager::Entry* entry = w.platform.fake_services.Find(u"DemoSvc");
    if (c.service_deleted) {
      EXPECT_TRUE(entry == nullptr || entry->marked_for_deletion) << c.name;
    } else {
      ASSERT_NE(entry, nullptr) << c.name;
      EXPECT_FALSE(entry->marked_for_deletion) << c.name;
      EXPECT_EQ(entry->state, kServiceRunning) << c.name;
    }
    EXPECT_EQ(w.Exists(program), c.file_locked) << c.name;
    const int slept = w.platform.fake_process.SleptMs();
    if (!c.file_locked && c.service_exists && c.service_deleted) sleptUnlocked = slept;
    if (c.file_locked) EXPECT_EQ(slept - sleptUnlocked, 100 * 100) << c.name;
  }
}

TEST(DoUninstallTest, IniKeysGoAndNoFileIsMade) {
  World w;
  const cc::Str ini = AppFile(u"conf.ini");
  ASSERT_TRUE(w.platform.fake_files.PutFile(ini, "[Main]\r\nColor=blue\r\nUser=kept\r\n"));
  const cc::Str missing = AppFile(u"missing.ini");
  EXPECT_EQ(w.Run({{u"IniFile?=", ini}, {u"IniApp?=", u"Main"}, {u"Ini?=", u"Color"},
                   {u"IniFile?=", missing}, {u"IniApp?=", u"Main"}, {u"Ini?=", u"Color"},
                   {u"IniFile?=", u""}, {u"IniApp?=", u"Main"}, {u"Ini?=", u"Color"}}),
            kUninstallDone);
  cc::Str value;
  w.platform.fake_profile.GetString(u"Main", u"Color", u"(none)", 100, ini, &value);
  EXPECT_EQ(value, cc::Str(u"(none)"));
  w.platform.fake_profile.GetString(u"Main", u"User", u"(none)", 100, ini, &value);
  EXPECT_EQ(value, cc::Str(u"kept"));
  EXPECT_FALSE(w.Exists(missing));
  EXPECT_EQ(w.platform.fake_progress.Bars(), (std::vector<int>{33, 66, 100}));
}

TEST(DoUninstallTest, UninstallerEntryAndRecordGoToo) {
  struct Case {
    const char* name;
    const char16_t* entry;
    bool entry_gone;
  };
  const Case cases[] = {
      {"own entry", u"[Velmora]Demo", true},
      {"entry of another program", u"Other", false},
      {"entry with a path", u"[Velmora]Demo\\..\\Other", false},
  };
  const cc::Str parent = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  for (const Case& c : cases) {
    World w;
    const cc::Str key = parent + cc::Str(c.entry);
    w.platform.fake_registry.PutString(RegRoot::kLocalMachine, key, u"DisplayName", u"Demo");
    w.platform.fake_registry.PutString(RegRoot::kLocalMachine, parent + cc::Str(u"Neighbour"), u"x", u"y");
    const cc::Str unins = AppFile(u"unins.exe"), data = AppFile(u"unins.exe.dat");
    w.Put(unins);
    w.Put(data);
    EXPECT_EQ(w.Run({{u"Unins?=", unins}, {u"UninsKey=", c.entry}, {u"UninsData=", data}}), kUninstallDone)
        << c.name;
    EXPECT_FALSE(w.Exists(unins)) << c.name;
    EXPECT_FALSE(w.Exists(data)) << c.name;
    EXPECT_EQ(!w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, key), c.entry_gone) << c.name;
    EXPECT_TRUE(w.platform.fake_registry.HasKey(RegRoot::kLocalMachine, parent + cc::Str(u"Neighbour")))
        << c.name;
  }
}

// A damaged record never reaches past what it names.
TEST(DoUninstallTest, DamagedRecordsTouchOnlyWhatTheyName) {
  struct Case {
    const char* name;
    const char16_t* text;
    bool named_gone;  // C:\Program Files\Demo\named.txt
  };
  const Case cases[] = {
      {"count far beyond the entries",
       u"[Log]\r\nFile.Count=2000000000\r\nFile0=C:\\\\Program Files\\\\Demo\\\\named.txt\r\nFileUnins0=0\r\n"
       u"Dir.Count=2147483647\r\nShort.Count=99999999\r\nService.Count=5000000\r\n",
       true},
      {"relative paths",
       u"[Log]\r\nFile.Count=1\r\nFile0=keep.txt\r\nFileUnins0=0\r\nShort.Count=1\r\nShort0=keep.txt\r\n"
       u"Dir.Count=1\r\nDir0=empty\r\nService.Count=1\r\nService0=\r\nServiceFile0=keep.txt\r\n",
       false},
      {"counts as words", u"[Log]\r\nFile.Count=many\r\nFile0=C:\\\\Program Files\\\\Demo\\\\named.txt\r\n", false},
      {"entries without counts", u"[Log]\r\nFile0=C:\\\\Program Files\\\\Demo\\\\named.txt\r\nFileUnins0=0\r\n",
       false},
      {"drive-relative paths",
       u"[Log]\r\nFile.Count=1\r\nFile0=C:keep.txt\r\nFileUnins0=0\r\nDir.Count=1\r\nDir0=\\\\setup\\\\empty\r\n",
       false},
  };
  for (const Case& c : cases) {
    World w;
    const cc::Str named = AppFile(u"named.txt");
    const cc::Str keep = u"C:\\setup\\keep.txt";
    w.Put(named);
    w.Put(keep);
    ASSERT_TRUE(w.platform.fake_files.PutFolder(u"C:\\setup\\empty"));
    const int entries = w.platform.fake_files.EntryCount();
    EXPECT_EQ(w.RunText(c.text), kUninstallDone) << c.name;
    EXPECT_EQ(!w.Exists(named), c.named_gone) << c.name;
    EXPECT_TRUE(w.Exists(keep)) << c.name;
    EXPECT_TRUE(w.Exists(u"C:\\setup\\empty")) << c.name;
    EXPECT_EQ(w.platform.fake_files.EntryCount(), entries - (c.named_gone ? 1 : 0)) << c.name;
    // A record that names an entry reports progress; a bound that is never
    // reached must not pass for one that holds.
    if (c.named_gone) EXPECT_FALSE(w.platform.fake_progress.Bars().empty()) << c.name;
    for (int bar : w.platform.fake_progress.Bars()) EXPECT_LE(bar, 100) << c.name;
  }
}

TEST(DoUninstallTest, WithoutProgressOrQuestionsNothingIsRemoved) {
  World w;
  const cc::Str path = AppFile(u"f.txt");
  w.Put(path);
  w.platform.prompts = nullptr;
  EXPECT_EQ(w.Run({{u"File?=", path}, {u"FileOver?=", u"0"}, {u"FileUnins?=", u"0"}}), kUninstallAborted);
  EXPECT_TRUE(w.Exists(path));
  EXPECT_FALSE(w.store.Get(u"Ret.ErrorInfo").IsEmpty());
}

}  // namespace
