// The shortcut step of the install (first pass over the shortcut items
// "s.i.Short.%d.*"): for each item that applies to this system and whose
// target exists, a link in each chosen place — program menu, desktop, start
// menu, startup, Send To, quick launch — a taskbar pin and a start-screen
// tile, each recorded for the uninstall.
#pragma once

#include "core/str.h"

struct InstallSession;

// The places, numbered as the flag bits and the "Ret.Shortcut.chkShort%d_%d"
// results number them.
enum ShortcutPlace : int {
  kPlaceMenu = 0,
  kPlaceDesktop = 1,
  kPlaceStartMenu = 2,
  kPlaceStartup = 3,
  kPlaceSendTo = 4,
  kPlaceQuickLaunch = 5,
  kPlaceTaskbar = 6,
  kPlaceStartScreen = 7,
};

// Makes the links, pins and tiles of every shortcut item. Returns false,
// with "Ret.ErrorInfo" set, only when the program-menu folder of a link
// cannot be created; every other failure skips the place (with a status or
// log line) and the step goes on.
bool CreateShortcutsAndPins(InstallSession& session);

// The start-screen folder of the application: the local application-data
// folder + "Microsoft\\Windows\\Application Shortcuts\\Quorvane" + `appName`
// + "\\". Empty when the system has no local application-data folder.
cc::Str StartScreenFolder(InstallSession& session);
