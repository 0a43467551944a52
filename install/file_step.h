// The file step: the walk over the file items "s.f.%d.Item" (numbered from
// 1 without gaps, a container before its contents) that creates the folders
// and installs the files of the selected components.
#pragma once

#include "core/str.h"

struct InstallSession;

// Results of the file step.
inline constexpr int kFileStepOk = 0;
inline constexpr int kFileStepFolderFailed = -1;
// A write failed, the user chose Abort or Cancel, or Cancel was pressed
// during a copy.
inline constexpr int kFileStepStopped = -2;

// One level of the walk. `counter` is the number of the last item taken
// (shared by all levels); the level takes the items whose parent id is the
// counter's value on entry and ends at the first item of another parent or
// at the first missing number. `indent` prefixes the status lines,
// `parentPath` is the folder this level's files go to, `selected` whether
// this level's items are installed (a group item changes it for the items
// after it). Returns kFileStepOk, or a negative result with "Ret.ErrorInfo"
// set (no text for a cancel during a copy); a nested level's negative
// result ends every level above it.
int ExtractItems(InstallSession& session, int& counter, const cc::Str& indent,
                 const cc::Str& parentPath, bool selected);

// The whole walk from item 1 at the top level.
int RunFileStep(InstallSession& session);
