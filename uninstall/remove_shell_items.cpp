#include "uninstall/remove_shell_items.h"

#include "install/install_session.h"
#include "install/pins.h"
#include "install/shortcut_link.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/system_helpers.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"

namespace {

constexpr int kNotifyWaitMs = 50;

}  // namespace

void RemovePins(UninstallRun& run) {
  const cc::Str folder = PinnedTaskbarFolder(run.platform);
  for (int i = 0; i < run.counts[kKindPin]; ++i) {
    const cc::Str name = run.Text(u"Log.Pin%d", i);
    const cc::Str target = run.Text(u"Log.PinPath%d", i);
    const cc::Str link = folder + name + cc::Str(IsUrlTarget(target) ? u".website" : u".lnk");
    run.BeginItem();
    run.Show(cc::Str(u"Removing Taskbar Pinned ") + name, link);
    run.log.Line(u"UnPin from taskbar, Name:%s, Link:%s", name, link);
    // The name is a file name in the pinned folder; anything else would
    // reach a file the record does not name.
    if (!IsPlainFileName(name) || !IsFullPath(folder)) continue;
    UnpinFromTaskbar(run.platform, run.log, target, link, name, true);
    DeleteFileForced(*run.platform.files, link);
  }
}

void RemoveLinks(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindShort]; ++i) {
    const cc::Str link = run.Text(u"Log.Short%d", i);
    run.BeginItem();
    run.Show(u"Removing ShortCut", link);
    run.log.Line(u"Remove Link:%s", link);
    run.DeleteListedFile(link);
  }
}

void NotifyShell(UninstallRun& run) {
  Shell& shell = *run.platform.shell;
  shell.NotifyChange(kChangeAssocChanged, kChangeFlagFlush, cc::Str());
  shell.NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, PinnedTaskbarFolder(run.platform));
  cc::Str installFolder = run.session.store.Get(u"Ret.Location.Path");
  if (installFolder.IsEmpty()) installFolder = GetModulePath(*run.platform.system, true);
  shell.NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, installFolder);
  run.Pump();
  run.Wait(kNotifyWaitMs);
}
