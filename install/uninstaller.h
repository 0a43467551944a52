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
// it), writes it into the application folder and appends the record lines
// of what RegisterUninstaller will make: "Unins?=", "UninsKey=" when
// "s.c.u.UninsKey" is set, "Short?=" unless "Ret.Menu.Skip". Without an
// uninstaller in the payload nothing is done and the result is true. False,
// with "Ret.ErrorInfo" naming the file, when it cannot be written.
bool WriteUninstaller(InstallSession& session);

// Appends "UninsData=" and writes the record file into the application
// folder. False, with "Ret.ErrorInfo" naming the file, when it cannot be
// written.
bool WriteRecord(InstallSession& session);

// Once the uninstaller and its record exist: the entry under
// HKEY_LOCAL_MACHINE and the uninstall link in the start-menu folder, so
// that neither ever names an uninstaller that is not there. Does nothing
// when WriteUninstaller wrote no uninstaller. False, with "Ret.ErrorInfo"
// naming the key, when the entry cannot be written; a link that cannot be
// made is not an error.
bool RegisterUninstaller(InstallSession& session);
