// DoUninstall: removes an earlier installation from its uninstall record
// ("unins.exe.dat", read back into a key store), never from the project's
// configuration. The kinds of entries go in a fixed order, each loop in its
// own direction: services (last to first), taskbar pins, files (with the
// shared-file and Abort/Retry/Ignore questions), file associations,
// registry values (last to first), INI keys (last to first), links, the
// uninstaller with its installed-programs entry and the record itself, the
// directories (last to first, twice, only empty ones), and last the shell
// notifications. The steps live in uninstall/remove_*.h, by what they remove.
//
// A record is input from disk and may be damaged: counts are limited to the
// number of keys the record holds, a file, link or directory is touched
// only when the record names it by a full path ("C:\\..." or
// "\\\\server\\..."), and a pin name must be a plain file name, so nothing
// that the record does not name is removed.
#pragma once

#include "core/key_arr.h"

struct InstallSession;

inline constexpr int kUninstallDone = 0;
inline constexpr int kUninstallSharedCanceled = -10;
inline constexpr int kUninstallAborted = -11;

// Works through every entry of `record` on session.platform, showing its
// progress there (status label, detail label, bar 0 to 100, message pumps)
// and asking through its prompts. With `askShared` non-zero a shared file
// (removal mode 2) is offered for removal; with zero it stays. A
// remove-all or keep-all answer holds for the later shared files of the
// same call. Returns kUninstallDone when every entry was worked through;
// kUninstallSharedCanceled when the shared-file question was cancelled and
// kUninstallAborted when Abort was chosen for a file that resisted
// deletion, both with "Ret.ErrorInfo" = page text ".s.c.Var.RemoveFileError"
// + "\r\n\r\n" + the file's path; what was removed before stays removed.
// Needs platform.files, system, progress and prompts (without one of them
// it returns kUninstallAborted with an error text and removes nothing); the
// registry, INI, service, process and shell services are used when present.
//
// With `traces` kKeep the uninstaller, its installed-programs entry and the
// record stay: a re-install removes the earlier installation this way, so
// that until its own record replaces the old one the machine can still be
// cleaned by the record that is there.
enum class UninstallerTraces { kRemove, kKeep };
int DoUninstall(InstallSession& session, int askShared, const cc::KeyArr& record,
                UninstallerTraces traces = UninstallerTraces::kRemove);
