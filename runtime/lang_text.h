// Language-qualified configuration texts: the value of key K in language L
// is stored under L + "." + K (no second dot when K begins with one). The
// wizard's pages and its window frame both read their texts this way.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

// The key under which `key` is stored for `langCode`.
cc::Str LangKey(const cc::Str& langCode, const cc::Str& key);

// The value of `key` in `langCode`; missing: a null string.
cc::Str GetLangText(const cc::KeyArr& config, const cc::Str& langCode, const cc::Str& key);

// As GetLangText, but `fallback` when the value is missing or empty.
cc::Str GetLangTextOr(const cc::KeyArr& config, const cc::Str& langCode, const cc::Str& key,
                      const cc::Str& fallback);

// The language code in force ("s.c.IniLang").
cc::Str CurrentLanguage(const cc::KeyArr& config);
