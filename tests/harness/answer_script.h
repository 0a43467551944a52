// The scripted answers of the test driver: a text with one answer per line,
// "KIND=ANSWER", taken in order per kind of question; blank lines and lines
// starting with "#" are skipped. Kinds and answers:
//   overwrite   0..5, or replace, replace-all, skip, skip-all,
//               replace-older, cancel
//   file-error  abort, retry, ignore   (the Abort/Retry/Ignore box)
//   confirm     ok, cancel             (the OK/Cancel question)
//   shared      remove, remove-all, keep, keep-all, cancel
//                                      (the shared-file question)
// A question without a scripted answer gets the default: replace, ignore,
// ok, keep.
#pragma once

#include <string>
#include <string_view>

class FakePrompts;

// Queues the answers of `text` into `prompts`. False, with `error` naming
// the line and what is wrong with it, at the first bad line (the answers of
// earlier lines are queued then).
bool LoadAnswerScript(std::string_view text, FakePrompts* prompts, std::string* error);
