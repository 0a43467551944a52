// Texts of the current language as the install engine reads them: the key
// gets a leading "." when it has none and is prefixed with the current
// language code ("s.c.IniLang"), so ".s.i.Var.CreateFolderError" reads
// "en-US.s.i.Var.CreateFolderError".
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

// The text, or an empty (never null) string when the language has none.
cc::Str PageText(const cc::KeyArr& store, const cc::Str& key);

// PageText(key) + "\r\n\r\n" + detail: the form of every error the install
// engine stores in "Ret.ErrorInfo".
cc::Str ErrorText(const cc::KeyArr& store, const cc::Str& key, const cc::Str& detail);
