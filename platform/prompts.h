// Every question the engines put to the user: the overwrite question with
// its six answers, the Abort/Retry/Ignore box of a file that cannot be
// replaced, created or removed, the OK/Cancel question about an earlier
// installation, and the question whether to remove a shared file. The wizard answers them with its dialogs; tests and the
// test driver script the answers (platform/fake/fake_prompts.h).
#pragma once

#include "core/str.h"

// Answers of the overwrite question, as the position of the pressed button
// counted from 0. Anything from kOverwriteCancel up counts as cancel.
inline constexpr int kOverwriteReplace = 0;
inline constexpr int kOverwriteReplaceAll = 1;
inline constexpr int kOverwriteSkip = 2;
inline constexpr int kOverwriteSkipAll = 3;
inline constexpr int kOverwriteReplaceOlder = 4;
inline constexpr int kOverwriteCancel = 5;
inline constexpr int kOverwriteButtonCount = 6;

// The overwrite question with its texts already in the current language.
struct OverwriteQuestion {
  cc::Str caption;  // the dialog's caption
  cc::Str message;  // the explanation followed by the target path
  cc::Str target;   // the file that exists already
  cc::Str buttons[kOverwriteButtonCount];  // labels in answer order
};

// Answers of the shared-file question. It is the overwrite dialog
// relabelled, so the numbers are the overwrite question's: the button at
// position kOverwriteReplaceOlder is hidden, and anything from
// kRemoveSharedCancel up (closing the dialog too) counts as cancel.
inline constexpr int kRemoveSharedRemove = 0;
inline constexpr int kRemoveSharedRemoveAll = 1;
inline constexpr int kRemoveSharedKeep = 2;
inline constexpr int kRemoveSharedKeepAll = 3;
inline constexpr int kRemoveSharedCancel = 5;

enum class FileErrorAnswer { kAbort, kRetry, kIgnore };
enum class ConfirmAnswer { kOk, kCancel };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows the overwrite question (modal) and returns the pressed button's
  // position, 0 to 5; closing the dialog counts as cancel.
  virtual int AskOverwrite(const OverwriteQuestion& question) = 0;
  // A message box with Abort, Retry and Ignore and the question icon.
  virtual FileErrorAnswer AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) = 0;
  // A message box with OK and Cancel, the question icon, Cancel the default
  // button. Closing the box counts as Cancel.
  virtual ConfirmAnswer AskOkCancel(const cc::Str& text, const cc::Str& caption) = 0;
  // The shared-file question (modal): `question.target` is the shared file,
  // `question.buttons` hold the labels in answer order with the hidden
  // button's label null. Returns kRemoveShared* (0 to 5); closing the dialog
  // or Escape gives kRemoveSharedCancel.
  virtual int AskRemoveShared(const OverwriteQuestion& question) = 0;
};
