#include "uninstall/uninstall_driver.h"

#include "install/install_session.h"
#include "install/page_text.h"
#include "platform/platform.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"
#include "uninstall/remove_files.h"
#include "uninstall/remove_services.h"
#include "uninstall/remove_settings.h"
#include "uninstall/remove_shell_items.h"
#include "uninstall/remove_uninstaller.h"

namespace {

constexpr const char16_t* kCountKeys[kKindCount] = {
    u"Log.Service.Count", u"Log.Pin.Count", u"Log.File.Count", u"Log.Assoc.Count",
    u"Log.Reg.Count",     u"Log.Ini.Count", u"Log.Short.Count", u"Log.Dir.Count",
};

// The application name whose program identifiers the associations used:
// the record's own, since the project may have renamed the application
// since; the current project's only for a record without one.
cc::Str ApplicationName(const InstallSession& session, const cc::KeyArr& record) {
  if (record.Has(u"Log.AppName")) return record.Get(u"Log.AppName");
  return PageText(session.store, u".s.c.Var.AppName");
}

void ReadCounts(UninstallRun& run) {
  int64_t total = 0;
  for (int kind = 0; kind < kKindCount; ++kind) {
    run.counts[kind] = RecordCount(run.record, kCountKeys[kind]);
    total += run.counts[kind];
  }
  run.total = total < 1 ? 1 : total;
  const int* c = run.counts;
  run.log.Line(u"DoUninstall, File:%d, Service:%d, Assoc:%d, Reg:%d, Ini:%d, Short:%d, Pin:%d, Dir:%d",
               c[kKindFile], c[kKindService], c[kKindAssoc], c[kKindReg], c[kKindIni], c[kKindShort],
               c[kKindPin], c[kKindDir]);
}

}  // namespace

int DoUninstall(InstallSession& session, int askShared, const cc::KeyArr& record,
                UninstallerTraces traces) {
  Platform& platform = session.platform;
  if (!platform.IsComplete()) {
    session.store.Set(u"Ret.ErrorInfo", u"The earlier installation cannot be removed: the installer "
                                        u"cannot reach the system services it needs.");
    return kUninstallAborted;
  }
  UninstallRun run(session, record, askShared);
  run.app_name = ApplicationName(session, record);
  ReadCounts(run);

  RemoveServices(run);
  RemovePins(run);
  int result = RemoveFiles(run);
  if (result != kUninstallDone) return result;
  RemoveAssociations(run);
  RemoveRegistryValues(run);
  RemoveIniEntries(run);
  RemoveLinks(run);
  if (traces == UninstallerTraces::kRemove) RemoveUninstaller(run);
  RemoveDirectories(run);
  NotifyShell(run);
  return kUninstallDone;
}
