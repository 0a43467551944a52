// Base64Decode over arbitrary UTF-16 text, and the round trip of arbitrary
// bytes through Base64Encode.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const cc::Str wide =
      cc::Str::FromBytes(reinterpret_cast<const char*>(data), static_cast<int>(size), cc::kCodePageUtf16LE);
  const std::u16string text(wide.View());
  std::string decoded = "x";
  const int length = static_cast<int>(text.size());
  const bool accepted = cc::Base64Decode(text.data(), length, &decoded);
  if (accepted != (length >= 3 && length % 4 == 0)) __builtin_trap();
  if (!accepted && !decoded.empty()) __builtin_trap();
  if (accepted && (decoded.size() > static_cast<size_t>(length) / 4 * 3 ||
                   decoded.size() + 2 < static_cast<size_t>(length) / 4 * 3)) {
    __builtin_trap();
  }

  const cc::Str encoded = cc::Base64Encode(data, static_cast<int>(size));
  if (encoded.GetLength() != static_cast<int>((size + 2) / 3 * 4)) __builtin_trap();
  std::string back;
  if (size > 0) {
    if (!cc::Base64Decode(encoded.GetBuffer(), encoded.GetLength(), &back)) __builtin_trap();
    if (back != std::string(reinterpret_cast<const char*>(data), size)) __builtin_trap();
  }
  return 0;
}
