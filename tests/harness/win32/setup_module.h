// Opens a packed setup program as data, so that its resources (the payload
// "BIN"/2) can be read without running it.
#pragma once

#include "core/str.h"

// An HMODULE of `path` loaded with LOAD_LIBRARY_AS_DATAFILE, or null when
// the file cannot be loaded. Released when the process ends.
void* LoadModuleAsData(const cc::Str& path);
