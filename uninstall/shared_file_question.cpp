#include "uninstall/shared_file_question.h"

#include "install/install_session.h"
#include "install/page_text.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "uninstall/uninstall_run.h"

void BuildSharedFileQuestion(const UninstallRun& run, const cc::Str& path, OverwriteQuestion* question) {
  const cc::KeyArr& store = run.session.store;
  question->caption = PageText(store, u".s.c.Var.QTitle");
  question->message = ErrorText(store, u".s.c.Var.RemovesysInfo", path);
  question->target = path;
  question->buttons[kRemoveSharedRemove] = PageText(store, u".s.c.Var.O_Remove");
  question->buttons[kRemoveSharedRemoveAll] = PageText(store, u".s.c.Var.O_RemoveAll");
  question->buttons[kRemoveSharedKeep] = PageText(store, u".s.c.Var.O_Skip");
  question->buttons[kRemoveSharedKeepAll] = PageText(store, u".s.c.Var.O_SkipAll");
  question->buttons[kOverwriteReplaceOlder] = cc::Str();
  question->buttons[kRemoveSharedCancel] = PageText(store, u".s.c.Var.O_Cancel");
}

SharedAnswer AskSharedFile(UninstallRun& run, const cc::Str& path) {
  if (run.shared_choice == SharedChoice::kRemoveAll) return SharedAnswer::kRemove;
  if (run.shared_choice == SharedChoice::kKeepAll) return SharedAnswer::kKeep;
  OverwriteQuestion question;
  BuildSharedFileQuestion(run, path, &question);
  switch (run.platform.prompts->AskRemoveShared(question)) {
    case kRemoveSharedRemoveAll:
      run.shared_choice = SharedChoice::kRemoveAll;
      return SharedAnswer::kRemove;
    case kRemoveSharedRemove:
      return SharedAnswer::kRemove;
    case kRemoveSharedKeepAll:
      run.shared_choice = SharedChoice::kKeepAll;
      return SharedAnswer::kKeep;
    case kRemoveSharedKeep:
      return SharedAnswer::kKeep;
    default:
      return SharedAnswer::kCancel;
  }
}
