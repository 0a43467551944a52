#include "install/file_step.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "install/file_copy.h"
#include "install/install_test_support.h"
#include "platform/os_version.h"

namespace {

using install_test::FaultyFiles;
using install_test::InstallWorld;
using install_test::kAppFolder;

// Runs the file step alone, as the driver sets it up.
int RunFiles(InstallWorld& world) {
  InstallSession& session = world.session;
  session.os_index = GetOsVersion(world.platform, &session.is64);
  session.transfer_buffer.assign(kTransferBufferSize, 0);
  session.bytes_total = world.store.Get(u"Ret.Location.Required").ToInt64();
  session.record.Start(kAppFolder, u"Demo App");
  return RunFileStep(session);
}

std::string RecordWithout(const InstallWorld& world) {
  std::string start = "[Log]\r\nAppDir=C:\\Program Files\\Demo\\\r\nAppName=Demo App\r\n";
  const std::string& text = world.session.record.Utf8();
  return text.substr(0, start.size()) == start ? text.substr(start.size()) : "(bad start) " + text;
}

std::string FileLines(const std::string& path, const char* over, const char* unins) {
  return "File?=" + path + "\r\nFileOver?=" + over + "\r\nFileUnins?=" + unins + "\r\n";
}

TEST(FileStepTest, WalkFollowsGroupsLevelsAndStops) {
  InstallWorld world;
  world.Item(1, 0, 5, u"1*early.txt");              // before the first group: walked, never installed
  world.Item(2, 0, 2, u"Main");
  world.Check(2);
  world.Item(3, 2, 3, u"<Application Folder>");     // root folder: created, not recorded
  world.Item(4, 3, 5, u"4*app.exe", 0, 0);
  world.Item(5, 3, 4, u"docs");                     // sub-folder: recorded
  world.Item(6, 5, 5, u"6*readme.txt", 0, 2);       // shared file
  world.Item(7, 3, 5, u"7*Home.link", 0, 1);        // back on level 3; not recorded
  world.Item(8, 3, 5, u"8*x86only.dll", 0, 0, 0x400040);  // 32-bit Windows 7 only
  world.Item(9, 0, 2, u"Extras");                   // not selected
  world.Item(10, 9, 3, u"<Application Folder>");
  world.Item(11, 10, 4, u"extra");
  world.Item(12, 11, 5, u"12*extra.txt");
  world.Item(13, 99, 5, u"13*stray.txt");           // wrong parent: ends the top level
  world.Item(14, 2, 5, u"14*after.txt");
  world.store.Set(u"s.f.2.Item.Len-US.1", u"Main files");
  world.Payload({{"1*early.txt", "e"}, {"4*app.exe", "APP"}, {"6*readme.txt", "README"},
                 {"7*Home.link", "[InternetShortcut]"}, {"8*x86only.dll", "x"}, {"12*extra.txt", "x"},
                 {"13*stray.txt", "x"}, {"14*after.txt", "x"}});

  ASSERT_EQ(RunFiles(world), kFileStepOk);
  const std::string app = "C:\\Program Files\\Demo\\";
  EXPECT_EQ(RecordWithout(world), FileLines(app + "app.exe", "0", "0") + "Dir?=" + app + "docs\\\r\n" +
                                      FileLines(app + "docs\\readme.txt", "0", "2"));
  std::string bytes;
  EXPECT_TRUE(world.FileBytes(u"C:\\Program Files\\Demo\\app.exe", &bytes));
  EXPECT_EQ(bytes, "APP");
  EXPECT_TRUE(world.FileBytes(u"C:\\Program Files\\Demo\\docs\\readme.txt", &bytes));
  EXPECT_EQ(bytes, "README");
  EXPECT_TRUE(world.FileBytes(u"C:\\Program Files\\Demo\\Home.url", &bytes));
  EXPECT_EQ(bytes, "[InternetShortcut]");
  for (const char16_t* absent : {u"C:\\Program Files\\Demo\\x86only.dll", u"C:\\Program Files\\Demo\\extra",
                                 u"C:\\Program Files\\Demo\\stray.txt", u"C:\\Program Files\\Demo\\after.txt",
                                 u"early.txt", u"C:\\early.txt"}) {
    EXPECT_FALSE(world.Exists(absent)) << cc::Str(absent).ToUtf8();
  }
  const FakeProgress& progress = world.platform.fake_progress;
  EXPECT_TRUE(progress.HasLine(u"Group:Main files\r\n"));
  EXPECT_TRUE(progress.HasLine(u"Group:\r\n"));  // the unselected group has no name in en-US
  EXPECT_TRUE(progress.HasLine(u"            C:\\Program Files\\Demo\\docs\\readme.txt\r\n"));
  EXPECT_TRUE(progress.HasLine(u"Create folder:C:\\Program Files\\Demo\\\r\n"));
}

TEST(FileStepTest, ANumberGapEndsTheWalk) {
  InstallWorld world;
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*one.txt");
  world.Item(5, 2, 5, u"5*five.txt");
  world.Payload({{"3*one.txt", "1"}, {"5*five.txt", "5"}});
  ASSERT_EQ(RunFiles(world), kFileStepOk);
  EXPECT_TRUE(world.Exists(u"C:\\Program Files\\Demo\\one.txt"));
  EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\five.txt"));
}

TEST(FileStepTest, AnItemMarkedNotToExtractIsRecordedOnly) {
  InstallWorld world;
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*kept.txt");
  world.Item(4, 2, 5, u"<None>");
  world.store.SetBool(u"s.f.3.Item.I", true);
  world.Payload({{"3*kept.txt", "x"}});
  ASSERT_EQ(RunFiles(world), kFileStepOk);
  EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\kept.txt"));
  EXPECT_EQ(RecordWithout(world), FileLines("C:\\Program Files\\Demo\\kept.txt", "0", "0"));
}

// A project with one file of `size` bytes under the application folder.
void OneFile(InstallWorld& world, const std::string& bytes, int overwrite = 0) {
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*big.bin", overwrite);
  world.ItemTime(3, 0x01D9000012345678u);
  world.Payload({{"3*big.bin", bytes}});
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

const char16_t kBig[] = u"C:\\Program Files\\Demo\\big.bin";

TEST(FileStepTest, CopiesInBlocksWithPercentAndTimeStamp) {
  InstallWorld world;
  FaultyFiles files(world.platform.fake_files);
  world.platform.files = &files;
  const std::string bytes = Pattern(250000);
  OneFile(world, bytes);
  world.store.Set(u"Ret.Location.Required", u"500000");
  ASSERT_EQ(RunFiles(world), kFileStepOk);

  EXPECT_EQ(files.WriteSizes(), (std::vector<int>{102400, 102400, 45200}));
  std::string written;
  ASSERT_TRUE(world.FileBytes(kBig, &written));
  EXPECT_TRUE(written == bytes);
  FileTimes times;
  ASSERT_TRUE(world.platform.fake_files.GetTimes(kBig, &times));
  EXPECT_EQ(times.last_write, 0x01D9000012345678u);
  EXPECT_EQ(times.creation, 0x01D9000012345678u);

  const FakeProgress& progress = world.platform.fake_progress;
  std::vector<cc::Str> percents;
  for (const cc::Str& detail : progress.Details()) {
    if (detail.StartsWith(kBig) && detail != cc::Str(kBig)) percents.push_back(detail);
  }
  EXPECT_EQ(percents, (std::vector<cc::Str>{cc::Str(kBig) + cc::Str(u"(40/100)"),
                                             cc::Str(kBig) + cc::Str(u"(81/100)")}));
  EXPECT_EQ(progress.Bars(), (std::vector<int>{0, 20, 40}));
  EXPECT_EQ(world.session.bytes_done, 250000);
}

TEST(FileStepTest, ProgressArithmeticHoldsBeyondThirtyTwoBits) {
  struct Case {
    int64_t part, whole;
    int expected;
  };
  const Case cases[] = {
      {25000000, 50000000, 50},            // "done x 100" passes 2^31 from 21.5 MB on
      {3000000000LL, 6000000000LL, 50},    // sums beyond 2 GB
      {6000000000LL, 6000000000LL, 100},
      {7000000000LL, 6000000000LL, 100},   // never above 100
      {5, 0, 100},                          // an empty install counts as 1 byte
      {0, 0, 0},
      {-1, 10, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(PercentOf(cases[i].part, cases[i].whole), cases[i].expected) << "case " << i;
  }
}

TEST(FileStepTest, CancelDuringACopyRemovesThePartialFile) {
  InstallWorld world;
  OneFile(world, Pattern(250000));
  FakeProgress& progress = world.platform.fake_progress;
  progress.OnPump([&](int) {
    if (!progress.Details().empty() && progress.Details().back().EndsWith(u"(81/100)")) {
      world.store.SetBool(u"Ret.Canceling", true);
    }
  });
  EXPECT_EQ(RunFiles(world), kFileStepStopped);
  EXPECT_FALSE(world.Exists(kBig));
  EXPECT_FALSE(world.store.Has(u"Ret.ErrorInfo"));
  EXPECT_EQ(world.session.record.Utf8().find("File?="), std::string::npos);
}

TEST(FileStepTest, AFailedWriteRemovesThePartialFileAndSaysWhich) {
  InstallWorld world;
  FaultyFiles files(world.platform.fake_files);
  world.platform.files = &files;
  files.FailWritesAfter(150000);
  OneFile(world, Pattern(250000));
  EXPECT_EQ(RunFiles(world), kFileStepStopped);
  EXPECT_FALSE(world.Exists(kBig));
  EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"), cc::Str(u"Cannot write the file:\r\n\r\n") + cc::Str(kBig));
}

TEST(FileStepTest, AMissingPayloadEntryIsAnErrorNotAnEmptyFile) {
  InstallWorld world;
  OneFile(world, "x");
  world.Item(3, 2, 5, u"3*other.bin");
  EXPECT_EQ(RunFiles(world), kFileStepStopped);
  EXPECT_FALSE(world.Exists(u"C:\\Program Files\\Demo\\other.bin"));
  EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"),
            cc::Str(u"Cannot write the file:\r\n\r\nC:\\Program Files\\Demo\\other.bin"));
}

// Three existing files, each with its own mode; the item time is older than
// the files on disk.
struct ExistingCase {
  const char* name;
  int modes[3];
  std::vector<int> answers;   // overwrite answers, in order
  int expected_questions;
  bool replaced[3];
  int result;
};

TEST(FileStepTest, OverwriteDecisionsCarryTheRememberedAnswer) {
  const ExistingCase cases[] = {
      {"ask each", {0, 0, 0}, {0, 2, 0}, 3, {true, false, true}, kFileStepOk},
      {"skip all", {0, 0, 2}, {3}, 1, {false, false, true}, kFileStepOk},
      {"overwrite all", {0, 1, 3}, {1}, 1, {true, true, false}, kFileStepOk},
      {"older kept under remembered 4", {0, 1, 0}, {4}, 1, {false, false, false}, kFileStepOk},
      {"mode 1 asks for an older item", {1, 1, 1}, {0, 2, 0}, 3, {true, false, true}, kFileStepOk},
      {"cancel", {0, 0, 0}, {0, 5}, 2, {true, false, false}, kFileStepStopped},
  };
  for (const ExistingCase& c : cases) {
    InstallWorld world;
    world.Item(1, 0, 2, u"Main");
    world.Check(1);
    world.Item(2, 1, 3, u"<Application Folder>");
    for (int i = 0; i < 3; ++i) {
      world.Item(3 + i, 2, 5, cc::Str::Formatted(u"%d*f%d.txt", 3 + i, i).GetBuffer(), c.modes[i]);
      world.ItemTime(3 + i, 1000);  // far older than the fake clock
      world.platform.fake_files.PutFile(cc::Str::Formatted(u"%sf%d.txt", kAppFolder, i), "old");
    }
    world.Payload({{"3*f0.txt", "new"}, {"4*f1.txt", "new"}, {"5*f2.txt", "new"}});
    for (int answer : c.answers) world.platform.fake_prompts.QueueOverwrite(answer);

    EXPECT_EQ(RunFiles(world), c.result) << c.name;
    EXPECT_EQ(world.platform.fake_prompts.CountOf(FakePrompts::Kind::kOverwrite), c.expected_questions)
        << c.name;
    for (int i = 0; i < 3; ++i) {
      std::string bytes;
      ASSERT_TRUE(world.FileBytes(cc::Str::Formatted(u"%sf%d.txt", kAppFolder, i), &bytes)) << c.name;
      EXPECT_EQ(bytes, c.replaced[i] ? "new" : "old") << c.name << " file " << i;
    }
    if (c.result == kFileStepOk) {
      EXPECT_NE(world.session.record.Utf8().find("FileOver?=1\r\n"), std::string::npos) << c.name;
      EXPECT_EQ(world.session.record.Utf8().find("FileOver?=0"), std::string::npos) << c.name;
      // A file left as it was is the user's, not ours: the record keeps it.
      for (int i = 0; i < 3; ++i) {
        const std::string path = cc::Str::Formatted(u"%sf%d.txt", kAppFolder, i).ToUtf8();
        EXPECT_NE(world.session.record.Utf8().find(FileLines(path, "1", c.replaced[i] ? "0" : "1")),
                  std::string::npos) << c.name << " file " << i;
      }
    } else {
      EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"), cc::Str(u".s.i.Var.CopyFileError")) << c.name;
    }
  }
}

TEST(FileStepTest, TheOverwriteQuestionNamesTheFileInTheCurrentLanguage) {
  InstallWorld world;
  OneFile(world, "new");
  world.platform.fake_files.PutFile(kBig, "old");
  ASSERT_EQ(RunFiles(world), kFileStepOk);
  const OverwriteQuestion& q = world.platform.fake_prompts.LastOverwrite();
  EXPECT_EQ(q.caption, cc::Str(u"Question"));
  EXPECT_EQ(q.message, cc::Str(u"The file exists already:\r\n\r\n") + cc::Str(kBig));
  EXPECT_EQ(q.buttons[0], cc::Str(u"Overwrite"));
  EXPECT_EQ(q.buttons[4], cc::Str(u"Overwrite older"));
  EXPECT_EQ(q.buttons[5], cc::Str(u"Cancel"));
}

TEST(FileStepTest, AFileThatCannotBeReplacedOrCreatedAsksAbortRetryIgnore) {
  struct Case {
    const char* name;
    bool undeletable;
    int create_failures;
    std::vector<FileErrorAnswer> answers;
    int result;
    const char* content;       // of the target afterwards
    const char16_t* error;     // "Ret.ErrorInfo" prefix, null when none
    bool recorded;
    const char* mode;          // the recorded removal mode: "1" keeps the file
  };
  using A = FileErrorAnswer;
  const Case cases[] = {
      {"ignore a file in use", true, 0, {A::kRetry, A::kIgnore}, kFileStepOk, "old", nullptr, true, "1"},
      {"abort a file in use", true, 0, {A::kAbort}, kFileStepStopped, "old", u"Cannot remove the file:", false, ""},
      {"retry creating", false, 2, {A::kRetry, A::kRetry}, kFileStepOk, "new", nullptr, true, "0"},
      {"ignore creating", false, 1, {A::kIgnore}, kFileStepOk, "old", nullptr, true, "1"},
      {"abort creating", false, 1, {A::kAbort}, kFileStepStopped, "old", u"Cannot create the file:", false, ""},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    FaultyFiles files(world.platform.fake_files);
    world.platform.files = &files;
    OneFile(world, "new", 2);
    world.platform.fake_files.PutFile(kBig, "old");
    if (c.undeletable) files.RefuseDelete(kBig);
    // The new version is written beside the target first.
    if (c.create_failures) files.RefuseCreate(cc::Str(kBig) + cc::Str(kPartialSuffix), c.create_failures);
    for (A answer : c.answers) world.platform.fake_prompts.QueueFileError(answer);

    EXPECT_EQ(RunFiles(world), c.result) << c.name;
    EXPECT_EQ(world.platform.fake_prompts.CountOf(FakePrompts::Kind::kAbortRetryIgnore),
              static_cast<int>(c.answers.size())) << c.name;
    std::string bytes;
    EXPECT_EQ(world.FileBytes(kBig, &bytes), c.content != nullptr) << c.name;
    if (c.content) {
      EXPECT_EQ(bytes, c.content) << c.name;
    }
    if (c.error) {
      EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"), cc::Str(c.error) + cc::Str(u"\r\n\r\n") + cc::Str(kBig))
          << c.name;
    }
    bool recorded = world.session.record.Utf8().find("File?=") != std::string::npos;
    EXPECT_EQ(recorded, c.recorded) << c.name;
    if (c.recorded) {
      EXPECT_NE(world.session.record.Utf8().find(std::string("FileUnins?=") + c.mode + "\r\n"), std::string::npos)
          << c.name;
    }
    EXPECT_FALSE(world.Exists(cc::Str(kBig) + cc::Str(kPartialSuffix))) << c.name;
    if (c.name == std::string("ignore creating")) {
      EXPECT_TRUE(world.platform.fake_progress.HasLine(cc::Str(u"Ignore file:") + cc::Str(kBig) + cc::Str(u"\r\n")));
    }
  }
}

TEST(FileStepTest, AFolderThatCannotBeCreatedStopsWithMinusOne) {
  InstallWorld world;
  world.platform.fake_files.PutFile(u"C:\\Program Files\\Demo", "a file in the way");
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*a.txt");
  world.Payload({{"3*a.txt", "a"}});
  EXPECT_EQ(RunFiles(world), kFileStepFolderFailed);
  EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"),
            cc::Str(u"Cannot create the folder:\r\n\r\nC:\\Program Files\\Demo\\"));
}

// A folder that does not resolve to a full path ends the step with the
// create-folder error naming the item: nothing may be written through the
// root of the current drive or the working folder.
TEST(FileStepTest, AFolderThatIsNotAFullPathFailsAndWritesNothing) {
  struct Case {
    const char* name;
    int folder_type;            // the item above the file: root or sub-folder, 0 for none
    const char16_t* folder;
    const char16_t* named;      // in "Ret.ErrorInfo"
  };
  const Case cases[] = {
      {"unknown root macro", 3, u"<Unknown>\\x", u"<Unknown>\\x"},
      {"empty application folder", 3, u"<Application Folder>", u"<Application Folder>"},
      {"sub-folder without a root", 4, u"sub", u"sub\\"},
      {"file without a folder", 0, nullptr, u"a.txt"},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    world.store.Set(u"Ret.Location.Path", u"");
    world.Item(1, 0, 2, u"Main");
    world.Check(1);
    const int file = c.folder ? 3 : 2;
    if (c.folder) world.Item(2, 1, c.folder_type, c.folder);
    world.Item(file, file - 1, 5, c.folder ? u"3*a.txt" : u"2*a.txt");
    world.Payload({{"3*a.txt", "a"}, {"2*a.txt", "a"}});
    const int before = world.platform.fake_files.EntryCount();
    EXPECT_EQ(RunFiles(world), kFileStepFolderFailed) << c.name;
    EXPECT_EQ(world.store.Get(u"Ret.ErrorInfo"), cc::Str(u"Cannot create the folder:\r\n\r\n") + cc::Str(c.named))
        << c.name;
    EXPECT_EQ(world.platform.fake_files.EntryCount(), before) << c.name;
    EXPECT_EQ(world.session.record.Utf8().find("File?="), std::string::npos) << c.name;
  }
}

// A replace that fails or is canceled half-way keeps the old file whole and
// leaves no partial file.
TEST(FileStepTest, AFailedOrCanceledReplaceKeepsTheOldFile) {
  struct Case {
    const char* name;
    int64_t write_budget;  // -1: unlimited
    bool canceling;
  };
  const Case cases[] = {
      {"write fails half-way", kCopyBlockSize + 10, false},
      {"canceled", -1, true},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    FaultyFiles files(world.platform.fake_files);
    world.platform.files = &files;
    OneFile(world, Pattern(250000), 2);
    world.platform.fake_files.PutFile(kBig, "old");
    if (c.write_budget >= 0) files.FailWritesAfter(c.write_budget);
    if (c.canceling) world.store.SetBool(u"Ret.Canceling", true);
    EXPECT_EQ(RunFiles(world), kFileStepStopped) << c.name;
    std::string bytes;
    ASSERT_TRUE(world.FileBytes(kBig, &bytes)) << c.name;
    EXPECT_EQ(bytes, "old") << c.name;
    EXPECT_FALSE(world.Exists(cc::Str(kBig) + cc::Str(kPartialSuffix))) << c.name;
  }
}

}  // namespace

