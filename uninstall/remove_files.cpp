#include "uninstall/remove_files.h"

#include "install/install_session.h"
#include "install/page_text.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "runtime/setup_log.h"
#include "uninstall/shared_file_question.h"
#include "uninstall/uninstall_driver.h"
#include "uninstall/uninstall_run.h"

namespace {

constexpr int kModeRemove = 0;
constexpr int kModeShared = 2;

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

int RemoveFiles(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindFile]; ++i) {
    const cc::Str path = run.Text(u"Log.File%d", i);
    run.Show(u"Removing File", path);
    const int mode = run.Number(u"Log.FileUnins%d", i, -1);
    run.BeginItem();
    run.Pump();
    run.log.Line(u"Remove, File:%s", path);
    int result = RemoveOneFile(run, path, mode);
    if (result != kUninstallDone) return result;
  }
  return kUninstallDone;
}

void RemoveDirectories(UninstallRun& run) {
  FileSystem& files = *run.platform.files;
  const int count = run.counts[kKindDir];
  for (int i = count - 1; i >= 0; --i) {
    const cc::Str dir = run.Text(u"Log.Dir%d", i);
    run.BeginItem();
    run.Show(u"Removing Directory", dir);
    run.log.Line(u"Remove Directory:%s", dir);
    if (IsFullPath(dir)) DeleteFolderTree(files, dir, false);
  }
  // A parent listed after its child is empty only now.
  for (int i = count - 1; i >= 0; --i) {
    const cc::Str dir = run.Text(u"Log.Dir%d", i);
    if (IsFullPath(dir)) DeleteFolderTree(files, dir, false);
    run.Pump();
  }
}
