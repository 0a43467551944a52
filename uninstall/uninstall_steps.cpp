// Services, pins and files: the steps that may wait or ask.
#include "uninstall/uninstall_steps.h"

#include "install/install_session.h"
#include "install/page_text.h"
#include "install/pins.h"
#include "install/services.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "runtime/setup_log.h"
#include "uninstall/shared_file_question.h"
#include "uninstall/uninstall_driver.h"
#include "uninstall/uninstall_run.h"

namespace {

// A service's program may stay locked for a while after the service stopped.
constexpr int kServiceFileRetries = 100;
constexpr int kServiceFileRetryMs = 100;

constexpr int kModeRemove = 0;
constexpr int kModeShared = 2;

bool IsUrl(const cc::Str& target) {
  return target.StartsWith(u"http://") || target.StartsWith(u"https://") || target.StartsWith(u"ftp://");
}

// Deletes `path`; while it stays, asks Abort/Retry/Ignore. Returns
// kUninstallAborted on Abort, else kUninstallDone.
int DeleteFileAsking(UninstallRun& run, const cc::Str& path) {
  FileSystem& files = *run.platform.files;
  DeleteFileForced(files, path);
  while (FileExists(files, path)) {
    const cc::KeyArr& store = run.session.store;
    FileErrorAnswer answer = run.platform.prompts->AskAbortRetryIgnore(
        ErrorText(store, u".s.c.Var.RemoveFileRetry", path), PageText(store, u".s.c.Var.QTitle"));
    if (answer == FileErrorAnswer::kAbort) return run.Fail(kUninstallAborted, path);
    if (answer == FileErrorAnswer::kIgnore) break;
    DeleteFileForced(files, path);
  }
  return kUninstallDone;
}

int RemoveOneFile(UninstallRun& run, const cc::Str& path, int mode) {
  if (!IsFullPath(path)) return kUninstallDone;
  if (mode == kModeShared) {
    // A shared file that is gone already needs no question.
    if (!run.ask_shared || !FileExists(*run.platform.files, path)) return kUninstallDone;
    SharedAnswer answer = AskSharedFile(run, path);
    if (answer == SharedAnswer::kCancel) return run.Fail(kUninstallSharedCanceled, path);
    if (answer == SharedAnswer::kKeep) return kUninstallDone;
  } else if (mode != kModeRemove) {
    return kUninstallDone;
  }
  return DeleteFileAsking(run, path);
}

}  // namespace

void RemoveServices(UninstallRun& run) {
  FileSystem& files = *run.platform.files;
  for (int i = run.counts[kKindService] - 1; i >= 0; --i) {
    const cc::Str file = run.Text(u"Log.ServiceFile%d", i);
    const cc::Str name = run.Text(u"Log.Service%d", i);
    run.BeginItem();
    run.Show(cc::Str(u"Removing Service ") + name, file);
    LogLine(u"Remove Service, Name:%s, Exe:%s", name, file);
    if (!name.IsEmpty()) DeleteServiceOfProgram(run.platform, name, file);
    if (!IsFullPath(file)) continue;
    DeleteFileForced(files, file);
    for (int tries = 0; tries < kServiceFileRetries && FileExists(files, file); ++tries) {
      run.Pump();
      run.Wait(kServiceFileRetryMs);
      DeleteFileForced(files, file);
    }
  }
}

void RemovePins(UninstallRun& run) {
  const cc::Str folder = PinnedTaskbarFolder(run.platform);
  for (int i = 0; i < run.counts[kKindPin]; ++i) {
    const cc::Str name = run.Text(u"Log.Pin%d", i);
    const cc::Str target = run.Text(u"Log.PinPath%d", i);
    const cc::Str link = folder + name + cc::Str(IsUrl(target) ? u".website" : u".lnk");
    run.BeginItem();
    run.Show(cc::Str(u"Removing Taskbar Pinned ") + name, link);
    LogLine(u"UnPin from taskbar, Name:%s, Link:%s", name, link);
    // The name is a file name in the pinned folder; anything else would
    // reach a file the record does not name.
    if (!IsPlainFileName(name) || !IsFullPath(folder)) continue;
    UnpinFromTaskbar(run.platform, target, link, name, true);
    DeleteFileForced(*run.platform.files, link);
  }
}

int RemoveFiles(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindFile]; ++i) {
    const cc::Str path = run.Text(u"Log.File%d", i);
    run.Show(u"Removing File", path);
    const int mode = run.Number(u"Log.FileUnins%d", i, -1);
    run.BeginItem();
    run.Pump();
    LogLine(u"Remove, File:%s", path);
    int result = RemoveOneFile(run, path, mode);
    if (result != kUninstallDone) return result;
  }
  return kUninstallDone;
}
