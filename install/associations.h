// File associations: an extension made to open with a program, and undone
// again. Everything lives under HKEY_CLASSES_ROOT as default (unnamed)
// REG_SZ values; the program identifier is the application name followed by
// the extension ("Viewer" and ".abc" give "Viewer.abc"):
//
//   .abc                               -> Viewer.abc
//   Viewer.abc                         -> the description
//   Viewer.abc\DefaultIcon             -> program path + "," + icon index
//   Viewer.abc\shell\open\command      -> "\"" + program path + "\" \"%1\""
//
// An extension must be a dot followed by at least one character and hold no
// backslash: anything else would write into, and at uninstall delete,
// unrelated keys (an empty one would set the default value of
// HKEY_CLASSES_ROOT itself), so it is refused.
#pragma once

#include "core/str.h"

class Registry;

// True for an extension that may be associated (see above).
bool IsAssociableExtension(const cc::Str& extension);

// The program identifier of `extension` for `appName`.
cc::Str ProgramIdentifier(const cc::Str& appName, const cc::Str& extension);

// Writes the four keys above, each opened with full access and created when
// missing. Returns false without writing anything further when the
// extension is refused or its key or the program identifier's key can be
// neither opened nor created; false also when a later key or value could not
// be written (the rest is still written). True when everything was written.
bool Associate(Registry& registry, const cc::Str& extension, const cc::Str& program, int iconIndex,
               const cc::Str& description, const cc::Str& appName);

// Deletes HKEY_CLASSES_ROOT\extension, then, when the program identifier's
// key opens, its subkeys "DefaultIcon", "shell\\open\\command",
// "shell\\open" and "shell" in that order and the key itself. Returns false
// when the extension is refused or the program identifier's key does not
// open; true otherwise (whether or not every deletion succeeded).
bool RemoveAssociation(Registry& registry, const cc::Str& extension, const cc::Str& appName);
