// The questions as system message boxes, for a run without the wizard's own
// dialogs (the wizard puts its dialogs in their place). The overwrite and
// shared-file questions offer their three main answers as Yes, No and
// Cancel: Yes replaces (removes), No skips (keeps), Cancel cancels.
#pragma once

#include "platform/prompts.h"

class Win32Prompts : public Prompts {
 public:
  int AskOverwrite(const OverwriteQuestion& question) override;
  FileErrorAnswer AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) override;
  ConfirmAnswer AskOkCancel(const cc::Str& text, const cc::Str& caption) override;
  int AskRemoveShared(const OverwriteQuestion& question) override;
};
