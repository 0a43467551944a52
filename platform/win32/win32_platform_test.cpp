// The real platform is complete (engines need not test its members for
// null), and its fallback questions are answered through the system's
// message boxes: a second thread presses a button as a user would.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/progress.h"
#include "platform/prompts.h"

namespace {

TEST(Win32PlatformTest, EveryMemberIsSet) {
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  EXPECT_NE(platform->system, nullptr);
  EXPECT_NE(platform->files, nullptr);
  EXPECT_NE(platform->resources, nullptr);
  EXPECT_NE(platform->registry, nullptr);
  EXPECT_NE(platform->profile, nullptr);
  EXPECT_NE(platform->services, nullptr);
  EXPECT_NE(platform->process, nullptr);
  EXPECT_NE(platform->shell, nullptr);
  EXPECT_NE(platform->prompts, nullptr);
  EXPECT_NE(platform->progress, nullptr);
  EXPECT_TRUE(platform->IsComplete());
  platform->progress->PumpMessages();  // returns with nothing waiting
}

// Presses `button` in the message box captioned `caption` once it appears.
std::thread PressWhenShown(const wchar_t* caption, int button) {
  return std::thread([caption, button] {
    for (int attempt = 0; attempt < 200; ++attempt) {
      HWND box = FindWindowW(L"#32770", caption);
      if (box) {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return;
      }
      Sleep(50);
    }
  });
}

TEST(Win32PlatformTest, QuestionsGoThroughMessageBoxes) {
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  Prompts& prompts = *platform->prompts;
  struct Case {
    const wchar_t* caption;
    int button;
    int expected;
  };
  const Case overwrite[] = {{L"Overwrite yes", IDYES, kOverwriteReplace},
                            {L"Overwrite no", IDNO, kOverwriteSkip},
                            {L"Overwrite cancel", IDCANCEL, kOverwriteCancel}};
  for (const Case& c : overwrite) {
    OverwriteQuestion question;
    question.caption = cc::Str(reinterpret_cast<const char16_t*>(c.caption));
    question.message = u"C:\\app\\file.txt exists.";
    std::thread presser = PressWhenShown(c.caption, c.button);
    EXPECT_EQ(prompts.AskOverwrite(question), c.expected);
    presser.join();
  }
  std::thread retry = PressWhenShown(L"Locked", IDRETRY);
  EXPECT_EQ(prompts.AskAbortRetryIgnore(u"C:\\app\\file.txt is in use.", u"Locked"), FileErrorAnswer::kRetry);
  retry.join();
  std::thread ok = PressWhenShown(L"Earlier", IDOK);
  EXPECT_EQ(prompts.AskOkCancel(u"Remove the earlier installation?", u"Earlier"), ConfirmAnswer::kOk);
  ok.join();
  OverwriteQuestion shared;
  shared.caption = u"Shared";
  shared.message = u"Remove the shared file?";
  std::thread keep = PressWhenShown(L"Shared", IDNO);
  EXPECT_EQ(prompts.AskRemoveShared(shared), kRemoveSharedKeep);
  keep.join();
}

}  // namespace
