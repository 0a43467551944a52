// Scripted answers for every question of prompts.h, and a record of the
// questions asked. Each kind of question takes its answers from its own
// queue, in order; when the queue is empty the default answer applies
// (overwrite, Ignore, OK). Used by the native tests and by the test driver.
#pragma once

#include <deque>
#include <vector>

#include "platform/prompts.h"

class FakePrompts : public Prompts {
 public:
  enum class Kind { kOverwrite, kAbortRetryIgnore, kOkCancel };
  struct Asked {
    Kind kind;
    cc::Str text;     // the message (for the overwrite question: its message)
    cc::Str caption;
    cc::Str target;   // overwrite question only
  };

  int AskOverwrite(const OverwriteQuestion& question) override;
  FileErrorAnswer AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) override;
  ConfirmAnswer AskOkCancel(const cc::Str& text, const cc::Str& caption) override;

  void QueueOverwrite(int answer) { overwrite_.push_back(answer); }
  void QueueFileError(FileErrorAnswer answer) { file_error_.push_back(answer); }
  void QueueConfirm(ConfirmAnswer answer) { confirm_.push_back(answer); }

  // Every question in the order asked, and the last overwrite question whole.
  const std::vector<Asked>& Questions() const { return asked_; }
  const OverwriteQuestion& LastOverwrite() const { return last_overwrite_; }
  int CountOf(Kind kind) const;

 private:
  std::deque<int> overwrite_;
  std::deque<FileErrorAnswer> file_error_;
  std::deque<ConfirmAnswer> confirm_;
  std::vector<Asked> asked_;
  OverwriteQuestion last_overwrite_;
};
