// Folder creation with recording, used by the driver and the install steps.
#pragma once

#include "core/str.h"

struct InstallSession;

// With `record`, appends "Dir?=" + `path` to the record text (also when the
// folder exists already), preceded by a "Dir?=" line for each of its
// missing parent folders, the outermost first: the uninstall removes them
// once they are empty instead of leaving an empty folder behind. A missing
// folder is announced with the status line "Create folder:" + path and
// created with its missing parents, the outermost first. Returns whether
// the folder exists afterwards.
bool CreateFolder(InstallSession& session, const cc::Str& path, bool record);
