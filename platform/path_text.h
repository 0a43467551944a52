// Path text rules shared by every caller: folder paths end with a separator.
#pragma once

#include "core/str.h"

// `path` followed by a backslash unless it already ends in "\" or "/".
// An empty path stays empty: "no folder" must not turn into "\", the root
// of the current drive, where a caller would then create or delete files.
cc::Str WithTrailingBackslash(cc::Str path);
