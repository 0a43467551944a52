#include "platform/win32/win32_prompts.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace {

int Ask(const cc::Str& text, const cc::Str& caption, UINT style) {
  return MessageBoxW(nullptr, Wide(text), Wide(caption), style | MB_SETFOREGROUND | MB_TASKMODAL);
}

}  // namespace

int Win32Prompts::AskOverwrite(const OverwriteQuestion& question) {
  switch (Ask(question.message, question.caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return kOverwriteReplace;
    case IDNO:
      return kOverwriteSkip;
    default:
      return kOverwriteCancel;
  }
}

FileErrorAnswer Win32Prompts::AskAbortRetryIgnore(const cc::Str& text, const cc::Str& caption) {
  switch (Ask(text, caption, MB_ABORTRETRYIGNORE | MB_ICONQUESTION)) {
    case IDRETRY:
      return FileErrorAnswer::kRetry;
    case IDIGNORE:
      return FileErrorAnswer::kIgnore;
    default:
      return FileErrorAnswer::kAbort;
  }
}

ConfirmAnswer Win32Prompts::AskOkCancel(const cc::Str& text, const cc::Str& caption) {
  const int answer = Ask(text, caption, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  return answer == IDOK ? ConfirmAnswer::kOk : ConfirmAnswer::kCancel;
}

int Win32Prompts::AskRemoveShared(const OverwriteQuestion& question) {
  switch (Ask(question.message, question.caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return kRemoveSharedRemove;
    case IDNO:
      return kRemoveSharedKeep;
    default:
      return kRemoveSharedCancel;
  }
}
