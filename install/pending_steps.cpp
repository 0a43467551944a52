#include "install/pending_steps.h"

#include "install/install_session.h"

int RemoveEarlierInstallation(InstallSession& session, const cc::KeyArr& record) {
  if (!session.remove_earlier_installation) return 0;
  return session.remove_earlier_installation(session, record);
}
