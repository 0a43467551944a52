// Installed files and directories of the record, removed.
#pragma once

struct UninstallRun;

// Installed files by removal mode: 0 removed (Abort/Retry/Ignore while the
// file stays), 2 shared (asked when the run asks), anything else kept.
// Returns kUninstallDone, kUninstallSharedCanceled or kUninstallAborted.
int RemoveFiles(UninstallRun& run);
// Directories, last to first, in two passes; only empty ones go.
void RemoveDirectories(UninstallRun& run);
