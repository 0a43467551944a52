// Directory macros such as "<ProgramFilesDir(32bit)>" and "<DynamicDir3>":
// a project's target paths begin with one, and it is resolved on the target
// machine, with fallbacks for systems whose shell cannot name the folder.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

class Platform;

// The folder that macro `name` names (the whole text with its angle
// brackets, compared exactly), always ending with "\\". Never fails: every
// static macro has a last fallback, and a name outside the table, an empty
// "<Application Folder>" and a dynamic directory without a source all give
// "\\". A dynamic directory "<DynamicDir" + digit + ">" is resolved from
// the registry, the environment or another macro ("s.i.Dyn%d.*") once and
// then answered from "Ret.Dir.Dyn%d" in `store`. Needs platform.system
// and, for dynamic directories, platform.registry.
cc::Str ExpandDirMacro(const cc::Str& name, cc::KeyArr& store, Platform& platform);

// `path` whose first component is a macro ("<TempDir>\\a.txt"): the macro
// up to the first "\\" resolved, followed by the rest after that "\\".
// Empty (not null) when `path` has no "\\".
cc::Str ExpandMacroPath(const cc::Str& path, cc::KeyArr& store, Platform& platform);

// The fourteen macros the setup log lists at start-up, in their order.
inline constexpr int kLoggedMacroCount = 14;
extern const char16_t* const kLoggedMacros[kLoggedMacroCount];
