// Whether a record found in the application folder may be acted on. The
// folder is often writable by every user while the setup runs elevated,
// and the record's key is no secret, so anyone could plant a record that
// names services, files and registry values to delete. Only administrators
// can write the installed-programs entry under HKEY_LOCAL_MACHINE: a record
// counts as an earlier installation only when that entry vouches for it.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

class Registry;

// True when `record` names `recordPath` as its own ("Log.UninsData"),
// names an installed-programs entry ("Log.UninsKey", the prefix and one key
// name) and that entry under HKEY_LOCAL_MACHINE exists with an
// "UninstallString" that is the uninstaller in `appFolder` (letter case
// ignored). Otherwise false with `*why` saying which test failed, for the
// setup log.
bool IsVouchedRecord(Registry& registry, const cc::KeyArr& record, const cc::Str& appFolder,
                     const cc::Str& recordPath, cc::Str* why);
