// Starting a program and waiting for it to end while the window stays
// responsive: the waits handle the window messages that arrive meanwhile
// (repaints, the close box), so a long-running program does not freeze the
// setup. Windows flavour only.
#pragma once

#include <windows.h>

#include "core/str.h"

namespace wizard {

// Handles the window messages that are waiting, then returns; false when
// a quit message was met (it is posted again for the main loop).
bool PumpWindowMessages();

// Waits until `handle` is signalled, handling window messages meanwhile.
// Returns true when it was signalled; false when the wait failed or the
// message loop was asked to end (the wait stops then).
bool WaitResponsive(HANDLE handle);

// ShellExecuteExW("open", `file`, no parameters, `show`) and, when that
// started a process, WaitResponsive on it. False when nothing started.
bool OpenAndWait(HWND owner, const cc::Str& file, int show);

// CreateProcessW of `commandLine` with its window hidden, then
// WaitResponsive on it. False when the process could not be started.
bool RunHiddenAndWait(const cc::Str& commandLine);

}  // namespace wizard
