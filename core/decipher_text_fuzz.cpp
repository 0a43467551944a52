// DecipherText over arbitrary Base64 text and keys, and the byte cipher's
// round trip on arbitrary data: the first byte picks the extra rounds and
// the key length, the next bytes are the key, the rest is the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int extraRounds = (data[0] & 0x0F) - 2;
  const size_t keyLength = 1 + (data[0] >> 4) * 4 < size - 1 ? 1 + (data[0] >> 4) * 4 : size - 1;
  const char* key = reinterpret_cast<const char*>(data + 1);
  const uint8_t* rest = data + 1 + keyLength;
  const size_t restSize = size - 1 - keyLength;

  const cc::Str text =
      cc::Str::FromBytes(reinterpret_cast<const char*>(rest), static_cast<int>(restSize), cc::kCodePageUtf16LE);
  for (const char* k : {key, static_cast<const char*>(nullptr)}) {
    cc::DecipherText(text.GetBuffer(), text.GetLength(), k, static_cast<int>(keyLength), extraRounds);
    cc::DecipherText(text.GetBuffer(), text.GetLength(), k, static_cast<int>(keyLength), extraRounds,
                     cc::kCodePageUtf8, cc::kCodePageWindows1252);
  }

  std::vector<uint8_t> buffer(rest, rest + restSize);
  const auto* keyBytes = reinterpret_cast<const uint8_t*>(key);
  cc::EncipherBytes(buffer.data(), static_cast<int>(buffer.size()), keyBytes, static_cast<int>(keyLength),
                    extraRounds);
  cc::DecipherBytes(buffer.data(), static_cast<int>(buffer.size()), keyBytes, static_cast<int>(keyLength),
                    extraRounds);
  if (buffer != std::vector<uint8_t>(rest, rest + restSize)) __builtin_trap();

  const cc::Str base64 = cc::EncipherText(rest, static_cast<int>(restSize), key, static_cast<int>(keyLength),
                                          extraRounds, cc::kCodePageUtf16LE);
  const cc::Str plain = cc::DecipherText(base64.GetBuffer(), base64.GetLength(), key, static_cast<int>(keyLength),
                                         extraRounds, cc::kCodePageUtf16LE, cc::kCodePageWindows1252);
  if (restSize > 0 && plain.GetLength() != static_cast<int>(restSize)) __builtin_trap();
  return 0;
}
