// The last two steps of an install run: the uninstaller "unins.exe" with
// its entry in the list of installed programs and its link in the
// program-menu folder, then the uninstall record "unins.exe.dat".
#pragma once

struct InstallSession;

// The key of the installed-programs entry is this prefix followed by
// "[Velmora]" and the project's "s.c.u.UninsKey".
inline constexpr char16_t kUninstallKeyParent[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr char16_t kUninstallKeyPrefix[] = u"[Velmora]";

// Takes "unins.exe" from the payload (or from disk when the payload lacks
// it) and writes it into the application folder ("Unins?="), makes the
// entry under HKEY_LOCAL_MACHINE when "s.c.u.UninsKey" is set and the key
// can be opened ("UninsKey="), and the uninstall link in the start-menu
// folder unless "Ret.Menu.Skip" ("Short?="). Without an uninstaller in the
// payload nothing of this is done. Failures are not reported: the install
// goes on.
void WriteUninstaller(InstallSession& session);

// Appends "UninsData=" and writes the record file into the application
// folder. Returns whether the file was written (the driver does not stop
// on false).
bool WriteRecord(InstallSession& session);
