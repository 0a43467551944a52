#include "install/services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/file_helpers.h"
#include "runtime/setup_log.h"

namespace {

// A fake platform whose setup log is open, so that the log lines can be read.
class ServicesTest : public ::testing::Test {
 protected:
  ServicesTest() { log.OpenBesideProgram(platform); }

  std::string Log() {
    std::string bytes;
    platform.fake_files.GetFileBytes(platform.fake_system.ModuleFileName() + cc::Str(u".log"), &bytes);
    return DecodeText(bytes, cc::kCodePageUtf16LE).ToUtf8();
  }
  static ServiceEntry Entry(const char16_t* name, int startType = 0, bool startNow = false) {
    ServiceEntry entry;
    entry.name = name;
    entry.program = u"C:\\Program Files\\Demo\\svc.exe";
    entry.start_type = startType;
    entry.description = u"Keeps the demo going";
    entry.start_now = startNow;
    return entry;
  }

  FakePlatform platform;
  SetupLog log;
};

TEST_F(ServicesTest, CreatesWithStartTypeQuotedCommandAndDescription) {
  struct Case {
    int configured;
    ServiceStart start;
  };
  const Case cases[] = {{2, ServiceStart::kDemand},
                        {3, ServiceStart::kDisabled},
                        {0, ServiceStart::kAuto},
                        {1, ServiceStart::kAuto},
                        {4, ServiceStart::kAuto}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const cc::Str name = cc::Str::Formatted(u"Svc%d", static_cast<int>(i));
    ASSERT_TRUE(CreateServiceEntry(platform, log, Entry(name.GetBuffer(), cases[i].configured))) << "case " << i;
    const FakeServiceManager::Entry* made = platform.fake_services.Find(name);
    ASSERT_NE(made, nullptr) << "case " << i;
    EXPECT_EQ(made->spec.start, cases[i].start) << "case " << i;
    EXPECT_EQ(made->spec.display_name, name) << "case " << i;
    EXPECT_EQ(made->spec.command_line, cc::Str(u"\"C:\\Program Files\\Demo\\svc.exe\"")) << "case " << i;
    EXPECT_EQ(made->description, cc::Str(u"Keeps the demo going")) << "case " << i;
    EXPECT_EQ(made->state, kServiceStopped) << "case " << i;
  }
}

TEST_F(ServicesTest, CommandLineIsQuotedOnlyWhenItNeedsIt) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\Demo\\svc.exe", u"C:\\Demo\\svc.exe"},
      {u"C:\\Program Files\\svc.exe", u"\"C:\\Program Files\\svc.exe\""},
      {u"\"C:\\Program Files\\svc.exe\"", u"\"C:\\Program Files\\svc.exe\""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ServiceCommandLine(cases[i].first), cc::Str(cases[i].second)) << "case " << i;
  }
}

TEST_F(ServicesTest, AnExistingServiceIsStoppedDeletedAndCreatedAnew) {
  ServiceSpec old;
  old.name = u"Demo";
  old.command_line = u"C:\\old\\svc.exe";
  platform.fake_services.PutService(old, kServiceRunning);
  platform.fake_services.SetPollsToStop(u"Demo", 3);

  ASSERT_TRUE(CreateServiceEntry(platform, log, Entry(u"Demo", 2, true)));
  const FakeServiceManager::Entry* made = platform.fake_services.Find(u"Demo");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->spec.command_line, cc::Str(u"\"C:\\Program Files\\Demo\\svc.exe\""));
  EXPECT_EQ(made->state, kServiceRunning);
  const std::vector<std::string> expected = {
      "connect", "create Demo",                                            // exists: refused
      "connect", "open Demo", "stop Demo", "query Demo", "query Demo", "query Demo",
      "delete Demo", "close Demo",                                         // gone now
      "create Demo", "describe Demo", "start Demo", "close Demo"};
  EXPECT_EQ(platform.fake_services.Calls(), expected);
  EXPECT_EQ(platform.fake_process.SleptMs(), 3 * kServiceStopPollMs);
}

// A service that never stops: 50 polls 100 ms apart, a log line with its
// last state, the deletion still asked for. It stays marked for deletion
// while it runs, so the new one cannot be made.
TEST_F(ServicesTest, AServiceThatNeverStopsIsLoggedAndStillDeleted) {
  ServiceSpec old;
  old.name = u"Hang";
  platform.fake_services.PutService(old, kServiceRunning);
  platform.fake_services.SetPollsToStop(u"Hang", -1);

  EXPECT_FALSE(CreateServiceEntry(platform, log, Entry(u"Hang")));
  EXPECT_EQ(platform.fake_process.SleptMs(), kServiceStopPolls * kServiceStopPollMs);
  const FakeServiceManager::Entry* left = platform.fake_services.Find(u"Hang");
  ASSERT_NE(left, nullptr);
  EXPECT_TRUE(left->marked_for_deletion);
  int queries = 0;
  for (const std::string& call : platform.fake_services.Calls()) queries += call == "query Hang";
  EXPECT_EQ(queries, kServiceStopPolls);
  EXPECT_EQ(Log(),
            "StopService NG, Name:Hang, State:3\r\n"
            "CreateService NG, Name:Hang, Exe:C:\\Program Files\\Demo\\svc.exe\r\n");
}

TEST_F(ServicesTest, DeleteReportsWhatFailed) {
  struct Case {
    bool exists;
    bool refuse_connect;
    bool refuse_delete;
    bool result;
    const char* log;
  };
  const Case cases[] = {
      {true, false, false, true, ""},
      {false, false, false, false, "OpenService NG, Name:Demo,\r\n"},
      {true, true, false, false, ""},
      {true, false, true, false, "DeleteService NG, Name:Demo\r\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    FakePlatform fresh;
    SetupLog freshLog;
    freshLog.OpenBesideProgram(fresh);
    ServiceSpec spec;
    spec.name = u"Demo";
    if (cases[i].exists) fresh.fake_services.PutService(spec, kServiceStopped);
    fresh.fake_services.SetRefuseConnect(cases[i].refuse_connect);
    fresh.fake_services.SetRefuseDelete(cases[i].refuse_delete);
    EXPECT_EQ(DeleteServiceEntry(fresh, freshLog, u"Demo"), cases[i].result) << "case " << i;
    EXPECT_EQ(fresh.fake_services.Find(u"Demo") == nullptr, cases[i].result || !cases[i].exists) << "case " << i;
    std::string bytes;
    fresh.fake_files.GetFileBytes(fresh.fake_system.ModuleFileName() + cc::Str(u".log"), &bytes);
    EXPECT_EQ(DecodeText(bytes, cc::kCodePageUtf16LE).ToUtf8(), cases[i].log) << "case " << i;
  }
}

TEST_F(ServicesTest, CreateFailsCleanlyWithoutTheManagerOrAName) {
  platform.fake_services.SetRefuseConnect(true);
  EXPECT_FALSE(CreateServiceEntry(platform, log, Entry(u"Demo")));
  platform.fake_services.SetRefuseConnect(false);
  EXPECT_FALSE(CreateServiceEntry(platform, log, Entry(u"")));
  platform.fake_services.FailCreate(u"Twice", 2);
  EXPECT_FALSE(CreateServiceEntry(platform, log, Entry(u"Twice")));
  EXPECT_EQ(platform.fake_services.Count(), 0);
}

}  // namespace
