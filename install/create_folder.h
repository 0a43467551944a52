// Folder creation with recording, used by the driver and the install steps.
#pragma once

#include "core/str.h"

struct InstallSession;

// With `record`, appends "Dir?=" + `path` to the record text (also when the
// folder exists already). A missing folder is announced with the status
// line "Create folder:" + path and created with its missing parents, the
// outermost first; only `path` itself is recorded. Returns whether the
// folder exists afterwards.
bool CreateFolder(InstallSession& session, const cc::Str& path, bool record);

// CreateFolder with `record` for a folder whose every level below an
// existing one was named by the project or the user (the program-menu
// folder "Vendor\App"): each missing parent is recorded too, before
// `path`, so that the uninstall removes it once it is empty instead of
// leaving an empty "Vendor" behind. Returns whether the folder exists
// afterwards.
bool CreateFolderRecordingParents(InstallSession& session, const cc::Str& path);
