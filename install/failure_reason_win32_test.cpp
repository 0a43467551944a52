// A call the system refuses during the install leaves the system's own
// reason in the setup log, naming the key or file it was about.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "install/install_test_support.h"
#include "install/registry_items.h"
#include "install/uninstaller.h"
#include "platform/file_helpers.h"
#include "platform/os_error.h"
#include "platform/os_version.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "runtime/setup_log.h"

namespace {

using install_test::InstallWorld;

unsigned Pid() { return static_cast<unsigned>(GetCurrentProcessId()); }

cc::Str TempFolder() {
  wchar_t folder[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  return cc::Str(std::u16string(reinterpret_cast<const char16_t*>(folder), length));
}

class FailureReasonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.session.os_index = GetOsVersion(world.platform, &world.session.is64);
    world.platform.files = &files;
    world.platform.registry = &registry;
    ASSERT_TRUE(world.log.Open(files, nullptr, log_path));
  }
  void TearDown() override {
    world.log.Close();
    files.RemoveFile(log_path);
  }

  // The log so far, as text; the log is closed.
  std::string Log() {
    world.log.Close();
    std::string bytes;
    EXPECT_GE(ReadWholeFile(files, log_path, &bytes), 0);
    return cc::Str(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2))
        .ToUtf8();
  }

  InstallWorld world;
  Win32FileSystem files;
  Win32Registry registry;
  const cc::Str log_path = TempFolder() + cc::Str::Formatted(u"velmora-reason-%u.log", Pid());
};

TEST_F(FailureReasonTest, AKeyThatCannotBeCreated) {
  // A key name longer than the registry allows.
  const cc::Str key = cc::Str(u"Software\\") + cc::Str(std::u16string(300, u'k'));
  const uint32_t flags = kRegItemWrite | install_test::kAllSystems;
  world.store.Set(u"s.i.Reg.0.Item", cc::Str::Formatted(u"1;\t%u;\t%s;\tName=value", flags, key.GetBuffer()));
  world.store.SetInt(u"s.i.Reg.Count", 1);
  WriteRegistryItems(world.session);

  // What the system says for the same call.
  ASSERT_EQ(registry.CreateKey(RegRoot::kCurrentUser, key), nullptr);
  const OsError expected = registry.LastError();
  ASSERT_NE(expected.code, 0u);
  ASSERT_FALSE(expected.message.IsEmpty());
  const std::string log = Log();
  EXPECT_NE(log.find("Reg CreateKey NG"), std::string::npos) << log;
  EXPECT_NE(log.find("OS error: " + DescribeOsError(expected).ToUtf8() + "\r\n"), std::string::npos) << log;
}

TEST_F(FailureReasonTest, AFileInAMissingFolder) {
  world.session.app_folder = TempFolder() + cc::Str::Formatted(u"velmora-missing-%u\\", Pid());
  EXPECT_FALSE(WriteRecord(world.session));
  EXPECT_FALSE(world.store.Get(u"Ret.ErrorInfo").IsEmpty());
  const std::string log = Log();
  const std::string reason = "OS error: " + Win32ErrorText(ERROR_PATH_NOT_FOUND).ToUtf8() +
                             " (error 3): " + world.session.app_folder.ToUtf8();
  EXPECT_NE(log.find(reason), std::string::npos) << log;
}

}  // namespace
