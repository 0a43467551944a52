#include "tools/utf8_check.h"

#include <algorithm>

namespace pack {
namespace {

// Length of the well-formed sequence at `i`, or 0 when it is malformed.
size_t SequenceLength(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = byte(i);
  if (b < 0x80) return 1;
  size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) lo = 0xA0;        // overlong
    if (b == 0xED) hi = 0x9F;        // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) lo = 0x90;        // overlong
    if (b == 0xF4) hi = 0x8F;        // above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return n;
}

}  // namespace

size_t FindInvalidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t n = SequenceLength(text, i);
    if (n == 0) return i;
    i += n;
  }
  return kValidUtf8;
}

std::string DescribeOffset(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  std::string_view before = text.substr(0, offset);
  size_t line = 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
  size_t line_start = before.rfind('\n');
  size_t column = offset - (line_start == std::string_view::npos ? 0 : line_start + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + " (byte offset " +
         std::to_string(offset) + ")";
}

}  // namespace pack
