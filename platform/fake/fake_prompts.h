// Scripted answers for every question of prompts.h, and a record of the
// questions asked. Each kind of question takes its answers from its own
// queue, in order; when the queue is empty the default answer applies
// (overwrite, Ignore, OK, keep the shared file). Used by the native tests and by the test driver.
#pragma once

#include <deque>
#include <vector>

#include "platform/prompts.h"

class FakePrompts : public Prompts {
 public:
  enum class Kind { kOverwrite, kAbortRetryIgnore, kOkCancel, kRemoveShared };
  struct Asked {
    Kind kind;
    cc::Str text;     // the message (for the overwrite question: its message)
    cc::Str caption;
    cc::Str target;   // overwrite and shared-file questions only
  };

  int AskOverwrite(const OverwriteQuestion& question) override;
  FileErrorAnswer AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) override;
  ConfirmAnswer AskOkCancel(const cc::Str& text, const cc::Str& caption) override;
  int AskRemoveShared(const OverwriteQuestion& question) override;

  void QueueOverwrite(int answer) { overwrite_.push_back(answer); }
  void QueueFileError(FileErrorAnswer answer) { file_error_.push_back(answer); }
  void QueueConfirm(ConfirmAnswer answer) { confirm_.push_back(answer); }
  void QueueRemoveShared(int answer) { remove_shared_.push_back(answer); }

  // Every question in the order asked, and the last overwrite and
  // shared-file questions whole.
  const std::vector<Asked>& Questions() const { return asked_; }
  const OverwriteQuestion& LastOverwrite() const { return last_overwrite_; }
  const OverwriteQuestion& LastRemoveShared() const { return last_remove_shared_; }
  int CountOf(Kind kind) const;

 private:
  std::deque<int> overwrite_;
  std::deque<FileErrorAnswer> file_error_;
  std::deque<ConfirmAnswer> confirm_;
  std::deque<int> remove_shared_;
  std::vector<Asked> asked_;
  OverwriteQuestion last_overwrite_;
  OverwriteQuestion last_remove_shared_;
};
