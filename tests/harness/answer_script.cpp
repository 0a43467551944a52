#include "tests/harness/answer_script.h"

#include <cstdlib>

#include "platform/fake/fake_prompts.h"

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

const char* const kOverwriteNames[] = {"replace", "replace-all", "skip", "skip-all", "replace-older",
                                       "cancel"};

bool ParseOverwrite(std::string_view answer, int* value) {
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    if (answer == kOverwriteNames[i]) {
      *value = i;
      return true;
    }
  }
  if (answer.size() == 1 && answer[0] >= '0' && answer[0] <= '5') {
    *value = answer[0] - '0';
    return true;
  }
  return false;
}

// Queues one "KIND=ANSWER" line; false when it is not one.
bool QueueLine(std::string_view kind, std::string_view answer, FakePrompts* prompts) {
  if (kind == "overwrite") {
    int value = 0;
    if (!ParseOverwrite(answer, &value)) return false;
    prompts->QueueOverwrite(value);
    return true;
  }
  if (kind == "file-error") {
    if (answer == "abort") prompts->QueueFileError(FileErrorAnswer::kAbort);
    else if (answer == "retry") prompts->QueueFileError(FileErrorAnswer::kRetry);
    else if (answer == "ignore") prompts->QueueFileError(FileErrorAnswer::kIgnore);
    else return false;
    return true;
  }
  if (kind == "shared") {
    if (answer == "remove") prompts->QueueRemoveShared(kRemoveSharedRemove);
    else if (answer == "remove-all") prompts->QueueRemoveShared(kRemoveSharedRemoveAll);
    else if (answer == "keep") prompts->QueueRemoveShared(kRemoveSharedKeep);
    else if (answer == "keep-all") prompts->QueueRemoveShared(kRemoveSharedKeepAll);
    else if (answer == "cancel") prompts->QueueRemoveShared(kRemoveSharedCancel);
    else return false;
    return true;
  }
  if (kind == "confirm") {
    if (answer == "ok") prompts->QueueConfirm(ConfirmAnswer::kOk);
    else if (answer == "cancel") prompts->QueueConfirm(ConfirmAnswer::kCancel);
    else return false;
    return true;
  }
  return false;
}

}  // namespace

bool LoadAnswerScript(std::string_view text, FakePrompts* prompts, std::string* error) {
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == '#') continue;
    size_t equals = line.find('=');
    bool ok = equals != std::string_view::npos &&
              QueueLine(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), prompts);
    if (!ok) {
      *error = "answers line " + std::to_string(number) + ": '" + std::string(line) +
               "' is not overwrite=0..5|replace|replace-all|skip|skip-all|replace-older|cancel, "
               "file-error=abort|retry|ignore, confirm=ok|cancel or "
               "shared=remove|remove-all|keep|keep-all|cancel";
      return false;
    }
  }
  return true;
}
