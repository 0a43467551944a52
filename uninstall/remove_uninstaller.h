// The uninstaller's own traces, removed last of what the record names.
#pragma once

struct UninstallRun;

// The uninstaller files ("Log.Unins%d"), the installed-programs entry
// ("Log.UninsKey", only a "[Velmora]" key) and the record file itself
// ("Log.UninsData"): an installation that is gone leaves no entry that
// offers to remove it and no record that names what no longer exists.
void RemoveUninstaller(UninstallRun& run);
