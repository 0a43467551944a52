#include "uninstall/earlier_installation.h"

#include "install/install_session.h"
#include "uninstall/uninstall_driver.h"

int RemoveEarlierInstallationFromRecord(InstallSession& session, const cc::KeyArr& record) {
  return DoUninstall(session, 1, record, UninstallerTraces::kKeep);
}

void EnableEarlierInstallationRemoval(InstallSession& session) {
  session.remove_earlier_installation = RemoveEarlierInstallationFromRecord;
}
