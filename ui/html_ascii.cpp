#include "ui/html_ascii.h"

#include <string>

namespace cc::win {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithAt(std::string_view text, size_t at, std::string_view word) {
  return at <= text.size() && text.size() - at >= word.size() &&
         EqualsIgnoreCase(text.substr(at, word.size()), word);
}

size_t FindIgnoreCase(std::string_view text, size_t from, std::string_view needle) {
  if (needle.empty() || text.size() < needle.size()) return std::string_view::npos;
  const char first = LowerAscii(needle[0]);
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (LowerAscii(text[i]) == first && StartsWithAt(text, i, needle)) return i;
  }
  return std::string_view::npos;
}

}  // namespace cc::win
