#include "install/overwrite_policy.h"

#include "platform/prompts.h"

OverwriteDecision DecideOverwrite(int mode, int remembered, int cmp) {
  // A "for all" answer only speaks for files that would otherwise ask.
  if (mode <= kOverwriteModeWhenNotOlder) {
    if (remembered == kOverwriteReplaceAll) return OverwriteDecision::kReplace;
    if (remembered == kOverwriteSkipAll) return OverwriteDecision::kKeep;
    if (remembered == kOverwriteReplaceOlder) {
      if (cmp >= 0) return OverwriteDecision::kReplace;
      mode = kOverwriteModeNever;
    }
  }
  if (mode == kOverwriteModeWhenNotOlder) {
    if (cmp >= 0) return OverwriteDecision::kReplace;
    mode = kOverwriteModeAsk;
  }
  if (mode <= kOverwriteModeAsk) return OverwriteDecision::kAsk;
  return mode == kOverwriteModeNever ? OverwriteDecision::kKeep : OverwriteDecision::kReplace;
}

OverwriteDecision ApplyOverwriteAnswer(int answer, int cmp) {
  switch (answer) {
    case kOverwriteReplace:
    case kOverwriteReplaceAll:
      return OverwriteDecision::kReplace;
    case kOverwriteSkip:
    case kOverwriteSkipAll:
      return OverwriteDecision::kKeep;
    case kOverwriteReplaceOlder:
      return cmp >= 0 ? OverwriteDecision::kReplace : OverwriteDecision::kKeep;
    default:
      // Negative answers cannot come from the dialog; treat them as cancel too.
      return OverwriteDecision::kCancel;
  }
}
