#include "uninstall/remove_services.h"

#include "install/services.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"

namespace {

// A service's program may stay locked for a while after the service stopped.
constexpr int kServiceFileRetries = 100;
constexpr int kServiceFileRetryMs = 100;

}  // namespace

void RemoveServices(UninstallRun& run) {
  FileSystem& files = *run.platform.files;
  for (int i = run.counts[kKindService] - 1; i >= 0; --i) {
    const cc::Str file = run.Text(u"Log.ServiceFile%d", i);
    const cc::Str name = run.Text(u"Log.Service%d", i);
    run.BeginItem();
    run.Show(cc::Str(u"Removing Service ") + name, file);
    run.log.Line(u"Remove Service, Name:%s, Exe:%s", name, file);
    if (!name.IsEmpty()) DeleteServiceOfProgram(run.platform, run.log, name, file);
    if (!IsFullPath(file)) continue;
    DeleteFileForced(files, file);
    for (int tries = 0; tries < kServiceFileRetries && FileExists(files, file); ++tries) {
      run.Pump();
      run.Wait(kServiceFileRetryMs);
      DeleteFileForced(files, file);
    }
  }
}
