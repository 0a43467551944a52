// The language page's list: the display names of "s.c.Lang%d", which entry
// shows the language in force, and the licence label's Next-button
// placeholder.
#pragma once

#include <vector>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

// The display names of the language list (the text before the first "{",
// blanks trimmed), for n = 0, 1, ... while "s.c.Lang%d" is not empty.
std::vector<cc::Str> LanguageNames(const cc::KeyArr& config);

// The entry to select for the language `code`, by the same rule that chose
// the language at start-up (the first entry that names the code); when no
// entry names it, the entry of "s.c.DefaultLang", else the first entry.
// -1 when the list is empty.
int LanguageEntryFor(const cc::KeyArr& config, const cc::Str& code);

// `text` with every "[#NextButton#]" replaced by `nextCaption` (its "&"
// accelerator marks removed). Applied whenever the label gets its text
// from the configuration again: on arrival and after a language switch.
cc::Str ReplaceNextButton(const cc::Str& text, const cc::Str& nextCaption);

}  // namespace wizard
