// The install step that the driver calls at its place but that does nothing
// yet: removing an earlier installation from its record. Its place in the
// driver is part of the behaviour, so the call is in place; the body arrives
// with its own step.
#pragma once

#include "core/key_arr.h"

struct InstallSession;

// Removes the earlier installation described by `record` (a record read
// back from "unins.exe.dat"). Returns 0, or a negative value with
// "Ret.ErrorInfo" set when the install must stop. Does nothing yet.
int RemoveEarlierInstallation(InstallSession& session, const cc::KeyArr& record);

