// The removal of an earlier installation when an install finds its record
// in the application folder. The install driver asks the question, reads
// the record once and checks that it names the very file it was found
// under; it then calls the remover that the session carries, which the
// uninstall engine provides here (the install library cannot call the
// uninstall library, which builds on it).
#pragma once

#include "core/key_arr.h"

struct InstallSession;

// DoUninstall of `record` with the shared-file question enabled, keeping
// the earlier uninstaller, entry and record: the new run's replace them
// only once written, so a re-install that fails or is canceled stays
// removable. Returns its result (0, or negative with "Ret.ErrorInfo" set).
int RemoveEarlierInstallationFromRecord(InstallSession& session, const cc::KeyArr& record);

// Makes RunInstall on `session` remove an earlier installation through
// RemoveEarlierInstallationFromRecord. Whoever builds a session for a real
// install (the installing page, the test driver) calls this.
void EnableEarlierInstallationRemoval(InstallSession& session);
