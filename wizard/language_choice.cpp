#include "wizard/language_choice.h"

#include "runtime/language.h"

namespace wizard {

namespace {

cc::Str Entry(const cc::KeyArr& config, int index) {
  return config.Get(cc::Str::Formatted(u"s.c.Lang%d", index));
}

bool HasEntry(const cc::KeyArr& config, int index) {
  cc::Str value = Entry(config, index);
  return !value.IsNull() && !value.IsEmpty();
}

// Whether entry `index` names `code` under start-up's rule: that rule is
// asked about a list holding only this entry and no default.
bool EntryNames(const cc::KeyArr& config, int index, const cc::Str& code) {
  cc::KeyArr single{false, true};
  single.Set(u"s.c.Lang0", Entry(config, index));
  return !ChooseLanguage(single, code).IsNull();
}

int FirstEntryNaming(const cc::KeyArr& config, const cc::Str& code) {
  if (code.IsNull() || code.IsEmpty()) return -1;
  for (int n = 0; HasEntry(config, n); ++n) {
    if (EntryNames(config, n, code)) return n;
  }
  return -1;
}

}  // namespace

std::vector<cc::Str> LanguageNames(const cc::KeyArr& config) {
  std::vector<cc::Str> names;
  for (int n = 0; HasEntry(config, n); ++n) {
    cc::Str value = Entry(config, n);
    int brace = value.IndexOf(u'{');
    cc::Str name = brace >= 0 ? value.Substring(0, brace) : value;
    name.Trim();
    names.push_back(name);
  }
  return names;
}

int LanguageEntryFor(const cc::KeyArr& config, const cc::Str& code) {
  if (!HasEntry(config, 0)) return -1;
  int index = FirstEntryNaming(config, code);
  if (index < 0) index = FirstEntryNaming(config, config.Get(u"s.c.DefaultLang"));
  return index < 0 ? 0 : index;
}

cc::Str ReplaceNextButton(const cc::Str& text, const cc::Str& nextCaption) {
  cc::Str caption = nextCaption.IsNull() ? cc::Str(u"") : nextCaption;
  caption.Replace(u"&&", u"\x1");
  caption.Replace(u"&", u"");
  caption.Replace(u"\x1", u"&");
  cc::Str result = text;
  result.Replace(u"[#NextButton#]", caption);
  return result;
}

}  // namespace wizard
