#include "tools/utf8_check.h"

#include <algorithm>

#include "core/code_page.h"

namespace pack {

size_t FindInvalidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const cc::Utf8Char c = cc::DecodeUtf8Char(text, i);
    if (!c.valid) return i;
    i += c.length;
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