namespace {

// The progress of a copy is the same block for block as a copy on one
// thread: the bar before each block, the percentage from the second block
// of an entry larger than one block.
TEST(FileStepTest, ProgressValuesFollowTheBlocksInOrder) {
  InstallWorld world;
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*a.bin");
  world.Item(4, 2, 5, u"4*b.bin");
  world.Item(5, 2, 5, u"5*c.bin");
  world.Payload({{"3*a.bin", Pattern(250000)}, {"4*b.bin", Pattern(102400)}, {"5*c.bin", ""}});
  world.store.Set(u"Ret.Location.Required", u"352400");
  ASSERT_EQ(RunFiles(world), kFileStepOk);

  const cc::Str a = cc::Str(kAppFolder) + cc::Str(u"a.bin");
  const cc::Str b = cc::Str(kAppFolder) + cc::Str(u"b.bin");
  const cc::Str c = cc::Str(kAppFolder) + cc::Str(u"c.bin");
  const FakeProgress& progress = world.platform.fake_progress;
  // 0, 102400, 204800, 250000 and 352400 of 352400 bytes done.
  EXPECT_EQ(progress.Bars(), (std::vector<int>{0, 29, 58, 70, 100}));
  EXPECT_EQ(progress.Details(), (std::vector<cc::Str>{a, a + cc::Str(u"(40/100)"), a + cc::Str(u"(81/100)"), b, c}));
  std::string bytes;
  ASSERT_TRUE(world.FileBytes(a, &bytes));
  EXPECT_TRUE(bytes == Pattern(250000));
  ASSERT_TRUE(world.FileBytes(c, &bytes));
  EXPECT_EQ(bytes, "");
}

// Holds every write at a gate until the test opens it, and counts the
// writes that began.
class GatedFiles : public FaultyFiles {
 public:
  using FaultyFiles::FaultyFiles;
  std::unique_ptr<File> Open(const cc::Str& p, OpenMode mode) override {
    std::unique_ptr<File> file = FaultyFiles::Open(p, mode);
    if (!file || mode == OpenMode::kRead) return file;
    return std::make_unique<GatedFile>(std::move(file), this);
  }
  // Waits (at most two seconds) until `count` writes have begun.
  bool AwaitWrites(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(2), [&] { return begun_ >= count; });
  }
  void OpenGate() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  int Begun() {
    std::lock_guard<std::mutex> lock(mutex_);
    return begun_;
  }
  // True when a write gave up waiting: nothing opened the gate.
  bool TimedOut() {
    std::lock_guard<std::mutex> lock(mutex_);
    return timed_out_;
  }

