// The destination folder of the location page: the proposal, the check of
// a typed folder, what a pick in the folder browser makes of the text, and
// the results stored on Next.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

// Location page flags.
inline constexpr uint32_t kLocationAskAllUsers = 0x100000;
inline constexpr uint32_t kLocationShowSpace = 0x200000;
inline constexpr uint32_t kLocationAllUsersDefault = 0x400000;

enum class LocationError {
  kNone,
  kEmpty,       // message key base + ".editLocErrEpt"
  kFormat,      // not "X:\..." with a single colon: ".editLocErrFmt"
  kCharacters,  // a character no folder name may hold: ".editLocErrCht"
};

struct CheckedLocation {
  LocationError error = LocationError::kNone;
  cc::Str path;  // with the error kNone: the folder to store, ending in "\"
};

// The application suffix: ".s.c.Var.AppName", a blank,
// ".s.c.Var.AppVersion" and "\" in `langCode`.
cc::Str ApplicationSuffix(const cc::KeyArr& config, const cc::Str& langCode);

// "\" appended when missing, then `suffix` appended when the folder is a
// bare ":\Program Files\" or ":\Program Files (x86)\" (case-sensitive).
cc::Str CompleteFolder(const cc::Str& folder, const cc::Str& suffix);

// The folder proposed from "Ret.Dir.App".
cc::Str ProposedFolder(const cc::KeyArr& config, const cc::Str& suffix);

// Checks a typed folder: blanks trimmed, "/" read as "\", a drive letter
// with ":\" and no other colon, none of * ? | < > " or control characters.
CheckedLocation CheckLocation(const cc::Str& typed, const cc::Str& suffix);

// The text box after the folder browser closed with `picked`: a cancelled
// or too short pick keeps what is typed; otherwise the picked folder with
// "\" and, unless it already ends in it, the application suffix.
cc::Str TextAfterBrowse(const cc::Str& typed, const cc::Str& picked, const cc::Str& suffix);

// Stores "Ret.Location.Path" and, only when the page asked (flag
// kLocationAskAllUsers), "Ret.Location.AllUser"; a page that did not ask
// keeps start-up's answer.
void StoreLocation(cc::KeyArr& config, uint32_t pageFlags, const cc::Str& path, bool allUsers);

// The drive whose free space the page shows for the typed folder: its
// first three characters (after leading blanks) when it begins with a drive letter and ":\" (or
// ":/", returned with "\"); otherwise "C:\".
cc::Str SpaceRoot(const cc::Str& typed);

// Whether the space template names the required or the available space; a
// template without either is shown as it is and no drive is asked.
bool SpaceTemplateHasPlaceholders(const cc::Str& templ);

// The template with every "[#SpaceRequired#]" and "[#SpaceAvaliable#]"
// replaced by the two sizes, formatted as the components page does.
cc::Str SpaceText(const cc::Str& templ, int64_t requiredBytes, int64_t freeBytes);

}  // namespace wizard
