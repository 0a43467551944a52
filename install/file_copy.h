// Installing one file item: the overwrite decision, copying the payload
// entry block by block into a new file beside the target (target +
// kPartialSuffix), renaming that over the target once it is whole, and the
// item's lines in the uninstall record. A copy that fails or is canceled
// leaves the file that was there untouched.
#pragma once

#include "core/str.h"

class CopyPipeline;
struct FileItem;

// The suffix of the file a new version is written to before it replaces
// the target.
inline constexpr char16_t kPartialSuffix[] = u".~partial";
struct InstallSession;

// The detail text shown before each block of a file's copy: its path and
// how much of it is written, "C:\\app\\big.bin(37/100)".
cc::Str CopyProgressText(const cc::Str& target, int percent);
// Whether `text` is a CopyProgressText of `target`.
bool IsCopyProgressText(const cc::Str& target, const cc::Str& text);

// Installs file item `n` (selected, for this system, with a source) into
// `parentPath`, its content decoded and written through `pipeline`. Returns 0 when the step goes on (the file written, kept,
// ignored or not extracted), -1 when its folder cannot be created, -2 when
// a write fails, the user chooses Abort or Cancel, or Cancel is pressed
// during the copy. A copy that stops half-way removes the partial file and
// keeps the old one.
int InstallFileItem(InstallSession& session, CopyPipeline& pipeline, int n, const FileItem& item,
                    const cc::Str& indent, const cc::Str& parentPath);
