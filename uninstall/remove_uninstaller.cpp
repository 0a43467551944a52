#include "uninstall/remove_uninstaller.h"

#include "install/uninstaller.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"

void RemoveUninstaller(UninstallRun& run) {
  const int uninstallers = RecordCount(run.record, u"Log.Unins.Count");
  for (int i = 0; i < uninstallers; ++i) {
    const cc::Str path = run.Text(u"Log.Unins%d", i);
    run.log.Line(u"Remove Uninstaller:%s", path);
    run.DeleteListedFile(path);
  }
  const cc::Str entry = run.record.Get(u"Log.UninsKey");
  if (entry.StartsWith(kUninstallKeyPrefix) && entry.IndexOf(u'\\') < 0) {
    run.log.Line(u"Remove Uninstall Entry:%s", entry);
    run.platform.registry->DeleteKey(RegRoot::kLocalMachine, cc::Str(kUninstallKeyParent) + entry);
  }
  const cc::Str data = run.record.Get(u"Log.UninsData");
  if (!data.IsEmpty()) {
    run.log.Line(u"Remove Record:%s", data);
    run.DeleteListedFile(data);
  }
}
