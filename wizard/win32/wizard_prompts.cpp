#include "wizard/win32/wizard_prompts.h"

#include "wizard/win32/overwrite_dialog.h"
#include "wizard/win32/remove_dialog.h"

namespace wizard {

namespace {

HWND OwnerWindow(cc::win::Form& owner) { return owner.Created() ? owner.Handle() : nullptr; }

const wchar_t* Text(const cc::Str& text) { return text.IsNull() ? L"" : cc::win::Wide(text); }

}  // namespace

int WizardPrompts::AskOverwrite(const OverwriteQuestion& question) {
  OverwriteDlg dialog(question);
  return dialog.Ask(&owner_);
}

FileErrorAnswer WizardPrompts::AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) {
  int answer = MessageBoxW(OwnerWindow(owner_), Text(text), Text(caption), MB_ABORTRETRYIGNORE | MB_ICONQUESTION);
  if (answer == IDRETRY) return FileErrorAnswer::kRetry;
  if (answer == IDIGNORE) return FileErrorAnswer::kIgnore;
  return FileErrorAnswer::kAbort;
}

ConfirmAnswer WizardPrompts::AskOkCancel(const cc::Str& text, const cc::Str& caption) {
  int answer = MessageBoxW(OwnerWindow(owner_), Text(text), Text(caption), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  return answer == IDOK ? ConfirmAnswer::kOk : ConfirmAnswer::kCancel;
}

int WizardPrompts::AskRemoveShared(const OverwriteQuestion& question) {
  RemoveDlg dialog(question);
  return dialog.Ask(&owner_);
}

}  // namespace wizard
