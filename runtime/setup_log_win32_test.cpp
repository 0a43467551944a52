#include "runtime/setup_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "runtime/setup_log_test_support.h"

namespace {

using setup_log_test::Utf16Le;

std::string ReadRaw(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  std::string bytes(4096, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

TEST(SetupLogWin32Test, TheFileOnDiskIsUtf16LeWithoutMarkAndReadableWhileOpen) {
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  wchar_t folder[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
  std::wstring path = std::wstring(folder) + L"velmora_setup_log_test.log";
  DeleteFileW(path.c_str());
  // An earlier, longer log is replaced, not overwritten in part.
  HANDLE old = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(old, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(old, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 44, &written, nullptr);
  CloseHandle(old);

  SetupLog log;
  cc::Str logPath(reinterpret_cast<const char16_t*>(path.c_str()));
  ASSERT_TRUE(log.Open(*platform->files, platform->process, logPath));
  log.Write(u"WinVer:14, Windows7(64bit)");
  // Flushed per line: another reader sees it before the log closes.
  EXPECT_EQ(ReadRaw(path), Utf16Le(u"WinVer:14, Windows7(64bit)\r\n"));
  log.Write(u"100% \u00e9t\u00e9");
  log.Close();
  EXPECT_EQ(ReadRaw(path), Utf16Le(u"WinVer:14, Windows7(64bit)\r\n100% \u00e9t\u00e9\r\n"));
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}

}  // namespace
