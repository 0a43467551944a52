// The wizard's answers to the engines' questions: the overwrite and
// shared-file dialogs and message boxes, all modal over the main form.
// Windows flavour only.
#pragma once

#include "platform/prompts.h"
#include "ui/win32/form.h"

namespace wizard {

class WizardPrompts : public Prompts {
 public:
  explicit WizardPrompts(cc::win::Form& owner) : owner_(owner) {}

  // OverwriteDlg; its answer.
  int AskOverwrite(const OverwriteQuestion& question) override;
  // Abort, Retry, Ignore with the question icon; closing the box is Abort.
  FileErrorAnswer AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) override;
  // OK and Cancel with the question icon, Cancel the default button.
  ConfirmAnswer AskOkCancel(const cc::Str& text, const cc::Str& caption) override;
  // RemoveDlg; its answer.
  int AskRemoveShared(const OverwriteQuestion& question) override;

 private:
  cc::win::Form& owner_;
};

}  // namespace wizard
