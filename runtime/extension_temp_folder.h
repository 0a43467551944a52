// A folder of the setup's own in the user's temporary folder, for a file
// that must not be swapped before it is used.
#pragma once

#include "core/str.h"

class Platform;

// Creates a new folder in the temporary folder whose name begins with the
// first three characters of `prefix`, named by the system's temporary-name
// service; a folder that exists already is never taken over. Returns its
// path with a trailing backslash; empty when none could be made. Needs
// platform.system and platform.files.
cc::Str MakeTempFolder(Platform& platform, const cc::Str& prefix);
