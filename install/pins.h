// Taskbar pins. The shell pins a link when its "pin to taskbar" verb runs
// and does so asynchronously: the pin shows as a copy of the link in the
// user's pinned-taskbar folder some time later, so every step polls for
// that file, pumping window messages between 100 ms waits. The uninstall
// driver removes pins with UnpinFromTaskbar.
#pragma once

#include "core/str.h"
#include "install/shortcut_link.h"

class Platform;
class SetupLog;
struct InstallSession;

// The user's pinned-taskbar folder: the application-data folder +
// "Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\".
// Empty when the system has no application-data folder.
cc::Str PinnedTaskbarFolder(Platform& platform);

// Runs the shell's verb "pin to taskbar" (`pin`) or "unpin from taskbar"
// on the file `path`, found by the name the shell's own string table gives
// it. Returns 1 when the verb was offered and ran, else 0 (no such string,
// an unreachable item, a verb the shell does not offer).
int PinToTaskbar(Platform& platform, SetupLog& log, const cc::Str& path, bool pin);

// Takes the pin `pinName` (pinned link `pinnedLink`) of `target` (a file
// path or a URL) off the taskbar: through the pinned link's own verb, else
// through a temporary link to the target, else (with `removing`) by the
// shell's "taskbarunpin" command, else through the target itself. Sends the
// shell's change notifications when anything was done. Waits at most about
// 20 seconds in all.
void UnpinFromTaskbar(Platform& platform, SetupLog& log, const cc::Str& target, const cc::Str& pinnedLink,
                      const cc::Str& pinName, bool removing);

// The pin procedure of the shortcut step: pins `linkPath` (a link in the
// temporary folder named `linkName`, made with `fields`) whose target is
// `target` (a file or a URL), replacing an earlier pin of that name, and
// appends "Pin?=" and "PinPath?=" to the record whether or not the pin
// appeared. Removing the earlier pin goes through a temporary link of the
// same name, which takes `linkPath` with it; the link is then made again.
void PinShortcut(InstallSession& session, const cc::Str& linkPath, const cc::Str& linkName,
                 const cc::Str& target, const LinkFields& fields);