 private:
  class GatedFile : public install_test::ForwardingFile {
   public:
    GatedFile(std::unique_ptr<File> inner, GatedFiles* gate) : ForwardingFile(std::move(inner)), gate_(gate) {}
    bool Write(const void* data, int size) override {
      {
        std::unique_lock<std::mutex> lock(gate_->mutex_);
        ++gate_->begun_;
        gate_->changed_.notify_all();
        if (!gate_->changed_.wait_for(lock, std::chrono::seconds(2), [&] { return gate_->open_; })) {
          gate_->timed_out_ = true;
        }
      }
      return ForwardingFile::Write(data, size);
    }

   private:
    GatedFiles* gate_;
  };

  std::mutex mutex_;
  std::condition_variable changed_;
  int begun_ = 0;
  bool open_ = false;
  bool timed_out_ = false;
};

// Cancel while the writer is busy with the first block and more blocks are
// decoded and handed over: the write in progress completes, nothing is
// written after the cancel is seen, the partial file goes and the old file
// stays.
TEST(FileStepTest, CancelDuringAPipelinedCopyWritesNothingAfterIt) {
  InstallWorld world;
  GatedFiles files(world.platform.fake_files);
  world.platform.files = &files;
  OneFile(world, Pattern(20 * kCopyBlockSize), 2);
  world.platform.fake_files.PutFile(kBig, "old");
  FakeProgress& progress = world.platform.fake_progress;
  int canceled_at = 0;
  bool writer_busy = false;
  progress.OnPump([&](int) {
    if (canceled_at > 0) {
      files.OpenGate();  // the file step waits for the write in progress
    } else if (progress.Bars().size() == 4) {  // before the fourth block: three are handed over
      writer_busy = files.AwaitWrites(1);
      world.store.SetBool(u"Ret.Canceling", true);
      canceled_at = files.Begun();
    }
  });
  EXPECT_EQ(RunFiles(world), kFileStepStopped);
  files.OpenGate();
  EXPECT_TRUE(writer_busy);
  EXPECT_FALSE(files.TimedOut()) << "the step did not wait for the write in progress";
  EXPECT_EQ(canceled_at, 1);
  EXPECT_EQ(files.Begun(), canceled_at) << "a block was written after the cancel";
  EXPECT_EQ(progress.Bars().size(), 4u);
  std::string bytes;
  ASSERT_TRUE(world.FileBytes(kBig, &bytes));
  EXPECT_EQ(bytes, "old");
  EXPECT_FALSE(world.Exists(cc::Str(kBig) + cc::Str(kPartialSuffix)));
  EXPECT_FALSE(world.store.Has(u"Ret.ErrorInfo"));
}

