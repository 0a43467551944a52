// Install steps that the driver calls at their places but that do nothing
// yet: removing an earlier installation from its record, the file
// associations and services,
// the registry values and the INI entries. Their order in the driver is part
// of the behaviour, so the calls are in place; each body arrives with its
// own step.
#pragma once

#include "core/key_arr.h"

struct InstallSession;

// Removes the earlier installation described by `record` (a record read
// back from "unins.exe.dat"). Returns 0, or a negative value with
// "Ret.ErrorInfo" set when the install must stop. Does nothing yet.
int RemoveEarlierInstallation(InstallSession& session, const cc::KeyArr& record);

// File associations and services. Does nothing yet.
void CreateAssociationsAndServices(InstallSession& session);

// Registry values of the project. Does nothing yet.
void WriteRegistryItems(InstallSession& session);

// INI entries of the project. Does nothing yet.
void WriteIniItems(InstallSession& session);
