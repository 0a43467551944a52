// The choice of the setup's language at start-up: the user's locale code is
// looked for in the project's language list ("s.c.Lang%d", entries such as
// "English {en-US:1033}"), else the project's default language applies.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

// The language code for a user whose locale code is `localeCode` ("en-US"):
// the code of the first "s.c.Lang%d" value (read for n = 0, 1, ... up to
// the first empty one) that contains "{" + `localeCode` ignoring letter
// case, as LanguageCodeOfEntry gives it (so "en" chooses "en-US" from
// "English {en-US:1033}"); otherwise the value of "s.c.DefaultLang", null when that is
// missing. An empty `localeCode` matches no entry.
cc::Str ChooseLanguage(const cc::KeyArr& store, const cc::Str& localeCode);

// Stores `code` as the current language "s.c.IniLang" (a null code removes
// the key, so language texts then read as empty).
void StoreCurrentLanguage(cc::KeyArr& store, const cc::Str& code);

// The code of language list entry `index`: the text of "s.c.Lang%d" between
// the first "{" and the next ":" after it (without a ":", up to the next
// "}" or the end).
// Empty when the entry is missing or has no "{".
cc::Str LanguageCodeOfEntry(const cc::KeyArr& store, int index);