// Files the walk keeps are skipped by the read-ahead: every file that is
// written gets its own bytes, whatever was decoded ahead of it.
TEST(FileStepTest, KeptFilesBetweenCopiedOnesDoNotShiftTheirContent) {
  InstallWorld world;
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < 6; ++i) {
    const int n = 3 + i;
    world.Item(n, 2, 5, cc::Str::Formatted(u"%d*f%d.bin", n, i).GetBuffer(), i % 2 ? 3 : 2);  // odd: never replace
    world.platform.fake_files.PutFile(cc::Str::Formatted(u"%sf%d.bin", kAppFolder, i), "old");
    entries.emplace_back(cc::Str::Formatted(u"%d*f%d.bin", n, i).ToUtf8(),
                         Pattern(static_cast<size_t>(kCopyBlockSize) * (i + 1) + i) + std::to_string(i));
  }
  world.Payload(entries);
  ASSERT_EQ(RunFiles(world), kFileStepOk);
  for (int i = 0; i < 6; ++i) {
    std::string bytes;
    ASSERT_TRUE(world.FileBytes(cc::Str::Formatted(u"%sf%d.bin", kAppFolder, i), &bytes));
    EXPECT_TRUE(bytes == (i % 2 ? std::string("old") : entries[i].second)) << "file " << i;
  }
}

}  // namespace

