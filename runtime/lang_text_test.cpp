#include "runtime/lang_text.h"

#include <gtest/gtest.h>

namespace {

TEST(LangTextTest, ALanguageTextIsStoredUnderTheLanguageCode) {
  cc::KeyArr config(false, true);
  config.Set(u"en-US.s.c.FTitle", u"Demo Setup");
  config.Set(u"en-US.Empty", u"");
  config.Set(u"de-DE.s.c.FTitle", u"Demo-Installation");
  config.Set(u".s.c.FTitle", u"without a language");
  struct Case {
    const char16_t* lang;
    const char16_t* key;
    const char16_t* stored_under;
    const char16_t* text;  // nullptr: missing
    const char16_t* or_text;  // with the fallback "fallback"
  };
  const Case cases[] = {
      {u"en-US", u".s.c.FTitle", u"en-US.s.c.FTitle", u"Demo Setup", u"Demo Setup"},  // no second dot
      {u"de-DE", u"s.c.FTitle", u"de-DE.s.c.FTitle", u"Demo-Installation", u"Demo-Installation"},
      {u"fr-FR", u".s.c.FTitle", u"fr-FR.s.c.FTitle", nullptr, u"fallback"},
      {u"en-US", u"Empty", u"en-US.Empty", u"", u"fallback"},  // empty counts as missing for the fallback
      {u"", u".s.c.FTitle", u".s.c.FTitle", u"without a language", u"without a language"},
      {u"en-US", u"", u"en-US.", nullptr, u"fallback"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(LangKey(c.lang, c.key).ToUtf8(), cc::Str(c.stored_under).ToUtf8()) << "case " << i;
    const cc::Str text = GetLangText(config, c.lang, c.key);
    EXPECT_EQ(text.IsNull(), c.text == nullptr) << "case " << i;
    if (c.text != nullptr) EXPECT_EQ(text.ToUtf8(), cc::Str(c.text).ToUtf8()) << "case " << i;
    EXPECT_EQ(GetLangTextOr(config, c.lang, c.key, u"fallback").ToUtf8(), cc::Str(c.or_text).ToUtf8())
        << "case " << i;
  }
}

TEST(LangTextTest, TheCurrentLanguageIsEmptyWhenNoneIsChosen) {
  cc::KeyArr config(false, true);
  EXPECT_TRUE(CurrentLanguage(config).IsEmpty());
  EXPECT_FALSE(CurrentLanguage(config).IsNull());
  config.Set(u"s.c.IniLang", u"de-DE");
  EXPECT_EQ(CurrentLanguage(config).ToUtf8(), "de-DE");
}

}  // namespace
