#include "install/cancel_rollback.h"

#include <gtest/gtest.h>

#include <string>

#include "install/install_driver.h"
#include "install/install_test_support.h"
#include "install/uninstall_record.h"
#include "platform/csidl.h"

namespace {

using install_test::InstallWorld;

const char16_t kApp[] = u"C:\\Program Files\\Demo\\";

cc::Str At(const char16_t* relative) { return cc::Str(kApp) + cc::Str(relative); }

// A project of files in the application folder and its "data" sub-folder:
// app.exe stays at uninstall (the record leaves it out), old.txt replaces a
// file that is there before the run, preset.cfg is not extracted (a file of
// the user's stands there), big.bin is copied when Cancel comes.
void Project(InstallWorld& world) {
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*app.exe", 0, 1);
  world.Item(4, 2, 5, u"4*old.txt", 2);
  world.Item(5, 2, 5, u"5*preset.cfg");
  world.store.SetBool(u"s.f.5.Item.I", true);
  world.Item(6, 2, 4, u"data");
  world.Item(7, 6, 5, u"7*big.bin");
  world.Payload({{"unins.exe", "MZ"}, {"3*app.exe", "MZ app"}, {"4*old.txt", "new"},
                 {"5*preset.cfg", "ours"}, {"7*big.bin", std::string(300000, 'b')}});
}

// Runs the install with the folder watch in front of the fake progress and
// confirms Cancel once the copy of big.bin has begun.
bool RunAndCancelInBigFile(InstallWorld& world, RunFootprint& watch) {
  world.platform.progress = &watch;
  FakeProgress& progress = world.platform.fake_progress;
  progress.OnPump([&](int) {
    if (!progress.Details().empty() && progress.Details().back().EndsWith(u"/100)")) {
      world.store.SetBool(u"Ret.Canceling", true);
    }
  });
  return RunInstall(world.session, kInstallPhase);
}

TEST(CancelRollbackTest, ACanceledRunLeavesOnlyWhatWasThereBefore) {
  InstallWorld world;
  Project(world);
  FakeFileSystem& files = world.platform.fake_files;
  const cc::Str menu = world.platform.fake_system.SpecialFolderPath(kCsidlCommonPrograms);
  files.PutFolder(menu);
  files.PutFile(At(u"old.txt"), "the user's");
  files.PutFile(At(u"preset.cfg"), "mine");
  RunFootprint watch(world.platform.fake_progress, files);

  ASSERT_FALSE(RunAndCancelInBigFile(world, watch));
  ASSERT_TRUE(files.Exists(At(u"app.exe")));  // written before the cancel
  RollbackResult result = RollBackStoppedRun(files, world.log, world.session.record, watch);

  EXPECT_FALSE(files.Exists(At(u"app.exe")));
  EXPECT_FALSE(files.Exists(At(u"data\\big.bin")));
  EXPECT_FALSE(files.Exists(At(u"data\\")));
  EXPECT_FALSE(files.Exists(menu + cc::Str(u"\\Demo\\")));
  EXPECT_TRUE(files.Exists(menu));
  std::string bytes;
  EXPECT_TRUE(world.FileBytes(At(u"old.txt"), &bytes));
  EXPECT_EQ(bytes, "new");  // a replaced file stays replaced
  EXPECT_TRUE(world.FileBytes(At(u"preset.cfg"), &bytes));
  EXPECT_EQ(bytes, "mine");  // recorded as new, but it was there when the run named it
  EXPECT_TRUE(files.Exists(kApp));  // there before the run
  EXPECT_EQ(result.files_removed, 1);
  EXPECT_EQ(result.folders_removed, 2);  // data and the menu folder
  EXPECT_TRUE(result.left.empty());
  // The watch passed everything on.
  EXPECT_TRUE(world.platform.fake_progress.HasLine(cc::Str(u"Create folder:") + At(u"data\\") + cc::Str(u"\r\n")));
}

// Before each block the copy shows the file's path with its percentage
// behind it: no file of that name is sighted (nor looked up), and the page
// still gets every text.
TEST(CancelRollbackTest, TheCopysPercentagesAreNotTakenForFiles) {
  InstallWorld world;
  FakeProgress& page = world.platform.fake_progress;
  RunFootprint watch(page, world.platform.fake_files);
  const cc::Str file = At(u"a.txt");
  const cc::Str during = file + cc::Str(u"(50/100)");
  const cc::Str ownName = At(u"b(1/100)");
  watch.SetDetail(file);
  world.platform.fake_files.PutFile(file, "made by the run");
  watch.SetDetail(during);
  watch.SetDetail(ownName);
  EXPECT_TRUE(watch.WasMissingWhenNamed(file));
  EXPECT_FALSE(watch.WasNamed(during));
  EXPECT_TRUE(watch.WasNamed(ownName));
  EXPECT_EQ(page.Details().size(), 3u);
}

TEST(CancelRollbackTest, FoldersTheRunMadeGoWithTheirNewParents) {
  InstallWorld world;
  Project(world);
  world.Item(4, 2, 5, u"4*new.txt", 2);
  world.Payload({{"unins.exe", "MZ"}, {"3*app.exe", "MZ app"}, {"4*new.txt", "new"},
                 {"7*big.bin", std::string(300000, 'b')}});
  FakeFileSystem& files = world.platform.fake_files;
  files.PutFolder(u"C:\\Users");
  const int before = files.EntryCount();
  RunFootprint watch(world.platform.fake_progress, files);

  ASSERT_FALSE(RunAndCancelInBigFile(world, watch));
  RollBackStoppedRun(files, world.log, world.session.record, watch);

  EXPECT_FALSE(files.Exists(u"C:\\Program Files\\"));  // made on the way to the application folder
  EXPECT_TRUE(files.Exists(u"C:\\Users\\"));
  EXPECT_EQ(files.EntryCount(), before);
}

TEST(CancelRollbackTest, AFailedFileStepLeavesOnlyWhatWasThereBefore) {
  InstallWorld world;
  Project(world);
  FakeFileSystem& files = world.platform.fake_files;
  files.PutFile(At(u"data"), "the user's");  // where the sub-folder must go
  const int before = files.EntryCount();
  RunFootprint watch(world.platform.fake_progress, files);
  world.platform.progress = &watch;

  ASSERT_FALSE(RunInstall(world.session, kInstallPhase));
  EXPECT_FALSE(world.session.files_in_place);
  ASSERT_TRUE(files.Exists(At(u"app.exe")));  // written before the failure
  RollbackResult result = RollBackStoppedRun(files, world.log, world.session.record, watch);

  EXPECT_FALSE(files.Exists(At(u"app.exe")));
  EXPECT_FALSE(files.Exists(At(u"old.txt")));
  std::string bytes;
  EXPECT_TRUE(world.FileBytes(At(u"data"), &bytes));
  EXPECT_EQ(bytes, "the user's");
  EXPECT_EQ(files.EntryCount(), before);  // the menu folder and its new parents went too
  EXPECT_TRUE(result.left.empty());
}

TEST(CancelRollbackTest, RecordLinesDecideWhichFilesGo) {
  struct Case {
    const char* name;
    const char16_t* over;
    const char16_t* unins;
    bool removed;
  };
  const Case cases[] = {
      {"new file", u"0", u"0", true},
      {"new shared file", u"0", u"2", true},
      {"file that was there", u"1", u"0", false},
      {"file the run kept", u"1", u"1", false},
      {"new file marked kept", u"0", u"1", false},
  };
  for (const Case& c : cases) {
    FakeFileSystem files;
    const cc::Str path = At(u"f.txt");
    files.PutFile(path, "x");
    RecordText record;
    record.Start(kApp, u"Demo");
    record.AddLine(u"File?=", path);
    record.AddLine(u"FileOver?=", c.over);
    record.AddLine(u"FileUnins?=", c.unins);
    FakeProgress progress;
    RunFootprint nothingSeen(progress, files);
    SetupLog log;
    RollbackResult result = RollBackStoppedRun(files, log, record, nothingSeen);
    EXPECT_EQ(files.Exists(path), !c.removed) << c.name;
    EXPECT_EQ(result.files_removed, c.removed ? 1 : 0) << c.name;
    EXPECT_TRUE(result.left.empty()) << c.name;
  }
}

TEST(CancelRollbackTest, WhatCannotGoOrIsNotAFileIsReported) {
  FakeFileSystem files;
  FakeProgress progress;
  files.PutFolder(u"C:\\Program Files");
  RunFootprint footprint(progress, files);
  footprint.AddStatusLine(u"Create folder:C:\\Program Files\\Demo\\\r\n");
  const cc::Str locked = At(u"locked.txt");
  files.PutFile(locked, "x", kFileAttributeReadOnly);
  install_test::FaultyFiles faulty(files);
  faulty.RefuseDelete(locked);
  RecordText record;
  record.Start(kApp, u"Demo");
  record.AddLine(u"File?=", locked);
  record.AddLine(u"FileOver?=", u"0");
  record.AddLine(u"FileUnins?=", u"0");
  record.AddLine(u"RegRoot?=", u"1");
  SetupLog log;
  RollbackResult result = RollBackStoppedRun(faulty, log, record, footprint);

  EXPECT_TRUE(files.Exists(locked));
  uint32_t attributes = files.GetAttributes(locked);
  EXPECT_TRUE(attributes & kFileAttributeReadOnly);  // a file that stays keeps its protection
  ASSERT_EQ(result.left.size(), 3u);
  EXPECT_EQ(result.left[0], locked);
  EXPECT_EQ(result.left[1], cc::Str(u"C:\\Program Files\\Demo"));  // still holds the file
  EXPECT_EQ(result.left[2], cc::Str(u"RegRoot?=1"));
}

}  // namespace
