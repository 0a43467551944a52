#include "core/cipher_keys.h"

#include "core/cipher.h"

namespace cc {

std::string PayloadPassword() {
  std::string bytes;
  const int length = static_cast<int>(std::char_traits<char16_t>::length(kPayloadPasswordCipher));
  if (!Base64Decode(kPayloadPasswordCipher, length, &bytes)) return std::string();
  DecipherBytes(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<int>(bytes.size()),
                reinterpret_cast<const uint8_t*>(kProgramKey), kProgramKeyLength, kCipherExtraRounds);
  return bytes;
}

}  // namespace cc
