#include "wizard/close_decision.h"

#include <gtest/gtest.h>

#include <string>

#include "wizard/exit_code.h"

namespace {

using wizard::CloseState;

TEST(CloseDecisionTest, PageStateAndAnswer) {
  enum Answer { kNoQuestion, kYes, kNo };
  struct Case {
    const char* name;
    bool errorState;
    int page;
    const char16_t* flag;  // a result key set to true first, or null
    Answer answer;
    const char* asked;     // the question's text, "" when none may be asked
    bool closes, finishes, canceling;
  };
  const Case cases[] = {
      {"before any page", false, -1, nullptr, kNoQuestion, "", true, false, false},
      {"error state", true, 108, nullptr, kNoQuestion, "", true, false, false},
      {"finish page finishes", false, 113, nullptr, kNoQuestion, "", true, true, false},
      {"ordinary page yes", false, 108, nullptr, kYes, "Setup is not complete. Exit Setup?", true,
       false, false},
      {"ordinary page no", false, 111, nullptr, kNo, "Setup is not complete. Exit Setup?", false,
       false, false},
      {"installing yes", false, 112, nullptr, kYes, "Cancel installing?", false, false, true},
      {"installing no", false, 112, nullptr, kNo, "Cancel installing?", false, false, false},
      {"installing while canceling", false, 112, u"Ret.Canceling", kNoQuestion, "", false, false,
       true},
      {"installing canceled", false, 112, u"Ret.Canceled", kNoQuestion, "", true, false, false},
      {"installing ended", false, 112, u"Ret.CancelEnd", kYes,
       "Setup is not complete. Exit Setup?", true, false, false},
  };
  for (const Case& c : cases) {
    cc::KeyArr config{false, true};
    if (c.flag) config.SetBool(c.flag, true);
    std::string asked;
    std::string title;
    auto ask = [&](const cc::Str& t, const cc::Str& text) {
      title = t.ToUtf8();
      asked = text.ToUtf8();
      return c.answer == kYes;
    };
    CloseState state;
    state.errorState = c.errorState;
    state.currentPage = c.page;
    wizard::CloseOutcome outcome = wizard::DecideClose(config, state, ask);
    EXPECT_EQ(asked, c.asked) << c.name;
    if (!asked.empty()) {
      EXPECT_EQ(title, "Question") << c.name;
    }
    EXPECT_EQ(outcome.closes, c.closes) << c.name;
    EXPECT_EQ(outcome.finishes, c.finishes) << c.name;
    EXPECT_EQ(config.GetBool(u"Ret.Canceling", false), c.canceling) << c.name;
    EXPECT_EQ(outcome.cancelRequested, c.canceling && c.flag == nullptr) << c.name;
  }
}

TEST(CloseDecisionTest, QuestionsInTheCurrentLanguage) {
  cc::KeyArr config{false, true};
  config.Set(u"s.c.IniLang", u"de");
  config.Set(u"de.s.c.Var.QTitle", u"Frage");
  config.Set(u"de.s.i.Var.CancelInsing", u"Installation abbrechen?");
  std::string seen;
  auto ask = [&](const cc::Str& t, const cc::Str& text) {
    seen = t.ToUtf8() + "|" + text.ToUtf8();
    return false;
  };
  wizard::DecideClose(config, CloseState{false, 112}, ask);
  EXPECT_EQ(seen, "Frage|Installation abbrechen?");
}

TEST(ExitCodeTest, HowTheWizardEnded) {
  struct Case {
    const char* name;
    wizard::WizardEnd end;
    int code;
  };
  const Case cases[] = {
      {"ran to end", {true, false, false, true, false, false}, 0},
      {"no pages", {false, true, false, false, false, false}, wizard::kExitNoValidPage},
      {"invalid before install", {false, false, true, false, false, false},
       wizard::kExitNoValidPage},
      {"invalid after install", {false, false, true, true, false, false}, 0},
      {"install failed", {false, false, false, false, true, false}, wizard::kExitInstallFailed},
      {"canceled after files", {true, false, false, true, false, true}, wizard::kExitCanceled},
      {"user quit early", {false, false, false, false, false, false}, wizard::kExitCanceled},
  };
  for (const Case& c : cases) EXPECT_EQ(wizard::WizardExitCode(c.end), c.code) << c.name;
}

}  // namespace
