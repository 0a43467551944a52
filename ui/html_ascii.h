// Byte-level matching for the HTML subset of project texts: tag and
// attribute names are ASCII and compared without regard to ASCII case;
// every other byte (UTF-8 included) only ever equals itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace cc::win {

char LowerAscii(char c);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Returns whether `text` at `at` begins with `word`; false when `at` lies
// past the end.
bool StartsWithAt(std::string_view text, size_t at, std::string_view word);
// Returns the position of `needle` at or after `from`, or npos (also for an
// empty needle).
size_t FindIgnoreCase(std::string_view text, size_t from, std::string_view needle);

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace cc::win
