#include "runtime/language.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Show(const cc::Str& text) { return text.IsNull() ? "(null)" : text.ToUtf8(); }

TEST(LanguageTest, ChoiceFromTheLocaleAndTheLanguageList) {
  struct Case {
    const char16_t* locale;
    const char16_t* lang[4];  // "s.c.Lang0".."s.c.Lang3"; null: absent
    const char16_t* defaultLang;
    const char* expected;
  };
  const Case cases[] = {
      {u"de-DE", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, u"en-US", "de-DE"},
      // The matched entry's own code is the language, whatever the locale's
      // letter case or length: texts are stored under that code.
      {u"DE-de", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, u"en-US", "de-DE"},
      {u"en", {u"Deutsch {de-DE:1031}", u"English {en-US:1033}", u"English {en-GB:2057}"}, u"de-DE", "en-US"},
      {u"de", {u"Deutsch {de-DE}"}, u"en-US", "de-DE"},
      {u"fr-FR", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, u"en-US", "en-US"},
      // A gap hides the later entries.
      {u"de-DE", {u"English {en-US:1033}", u"", u"Deutsch {de-DE:1031}"}, u"en-US", "en-US"},
      {u"de-DE", {u"English {en-US:1033}", nullptr, u"Deutsch {de-DE:1031}"}, u"en-US", "en-US"},
      // The needle also matches a code that merely begins with it.
      {u"en-US", {u"Pirate {en-USX:9999}"}, u"de-DE", "en-USX"},
      // The brace is part of the needle.
      {u"US", {u"English {en-US:1033}"}, u"de-DE", "de-DE"},
      // No match and no default: no language at all.
      {u"fr-FR", {u"English {en-US:1033}"}, nullptr, "(null)"},
      // An empty locale code matches nothing (every entry holds a "{").
      {u"", {u"English {en-US:1033}"}, u"de-DE", "de-DE"},
      {u"de-DE", {}, u"en-US", "en-US"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    cc::KeyArr store(false, true);
    for (int n = 0; n < 4; ++n) {
      if (c.lang[n]) store.Set(cc::Str::Formatted(u"s.c.Lang%d", n), c.lang[n]);
    }
    store.Set(u"s.c.DefaultLang", c.defaultLang);
    EXPECT_EQ(Show(ChooseLanguage(store, c.locale)), c.expected) << "case " << i;
  }
}

TEST(LanguageTest, StoringANullCodeRemovesTheCurrentLanguage) {
  cc::KeyArr store(false, true);
  StoreCurrentLanguage(store, u"en-US");
  EXPECT_EQ(Show(store.Get(u"s.c.IniLang")), "en-US");
  StoreCurrentLanguage(store, cc::Str());
  EXPECT_FALSE(store.Has(u"s.c.IniLang"));
}

TEST(LanguageTest, CodeOfAListEntry) {
  struct Case {
    const char16_t* entry;
    const char* code;
  };
  const Case cases[] = {
      {u"English {en-US:1033}", "en-US"},
      {u"English {en-US}", "en-US"},
      {u"English {en-US", "en-US"},
      {u"x:y {zh-CN:2052}", "zh-CN"},
      {u"English", ""},
      {nullptr, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    store.Set(u"s.c.Lang0", cases[i].entry);
    EXPECT_EQ(Show(LanguageCodeOfEntry(store, 0)), cases[i].code) << "case " << i;
  }
}

}  // namespace
