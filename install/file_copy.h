// Installing one file item: the overwrite decision, making room for the new
// file, creating it and copying the payload entry into it block by block,
// and the item's lines in the uninstall record.
#pragma once

#include "core/str.h"

struct FileItem;
struct InstallSession;

// Installs file item `n` (selected, for this system, with a source) into
// `parentPath`. Returns 0 when the step goes on (the file written, kept,
// ignored or not extracted), -1 when its folder cannot be created, -2 when
// a write fails, the user chooses Abort or Cancel, or Cancel is pressed
// during the copy. A copy that stops half-way removes the partial file.
int InstallFileItem(InstallSession& session, int n, const FileItem& item, const cc::Str& indent,
                    const cc::Str& parentPath);
