#include "platform/fake/fake_prompts.h"

namespace {

template <typename T>
T TakeOr(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

int FakePrompts::AskOverwrite(const OverwriteQuestion& question) {
  asked_.push_back({Kind::kOverwrite, question.message, question.caption, question.target});
  last_overwrite_ = question;
  return TakeOr(overwrite_, kOverwriteReplace);
}

FileErrorAnswer FakePrompts::AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) {
  asked_.push_back({Kind::kAbortRetryIgnore, text, caption, cc::Str()});
  return TakeOr(file_error_, FileErrorAnswer::kIgnore);
}

ConfirmAnswer FakePrompts::AskOkCancel(const cc::Str& text, const cc::Str& caption) {
  asked_.push_back({Kind::kOkCancel, text, caption, cc::Str()});
  return TakeOr(confirm_, ConfirmAnswer::kOk);
}

int FakePrompts::AskRemoveShared(const OverwriteQuestion& question) {
  asked_.push_back({Kind::kRemoveShared, question.message, question.caption, question.target});
  last_remove_shared_ = question;
  return TakeOr(remove_shared_, kRemoveSharedKeep);
}

int FakePrompts::CountOf(Kind kind) const {
  int count = 0;
  for (const Asked& asked : asked_) count += asked.kind == kind ? 1 : 0;
  return count;
}
