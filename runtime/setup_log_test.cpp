#include "runtime/setup_log.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "runtime/setup_log_test_support.h"

namespace {

using setup_log_test::Utf16Le;

const char16_t kLogPath[] = u"C:\\setup\\setup.exe.log";

class SetupLogTest : public ::testing::Test {
 protected:
  SetupLogTest() { platform_.fake_files.PutFolder(u"C:\\setup"); }

  std::string LogBytes() {
    std::string bytes;
    EXPECT_TRUE(platform_.fake_files.GetFileBytes(kLogPath, &bytes));
    return bytes;
  }

  FakePlatform platform_;
};

TEST_F(SetupLogTest, LinesAreUtf16WithoutMarkAndEndWithCrLf) {
  SetupLog log;
  ASSERT_TRUE(log.Open(platform_.fake_files, &platform_.fake_process, kLogPath));
  log.Write(u"WinVer:14, Windows7(64bit)");
  EXPECT_EQ(LogBytes(), Utf16Le(u"WinVer:14, Windows7(64bit)\r\n"));  // flushed at once
  log.Write(u"Gr\u00fc\u00dfe \u4e2d");
  log.Write(u"");
  log.Close();
  EXPECT_EQ(LogBytes(), Utf16Le(u"WinVer:14, Windows7(64bit)\r\nGr\u00fc\u00dfe \u4e2d\r\n\r\n"));
  EXPECT_EQ(platform_.fake_process.SleptMs(), 100);
}

TEST_F(SetupLogTest, AnEarlierLongerLogIsReplaced) {
  platform_.fake_files.PutFile(kLogPath, Utf16Le(u"an old and much longer log\r\n"));
  SetupLog log;
  ASSERT_TRUE(log.Open(platform_.fake_files, &platform_.fake_process, kLogPath));
  log.Write(u"new");
  log.Close();
  EXPECT_EQ(LogBytes(), Utf16Le(u"new\r\n"));
}

TEST_F(SetupLogTest, WritesOutsideTheOpenPeriodAreIgnored) {
  SetupLog log;
  log.Write(u"before");
  log.Close();  // never opened: nothing to close, no wait
  EXPECT_EQ(platform_.fake_process.SleptMs(), 0);
  EXPECT_FALSE(platform_.fake_files.Exists(kLogPath));

  ASSERT_TRUE(log.Open(platform_.fake_files, &platform_.fake_process, kLogPath));
  log.Write(u"during");
  log.Close();
  log.Write(u"after");
  // Once opened the log is never opened again, so the file stays as it is.
  EXPECT_FALSE(log.Open(platform_.fake_files, &platform_.fake_process, kLogPath));
  log.Write(u"again");
  EXPECT_EQ(LogBytes(), Utf16Le(u"during\r\n"));
}

TEST_F(SetupLogTest, AFileThatCannotBeOpenedLeavesTheLogClosed) {
  SetupLog log;
  EXPECT_FALSE(log.Open(platform_.fake_files, &platform_.fake_process, u"C:\\missing\\setup.exe.log"));
  EXPECT_FALSE(log.IsOpen());
  log.Write(u"lost");
  log.Close();
  EXPECT_EQ(platform_.fake_files.Exists(u"C:\\missing"), false);
}

TEST_F(SetupLogTest, TheSetupLogSitsBesideTheProgram) {
  SetupLog log;
  platform_.fake_system.SetModuleFileName(u"C:\\setup\\setup.exe");
  log.Write(u"not yet open");
  ASSERT_TRUE(log.OpenBesideProgram(platform_));
  log.Line(u"WinVer:%d, %s", 14, cc::Str(u"Windows7(64bit)"));
  log.Line(u"%s", cc::Str(u""));                   // formats to nothing: no line
  log.Write(u"Copy 100% of C:\\a%d.txt %s");        // not a format
  log.Line(u"CurLang:%s", u"en-US");
  log.Close();
  log.Write(u"after");
  EXPECT_EQ(LogBytes(), Utf16Le(u"WinVer:14, Windows7(64bit)\r\nCopy 100% of C:\\a%d.txt %s\r\n"
                                u"CurLang:en-US\r\n"));
}

}  // namespace
