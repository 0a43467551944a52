#include "install/pending_steps.h"

int RemoveEarlierInstallation(InstallSession& session, const cc::KeyArr& record) { return 0; }

void CreateAssociationsAndServices(InstallSession& session) {}

void WriteRegistryItems(InstallSession& session) {}

void WriteIniItems(InstallSession& session) {}
