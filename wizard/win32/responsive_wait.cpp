#include "wizard/win32/responsive_wait.h"

#include <string>

#include "ui/win32/app.h"
#include "ui/win32/control.h"

namespace wizard {

bool PumpWindowMessages() {
  if (cc::win::App* app = cc::win::App::Current()) return app->PumpPendingMessages();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool WaitResponsive(HANDLE handle) {
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;
    if (!PumpWindowMessages()) return false;
  }
}

bool OpenAndWait(HWND owner, const cc::Str& file, int show) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // No error box: a setup that waits must not be stopped by one.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = cc::win::Wide(file);
  info.nShow = show;
  if (!ShellExecuteExW(&info)) return false;
  if (info.hProcess != nullptr) {
    WaitResponsive(info.hProcess);
    CloseHandle(info.hProcess);
  }
  return true;
}

bool RunHiddenAndWait(const cc::Str& commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  // CreateProcessW may write into its command line.
  std::wstring command(cc::win::Wide(commandLine));
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  WaitResponsive(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace wizard
