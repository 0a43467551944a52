#include "tests/harness/answer_script.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_prompts.h"

namespace {

TEST(AnswerScriptTest, AnswersAreQueuedPerKindInOrder) {
  FakePrompts prompts;
  std::string error;
  ASSERT_TRUE(LoadAnswerScript("# scripted\r\noverwrite=skip-all\n\n  confirm = cancel \n"
                               "overwrite=4\nfile-error=retry\nfile-error=abort\noverwrite=cancel",
                               &prompts, &error))
      << error;
  OverwriteQuestion question;
  EXPECT_EQ(prompts.AskOverwrite(question), kOverwriteSkipAll);
  EXPECT_EQ(prompts.AskOverwrite(question), kOverwriteReplaceOlder);
  EXPECT_EQ(prompts.AskOverwrite(question), kOverwriteCancel);
  EXPECT_EQ(prompts.AskOverwrite(question), kOverwriteReplace);  // the default once the script ends
  EXPECT_EQ(prompts.AskAbortRetryIgnore(u"", u""), FileErrorAnswer::kRetry);
  EXPECT_EQ(prompts.AskAbortRetryIgnore(u"", u""), FileErrorAnswer::kAbort);
  EXPECT_EQ(prompts.AskAbortRetryIgnore(u"", u""), FileErrorAnswer::kIgnore);
  EXPECT_EQ(prompts.AskOkCancel(u"", u""), ConfirmAnswer::kCancel);
  EXPECT_EQ(prompts.AskOkCancel(u"", u""), ConfirmAnswer::kOk);
}

TEST(AnswerScriptTest, SharedFileAnswers) {
  FakePrompts prompts;
  std::string error;
  ASSERT_TRUE(LoadAnswerScript("shared=remove\nshared=keep-all\nshared=cancel\nshared=remove-all\nshared=keep",
                               &prompts, &error))
      << error;
  OverwriteQuestion question;
  for (int expected : {kRemoveSharedRemove, kRemoveSharedKeepAll, kRemoveSharedCancel, kRemoveSharedRemoveAll,
                       kRemoveSharedKeep, kRemoveSharedKeep}) {
    EXPECT_EQ(prompts.AskRemoveShared(question), expected);
  }
}

TEST(AnswerScriptTest, BadLinesAreNamed) {
  struct Case {
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"overwrite=6", "line 1"},
      {"ok\n", "line 1"},
      {"confirm=ok\nconfirm=yes", "line 2"},
      {"\n\nfile-error=skip", "line 3"},
      {"overwrite=", "line 1"},
      {"answer=ok", "line 1"},
      {"shared=remove\nshared=skip", "line 2"},
  };
  for (const Case& c : cases) {
    FakePrompts prompts;
    std::string error;
    EXPECT_FALSE(LoadAnswerScript(c.text, &prompts, &error)) << c.text;
    EXPECT_NE(error.find(c.line), std::string::npos) << c.text << ": " << error;
  }
}

}  // namespace
