// What the installation put before the user through the shell: taskbar pins
// and links, removed, and the shell told of the change.
#pragma once

struct UninstallRun;

// Taskbar pins: unpinned, and their link in the pinned-taskbar folder
// deleted.
void RemovePins(UninstallRun& run);
// Links (and the other files made for links and tiles).
void RemoveLinks(UninstallRun& run);
// The shell is told that associations changed and that the pinned-taskbar
// folder and the install folder changed.
void NotifyShell(UninstallRun& run);
