#include "install/overwrite_policy.h"

#include <gtest/gtest.h>

#include "platform/prompts.h"

namespace {

using D = OverwriteDecision;

// The final outcome of one existing file: the decision without a question,
// and when a question is needed, the answer applied.
struct Outcome {
  bool asked;
  D decision;
};

Outcome Decide(int mode, int remembered, int cmp, int answer) {
  D first = DecideOverwrite(mode, remembered, cmp);
  if (first != D::kAsk) return {false, first};
  return {true, ApplyOverwriteAnswer(answer, cmp)};
}

TEST(OverwritePolicyTest, ModeRememberedAnswerAgeAndDialogAnswer) {
  constexpr int kOlder = -1, kEqual = 0, kNewer = 1;
  struct Case {
    int mode, remembered, cmp, answer;
    bool asked;
    D expected;
  };
  const Case cases[] = {
      // Mode 0 asks unless a "for all" answer speaks.
      {0, 0, kNewer, kOverwriteReplace, true, D::kReplace},
      {0, 0, kNewer, kOverwriteSkip, true, D::kKeep},
      {0, 0, kNewer, kOverwriteSkipAll, true, D::kKeep},
      {0, 0, kNewer, kOverwriteReplaceAll, true, D::kReplace},
      {0, 0, kOlder, kOverwriteReplaceOlder, true, D::kKeep},
      {0, 0, kEqual, kOverwriteReplaceOlder, true, D::kReplace},
      {0, 0, kNewer, kOverwriteCancel, true, D::kCancel},
      {0, 0, kNewer, 9, true, D::kCancel},
      {0, kOverwriteReplace, kNewer, kOverwriteSkip, true, D::kKeep},  // single answers are not remembered
      {0, kOverwriteSkip, kNewer, kOverwriteReplace, true, D::kReplace},
      {0, kOverwriteReplaceAll, kOlder, kOverwriteCancel, false, D::kReplace},
      {0, kOverwriteSkipAll, kNewer, kOverwriteCancel, false, D::kKeep},
      {0, kOverwriteReplaceOlder, kNewer, kOverwriteCancel, false, D::kReplace},
      {0, kOverwriteReplaceOlder, kOlder, kOverwriteCancel, false, D::kKeep},
      {-3, 0, kNewer, kOverwriteSkip, true, D::kKeep},
      // Mode 1 replaces a file that is not newer than the item, else asks.
      {1, 0, kNewer, kOverwriteCancel, false, D::kReplace},
      {1, 0, kEqual, kOverwriteCancel, false, D::kReplace},
      {1, 0, kOlder, kOverwriteSkip, true, D::kKeep},
      {1, 0, kOlder, kOverwriteReplace, true, D::kReplace},
      {1, kOverwriteSkipAll, kNewer, kOverwriteCancel, false, D::kKeep},
      {1, kOverwriteReplaceAll, kOlder, kOverwriteCancel, false, D::kReplace},
      {1, kOverwriteReplaceOlder, kOlder, kOverwriteReplace, false, D::kKeep},
      // Modes 2 and 3 never ask and ignore every remembered answer.
      {2, kOverwriteSkipAll, kOlder, kOverwriteCancel, false, D::kReplace},
      {2, 0, kOlder, kOverwriteCancel, false, D::kReplace},
      {3, kOverwriteReplaceAll, kNewer, kOverwriteCancel, false, D::kKeep},
      {3, 0, kNewer, kOverwriteCancel, false, D::kKeep},
      {7, kOverwriteSkipAll, kOlder, kOverwriteCancel, false, D::kReplace},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Outcome outcome = Decide(c.mode, c.remembered, c.cmp, c.answer);
    EXPECT_EQ(outcome.asked, c.asked) << "case " << i;
    EXPECT_EQ(outcome.decision, c.expected) << "case " << i;
  }
}

}  // namespace
