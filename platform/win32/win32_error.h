// The system's own words for a Win32 error code.
#pragma once

#include <windows.h>

#include "core/str.h"

// The message the system has for `code` in the user's language, without the
// final line end; empty when the system has none.
cc::Str Win32ErrorText(DWORD code);
