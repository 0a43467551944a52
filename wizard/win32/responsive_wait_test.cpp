#include "wizard/win32/responsive_wait.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

cc::Str AsStr(const std::wstring& text) { return cc::Str(reinterpret_cast<const char16_t*>(text.c_str())); }

// A program that runs for about a second: the wait must handle the
// window messages (here a timer's) that arrive meanwhile, and return only
// once the program has ended.
TEST(ResponsiveWaitTest, MessagesAreHandledWhileAProgramRuns) {
  const std::wstring marker = TempFile(L"velmora_wait_marker.txt");
  DeleteFileW(marker.c_str());
  g_ticks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, CountTick);
  bool started = wizard::RunHiddenAndWait(
      AsStr(L"cmd.exe /c ping -n 2 127.0.0.1 >nul & echo done> \"" + marker + L"\""));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(started);
  EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "returned before the program ended";
  EXPECT_GT(g_ticks, 5) << "no messages were handled during the wait";
  DeleteFileW(marker.c_str());
}

TEST(ResponsiveWaitTest, NothingStartedIsReported) {
  EXPECT_FALSE(wizard::RunHiddenAndWait(u"C:\\no\\such\\program.exe"));
  EXPECT_FALSE(wizard::OpenAndWait(nullptr, u"C:\\no\\such\\file.exe", SW_HIDE));
}

}  // namespace
