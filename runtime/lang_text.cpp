#include "runtime/lang_text.h"

cc::Str LangKey(const cc::Str& langCode, const cc::Str& key) {
  cc::Str result = langCode;
  if (!key.StartsWith(u".")) result.Append(u'.');
  result.Append(key);
  return result;
}

cc::Str GetLangText(const cc::KeyArr& config, const cc::Str& langCode, const cc::Str& key) {
  return config.Get(LangKey(langCode, key));
}

cc::Str GetLangTextOr(const cc::KeyArr& config, const cc::Str& langCode, const cc::Str& key,
                      const cc::Str& fallback) {
  cc::Str text = GetLangText(config, langCode, key);
  return text.IsEmpty() ? fallback : text;
}

cc::Str CurrentLanguage(const cc::KeyArr& config) {
  cc::Str code = config.Get(u"s.c.IniLang");
  return code.IsNull() ? cc::Str(u"") : code;
}
