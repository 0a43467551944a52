#include "wizard/install_outcome.h"

#include <gtest/gtest.h>

namespace {

using wizard::InstallOutcome;

TEST(InstallOutcomeTest, ResultAndCancelKeys) {
  struct Case {
    const char* name;
    bool ran;
    const char16_t* flag;  // a result set to true, or null
    InstallOutcome expected;
  };
  const Case cases[] = {
      {"ran", true, nullptr, InstallOutcome::kSucceeded},
      {"failed", false, nullptr, InstallOutcome::kFailed},
      {"canceled in the copy", false, u"Ret.Canceling", InstallOutcome::kCanceledInFiles},
      {"canceled and stopped", false, u"Ret.Canceled", InstallOutcome::kCanceledInFiles},
      {"canceled after the files", true, u"Ret.Canceled", InstallOutcome::kCanceledLate},
      {"canceled at the last step", true, u"Ret.Canceling", InstallOutcome::kCanceledLate},
  };
  for (const Case& c : cases) {
    cc::KeyArr config(false, true);
    if (c.flag) config.SetBool(c.flag, true);
    EXPECT_EQ(wizard::ClassifyInstall(c.ran, config), c.expected) << c.name;
  }
}

TEST(InstallOutcomeTest, CanceledTextsComeFromTheLanguageWithAnEnglishFallback) {
  struct Case {
    const char* name;
    const char16_t* lang;
    const char16_t* error;  // "Ret.ErrorInfo" before, or null
    const char16_t* expected;
  };
  const Case cases[] = {
      {"German text", u"de-DE", nullptr, u"Installation abgebrochen."},
      {"no text in the language", u"fr-FR", nullptr, wizard::kCanceledInFilesText},
      {"an empty error is no error", u"de-DE", u"", u"Installation abgebrochen."},
      {"a real error stays", u"de-DE", u"Cannot write the file:", u"Cannot write the file:"},
  };
  for (const Case& c : cases) {
    cc::KeyArr config(false, true);
    config.Set(u"s.c.IniLang", c.lang);
    config.Set(u"de-DE.s.i.Var.InsingCanceled", u"Installation abgebrochen.");
    if (c.error) config.Set(u"Ret.ErrorInfo", c.error);
    wizard::StoreCanceledError(config);
    EXPECT_EQ(config.Get(u"Ret.ErrorInfo"), cc::Str(c.expected)) << c.name;
  }
  cc::KeyArr config(false, true);
  config.Set(u"de-DE.s.i.Var.InsingCanceledLate", u"Spät abgebrochen.");
  EXPECT_EQ(wizard::CanceledLateText(config, u"de-DE"), cc::Str(u"Spät abgebrochen."));
  EXPECT_EQ(wizard::CanceledLateText(config, u"en-US"), cc::Str(wizard::kCanceledLateText));
}

}  // namespace
