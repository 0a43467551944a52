// Removing the installation in a folder from the record it holds, as the
// project's own uninstaller would: the record "unins.exe.dat" read, checked
// to name itself, worked through by DoUninstall, and the application
// folder removed when nothing is left in it.
#pragma once

#include "core/str.h"

struct InstallSession;

// Results besides those of DoUninstall.
inline constexpr int kUninstallNoRecord = -1;       // missing or not a record
inline constexpr int kUninstallForeignRecord = -2;  // its "Log.UninsData" names another file

// Reads `folder` (a trailing "\\" is added when missing) + "unins.exe.dat"
// and, when its "Log.UninsData" equals that path (letter case included),
// sets "Ret.Location.Path" to the folder and runs DoUninstall with
// `askShared`; on success removes the folder itself when it is empty (never
// its contents). Returns DoUninstall's result, or kUninstallNoRecord /
// kUninstallForeignRecord with "Ret.ErrorInfo" naming the record, without
// removing anything.
int UninstallFolder(InstallSession& session, const cc::Str& folder, int askShared);
