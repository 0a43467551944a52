// The volume root at the start of a path, as the in-memory platform reads
// it: the one rule that both its file system and its disk-space answers use.
#pragma once

#include <string>
#include <string_view>

// Splits `path` (backslashes or forward slashes) into its volume root and
// the rest: "C:\x" and "c:x" -> "C:" (letter upper-cased), "\x";
// "\\srv\share\x" and "//srv/share/x" -> "\\srv\share" (the root always with
// backslashes), "\x" or "/x"; "\x" and "x" -> the current drive "C:".
// Returns false for a share path without a server or a share name.
bool SplitVolumeRoot(std::u16string_view path, std::u16string* root, std::u16string* rest);
