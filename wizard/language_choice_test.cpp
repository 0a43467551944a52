#include "wizard/language_choice.h"

#include <gtest/gtest.h>

#include "runtime/language.h"

namespace {

cc::KeyArr ListOf(std::initializer_list<const char16_t*> entries) {
  cc::KeyArr config{false, true};
  int n = 0;
  for (const char16_t* entry : entries) config.Set(cc::Str::Formatted(u"s.c.Lang%d", n++), entry);
  return config;
}

TEST(LanguageChoiceTest, PageSelectsWhatStartupChose) {
  struct Case {
    const char* name;
    std::initializer_list<const char16_t*> entries;
    const char16_t* defaultLang;
    const char16_t* locale;
    int selected;
  };
  const Case cases[] = {
      {"exact", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, u"en-US", u"de-DE", 1},
      {"first of two matches", {u"Deutsch {de-DE:1}", u"Deutsch (Alt) {de-DE:2}"}, u"de-DE",
       u"de-DE", 0},
      {"case ignored", {u"English {en-US:1033}", u"Deutsch {DE-de:1031}"}, u"en-US", u"de-de", 1},
      {"unknown locale: default", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, u"de-DE",
       u"fr-FR", 1},
      {"no default: first", {u"English {en-US:1033}", u"Deutsch {de-DE:1031}"}, nullptr, u"fr-FR",
       0},
      {"entry without brace", {u"English", u"Deutsch {de-DE:1031}"}, u"de-DE", u"", 1},
  };
  for (const Case& c : cases) {
    cc::KeyArr config = ListOf(c.entries);
    if (c.defaultLang) config.Set(u"s.c.DefaultLang", c.defaultLang);
    // Start-up's choice is the code in force when the page fills its list.
    cc::Str code = ChooseLanguage(config, c.locale);
    EXPECT_EQ(wizard::LanguageEntryFor(config, code), c.selected) << c.name;
  }
}

TEST(LanguageChoiceTest, NamesAndEmptyList) {
  cc::KeyArr config = ListOf({u"  English {en-US:1033}", u"Plain  "});
  std::vector<cc::Str> names = wizard::LanguageNames(config);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].ToUtf8(), "English");
  EXPECT_EQ(names[1].ToUtf8(), "Plain");

  cc::KeyArr empty{false, true};
  EXPECT_TRUE(wizard::LanguageNames(empty).empty());
  EXPECT_EQ(wizard::LanguageEntryFor(empty, u"en-US"), -1);
}

TEST(LanguageChoiceTest, NextButtonPlaceholder) {
  struct Case {
    const char16_t* text;
    const char16_t* caption;
    const char* expected;
  };
  const Case cases[] = {
      {u"Click [#NextButton#] to agree.", u"&Next >", "Click Next > to agree."},
      {u"Klicken Sie auf [#NextButton#]; [#NextButton#]!", u"&Weiter >",
       "Klicken Sie auf Weiter >; Weiter >!"},
      {u"No placeholder", u"&Next >", "No placeholder"},
      {u"[#NextButton#]", u"Save && Go", "Save & Go"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wizard::ReplaceNextButton(c.text, c.caption).ToUtf8(), c.expected);
  }
}

}  // namespace
