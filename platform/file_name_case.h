// Letter case of file names: Windows file systems ignore the case of every
// letter, not only of A to Z, so "Ärger.txt" and "ärger.txt" are one file.
#pragma once

#include <string>
#include <string_view>

// The lower-case form of one UTF-16 unit for name comparison: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic capitals fold; every other
// unit stays as it is.
char16_t FoldFileNameChar(char16_t c);
std::u16string FoldFileName(std::u16string_view name);
bool SameFileName(std::u16string_view a, std::u16string_view b);
