// The steps of DoUninstall, one per kind of record entry, in the order the
// driver runs them. Each step sets the labels, moves the bar and writes its
// log lines as it goes; failures of single entries are silent unless noted.
#pragma once

#include "core/str.h"

struct UninstallRun;

// Services, last to first: stopped and deleted, then their program file
// deleted, tried again every 100 ms up to 100 times while it stays.
void RemoveServices(UninstallRun& run);
// Taskbar pins: unpinned, and their link in the pinned-taskbar folder
// deleted.
void RemovePins(UninstallRun& run);
// Installed files by removal mode: 0 removed (Abort/Retry/Ignore while the
// file stays), 2 shared (asked when the run asks), anything else kept.
// Returns kUninstallDone, kUninstallSharedCanceled or kUninstallAborted.
int RemoveFiles(UninstallRun& run);
// File associations of the application name.
void RemoveAssociations(UninstallRun& run);
// Registry values, last to first: overwritten with an empty string, deleted,
// and their key deleted when it has no subkeys left.
void RemoveRegistryValues(UninstallRun& run);
// INI keys, last to first.
void RemoveIniEntries(UninstallRun& run);
// Links (and the other files made for links and tiles).
void RemoveLinks(UninstallRun& run);
// The uninstaller files ("Log.Unins%d"), the installed-programs entry
// ("Log.UninsKey", only a "[Velmora]" key) and the record file itself
// ("Log.UninsData"): an installation that is gone leaves no entry that
// offers to remove it and no record that names what no longer exists.
void RemoveUninstaller(UninstallRun& run);
// Directories, last to first, in two passes; only empty ones go.
void RemoveDirectories(UninstallRun& run);
// The shell is told that associations changed and that the pinned-taskbar
// folder and the install folder changed.
void NotifyShell(UninstallRun& run);
