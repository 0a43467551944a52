// The program-menu folder of the start-menu folder page: the proposal, the
// name composed from a list entry, and the check of the name on Next.
#pragma once

#include <vector>

#include "core/key_arr.h"
#include "core/str.h"

class Platform;

namespace wizard {

inline constexpr uint32_t kMenuFolderShowSkip = 0x100000;

enum class MenuFolderError {
  kNone,
  kEmpty,       // ".editMenuErrEpt"
  kCharacters,  // ".editMenuErrCht"
};

struct CheckedMenuFolder {
  MenuFolderError error = MenuFolderError::kNone;
  cc::Str name;  // with kNone: the folder to store, parts joined by "\"
};

// "Ret.Menu.InitPath" without one trailing "\" or "/"; empty: the
// application name `appName`.
cc::Str ProposedMenuFolder(const cc::KeyArr& config, const cc::Str& appName);

// The text after the user picked list entry `entry`: the entry and "\"
// (nothing for the empty entry) in front of the typed name without its
// first folder ("Ret.Menu.InitPath" when nothing is left).
cc::Str ComposeMenuFolder(const cc::Str& entry, const cc::Str& typed, const cc::Str& initPath);

// Checks a typed name. Nested folders ("Vendor\App", "/" read as "\") are
// allowed; refused are an empty part, ".", "..", a colon (so a drive
// letter), * ? | < > ", control characters, parts ending in "." and the
// device names Windows reserves (CON, NUL, COM1, ...).
CheckedMenuFolder CheckMenuFolder(const cc::Str& typed);

// The program-menu folder the list shows: all users' (CSIDL_COMMON_PROGRAMS)
// or the current user's (CSIDL_PROGRAMS), ending in "\"; empty when the
// system has none.
cc::Str MenuFolderBase(Platform& platform, bool allUsers);

// The entries of the folder list: an empty text first, then the names of
// the folders directly in `base`, in the order the system gives them
// (files left out). Only the empty entry when `base` is empty or cannot be
// read.
std::vector<cc::Str> MenuFolderEntries(Platform& platform, const cc::Str& base);

// Stores "Ret.Menu.Path" and "Ret.Menu.Skip" (a skipped menu stores "").
void StoreMenuFolder(cc::KeyArr& config, bool skip, const cc::Str& name);

}  // namespace wizard
