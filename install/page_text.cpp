#include "install/page_text.h"

cc::Str PageText(const cc::KeyArr& store, const cc::Str& key) {
  cc::Str qualified = store.Get(u"s.c.IniLang");
  if (!key.StartsWith(u".")) qualified += u".";
  qualified += key;
  cc::Str text = store.Get(qualified);
  return text.IsNull() ? cc::Str(u"") : text;
}

cc::Str ErrorText(const cc::KeyArr& store, const cc::Str& key, const cc::Str& detail) {
  return PageText(store, key) + cc::Str(u"\r\n\r\n") + detail;
}
