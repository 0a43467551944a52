// The setup runtime's entry point: the system's ANSI converter, the Win32
// platform, then the setup with its window (start-up, the wizard frame in
// the application's loop, teardown).
#include <windows.h>

#include <cstdio>
#include <memory>

#include "core/key_arr.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "runtime/ins_form.h"
#include "runtime/payload_loader.h"
#include "wizard/win32/run_wizard.h"

namespace {

// One line for whoever started the program from a console (the end-to-end
// tests do); a GUI program without a console has nowhere to write it.
void ReportStartUp(bool resourceFound, uint32_t status, const cc::KeyArr& config,
                   const LoadedPayload& payload) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  char line[160];
  int length = std::snprintf(line, sizeof line,
                             "velmora-runtime: payload %s, status 0x%X, %d entries, "
                             "%d configuration keys\n",
                             resourceFound ? "found" : "missing", static_cast<unsigned>(status),
                             PayloadEntryCount(payload.archive()), config.Count());
  DWORD written = 0;
  if (length > 0) WriteFile(out, line, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  InstallWin32AnsiConverter();
  std::unique_ptr<Platform> platform = CreateWin32Platform();

  return wizard::RunWizard(*platform, [](InsForm& form) {
    ReportStartUp(form.PayloadResourceFound(), form.PayloadStatus(), form.Config(), form.Payload());
  });
}
