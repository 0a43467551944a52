// Settings the installation wrote for the application, removed: file
// associations, registry values and INI keys.
#pragma once

struct UninstallRun;

// File associations of the application name.
void RemoveAssociations(UninstallRun& run);
// Registry values, last to first: overwritten with an empty string, deleted,
// and their key deleted when it has no subkeys left.
void RemoveRegistryValues(UninstallRun& run);
// INI keys, last to first.
void RemoveIniEntries(UninstallRun& run);
