#include "runtime/language.h"

namespace {

cc::Str LanguageEntry(const cc::KeyArr& store, int index) {
  return store.Get(cc::Str::Formatted(u"s.c.Lang%d", index));
}

}  // namespace

cc::Str ChooseLanguage(const cc::KeyArr& store, const cc::Str& localeCode) {
  // Without a locale code the needle would be a bare "{", which every entry
  // contains, and the setup would run with an empty language code.
  if (!localeCode.IsEmpty()) {
    cc::Str needle = cc::Str(u"{") + localeCode;
    for (int n = 0;; ++n) {
      cc::Str entry = LanguageEntry(store, n);
      if (entry.IsEmpty()) break;
      if (entry.IndexOf(needle, 0, true) < 0) continue;
      // A locale without a country part ("en") matches "{en-US:"; the texts
      // are stored under the entry's full code, so that code is the one.
      cc::Str code = LanguageCodeOfEntry(store, n);
      return code.IsEmpty() ? localeCode : code;
    }
  }
  return store.Get(u"s.c.DefaultLang");
}

void StoreCurrentLanguage(cc::KeyArr& store, const cc::Str& code) { store.Set(u"s.c.IniLang", code); }

cc::Str LanguageCodeOfEntry(const cc::KeyArr& store, int index) {
  cc::Str entry = LanguageEntry(store, index);
  int open = entry.IndexOf(u'{');
  if (open < 0) return cc::Str(u"");
  int end = entry.IndexOf(u':', open + 1);
  if (end < 0) end = entry.IndexOf(u'}', open + 1);
  return end < 0 ? entry.Substring(open + 1) : entry.Substring(open + 1, end);
}
