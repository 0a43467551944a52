// The system questions every caller asks the same way: locale code, special
// folders, environment, the program's path, temporary files, disk space.
// Folder paths returned here end with a backslash.
#pragma once

#include <cstdint>

#include "core/str.h"

class SystemInfo;

// The ISO 639 language name of the user's default locale ("en"); with
// `withCountry`, followed by "-" and the ISO 3166 country name when the
// system has one ("en-US"). Empty when the system has no language name.
cc::Str GetUserLocaleCode(SystemInfo& system, bool withCountry);

// The shell's path of the special folder `csidl` (not created), else
// `fallback`; a backslash is appended to a non-empty result that lacks one.
// Empty when the shell has none and `fallback` is empty or null.
cc::Str GetSpecialFolder(SystemInfo& system, int csidl, const cc::Str& fallback = cc::Str());

// The environment variable unchanged (no separator appended); empty (not
// null) when it is not set.
cc::Str GetEnv(SystemInfo& system, const cc::Str& name);

// The full path of the program file; with `folderOnly` the text up to and
// including its last backslash. Empty when the system cannot tell.
cc::Str GetModulePath(SystemInfo& system, bool folderOnly);

// `path` unchanged when it begins with "\\" or "/" or has ":" as its second
// character; otherwise the program's folder followed by `path`.
cc::Str MakeAbsolute(SystemInfo& system, const cc::Str& path);

// The user's temporary folder with a trailing backslash; empty when unknown.
cc::Str GetTempFolder(SystemInfo& system);

// The Windows folder with a trailing backslash; empty when unknown.
cc::Str GetWindowsFolder(SystemInfo& system);

// Creates a new, empty, uniquely named file in the temporary folder through
// the system's temporary-name service (which uses at most the first three
// characters of `prefix`) and returns its path; empty on failure.
cc::Str MakeTempFile(SystemInfo& system, const cc::Str& prefix);

// The size and the total free space (not the caller's quota) of the volume
// holding `path`, as decimal text: in bytes with `inBytes`, else in whole
// mebibytes. False (outputs untouched) when the system cannot tell.
bool GetDiskSpace(SystemInfo& system, const cc::Str& path, bool inBytes, cc::Str* total,
                  cc::Str* free);
