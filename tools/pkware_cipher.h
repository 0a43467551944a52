// The traditional ZIP password cipher: a stream cipher of three 32-bit keys
// that every ZIP reader understands. It is weak by today's measure; the
// payload uses it because the runtime's reader expects it, not for secrecy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pack {

class PkwareCipher {
 public:
  // Keys initialised from `password` (its bytes as given, no terminator).
  explicit PkwareCipher(std::string_view password);

  // Enciphers `n` bytes in place, advancing the key state.
  void Encrypt(uint8_t* data, size_t n);
  // Deciphers `n` bytes in place, advancing the key state.
  void Decrypt(uint8_t* data, size_t n);

 private:
  uint8_t KeyStreamByte() const;
  void UpdateKeys(uint8_t plain);

  uint32_t keys_[3];
};

}  // namespace pack
