// Whether a path names one place on the machine whatever the working folder
// and current drive are. The install writes, and the uninstall deletes,
// only through such paths.
#pragma once

#include "core/str.h"

// True for a full path: a drive letter, a colon and a separator, or a UNC
// path "\\\\server\\share...".
bool IsFullPath(const cc::Str& path);
