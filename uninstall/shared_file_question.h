// The question about a shared file (removal mode 2): the overwrite dialog
// relabelled (remove, remove all, keep, keep all, cancel; the overwrite-older
// button hidden), asked through the prompts. A remove-all or keep-all
// answer is remembered in the run and answers the later shared files of the
// same uninstall without asking: users take "all" to mean all.
#pragma once

#include "core/str.h"
#include "platform/prompts.h"

struct UninstallRun;

enum class SharedAnswer { kRemove, kKeep, kCancel };

// The question with its texts in the current language: caption
// ".s.c.Var.QTitle", message ".s.c.Var.RemovesysInfo" + "\r\n\r\n" + path,
// buttons ".s.c.Var.O_Remove", ".s.c.Var.O_RemoveAll", ".s.c.Var.O_Skip",
// ".s.c.Var.O_SkipAll", (hidden), ".s.c.Var.O_Cancel".
void BuildSharedFileQuestion(const UninstallRun& run, const cc::Str& path, OverwriteQuestion* question);

// Asks about `path` unless an earlier "all" answer decides. Answers 0 and 1
// remove, 2 and 3 keep, anything else (5, closing the dialog) cancels.
SharedAnswer AskSharedFile(UninstallRun& run, const cc::Str& path);
