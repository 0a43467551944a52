// RunInstall: performs the installation once the user has confirmed it, in
// a fixed order: the application folder; the removal of an earlier
// installation found there; the program-menu folder; the files; the log
// line of the Windows version; shortcuts, pins and tiles; associations and
// services; registry values; INI entries; the uninstaller with its
// installed-programs entry and link; and last the uninstall record, which
// every earlier step has appended its lines to.
#pragma once

struct InstallSession;

// The phase in which the installing page asks for the installation.
inline constexpr int kInstallPhase = 1;

// Any phase but kInstallPhase returns true at once and changes nothing.
// Otherwise runs the installation and returns true when it ran to its end
// (also when Cancel was confirmed after the file step: "Ret.Canceled" is
// then set), and false when it stopped, with the error for the error page in
// "Ret.ErrorInfo" (a text, or a language key reference beginning ".s."). A
// run that stopped writes no uninstaller, entry or record. Sets
// "Ret.CancelEnd" when it ran to its end. session.files_in_place tells
// whether a run that stopped got past its file step. Reports through
// session.platform.progress and asks through session.platform.prompts;
// without either it returns false with an error text.
bool RunInstall(InstallSession& session, int phase);
