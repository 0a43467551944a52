// What the setup log's tests expect on disk, spelled out byte by byte
// rather than through the encoder the log itself uses, so that a fault in
// that encoder cannot hide behind the same fault in the expectation.
#pragma once

#include <string>
#include <string_view>

namespace setup_log_test {

// The bytes of `text` as UTF-16 little-endian, without a byte-order mark.
inline std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace setup_log_test