namespace {

// A new file reaches a free name through the open file, with no move by
// path; a file that is there is replaced by a move, which can ask.
TEST(FileStepTest, AFreeNameIsTakenThroughTheOpenFileAnExistingFileIsReplacedByAMove) {
  for (bool targetExists : {false, true}) {
    InstallWorld world;
    FaultyFiles files(world.platform.fake_files);
    world.platform.files = &files;
    OneFile(world, "new", 2);
    if (targetExists) world.platform.fake_files.PutFile(kBig, "old");
    ASSERT_EQ(RunFiles(world), kFileStepOk) << targetExists;
    std::string bytes;
    ASSERT_TRUE(world.FileBytes(kBig, &bytes));
    EXPECT_EQ(bytes, "new") << targetExists;
    EXPECT_FALSE(world.Exists(cc::Str(kBig) + cc::Str(kPartialSuffix))) << targetExists;
    EXPECT_EQ(files.MovesByPath(), targetExists ? 1 : 0) << targetExists;
    FileTimes times;
    ASSERT_TRUE(world.platform.fake_files.GetTimes(kBig, &times));
    EXPECT_EQ(times.last_write, 0x01D9000012345678u) << targetExists;
  }
}

// Read-only files in the way are replaced without a question: a target the
// item always replaces, and a leftover partial file of an earlier run.
TEST(FileStepTest, ReadOnlyFilesInTheWayAreReplacedWithoutAQuestion) {
  struct Case {
    const char* name;
    bool target, partial;  // which of them exists, read-only
  };
  const Case cases[] = {
      {"read-only target", true, false},
      {"read-only leftover partial", false, true},
      {"both", true, true},
  };
  for (const Case& c : cases) {
    InstallWorld world;
    OneFile(world, "new", 2);
    const cc::Str partial = cc::Str(kBig) + cc::Str(kPartialSuffix);
    if (c.target) world.platform.fake_files.PutFile(kBig, "old", kFileAttributeReadOnly);
    if (c.partial) world.platform.fake_files.PutFile(partial, "stale", kFileAttributeReadOnly);
    EXPECT_EQ(RunFiles(world), kFileStepOk) << c.name;
    std::string bytes;
    ASSERT_TRUE(world.FileBytes(kBig, &bytes)) << c.name;
    EXPECT_EQ(bytes, "new") << c.name;
    EXPECT_FALSE(world.Exists(partial)) << c.name;
    EXPECT_EQ(world.platform.fake_prompts.CountOf(FakePrompts::Kind::kAbortRetryIgnore), 0) << c.name;
  }
}

}  // namespace
