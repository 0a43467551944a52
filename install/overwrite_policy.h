// Whether an existing file is replaced: by the file item's overwrite mode,
// by an earlier "for all" answer, by the age of the file, or by asking.
#pragma once

// Overwrite modes of a file item (field 4); values above 3 replace.
inline constexpr int kOverwriteModeAsk = 0;
inline constexpr int kOverwriteModeWhenNotOlder = 1;
inline constexpr int kOverwriteModeAlways = 2;
inline constexpr int kOverwriteModeNever = 3;

enum class OverwriteDecision { kReplace, kKeep, kAsk, kCancel };

// The decision before any question: kReplace, kKeep or kAsk. `remembered`
// is the answer remembered from earlier questions (0 when none); `cmp` is
// -1, 0 or 1 as the item's time is older than, equal to or newer than the
// existing file's last-write time.
OverwriteDecision DecideOverwrite(int mode, int remembered, int cmp);

// What an answer of the overwrite question (0 to 5, see prompts.h) means for
// this file: kReplace, kKeep or kCancel.
OverwriteDecision ApplyOverwriteAnswer(int answer, int cmp);
