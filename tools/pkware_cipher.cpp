#include "tools/pkware_cipher.h"

#include <zlib.h>

namespace pack {
namespace {

// The key schedule's constants, fixed by the ZIP format.
constexpr uint32_t kInitialKey0 = 305419896u;
constexpr uint32_t kInitialKey1 = 591751049u;
constexpr uint32_t kInitialKey2 = 878082192u;
constexpr uint32_t kKey1Multiplier = 134775813u;

uint32_t CrcStep(uint32_t crc, uint8_t byte) {
  static const z_crc_t* table = get_crc_table();
  return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

PkwareCipher::PkwareCipher(std::string_view password)
    : keys_{kInitialKey0, kInitialKey1, kInitialKey2} {
  for (char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

uint8_t PkwareCipher::KeyStreamByte() const {
  uint32_t temp = (keys_[2] & 0xFFFF) | 2;
  return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void PkwareCipher::UpdateKeys(uint8_t plain) {
  keys_[0] = CrcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * kKey1Multiplier + 1;
  keys_[2] = CrcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

void PkwareCipher::Encrypt(uint8_t* data, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    uint8_t plain = data[i];
    data[i] = plain ^ KeyStreamByte();
    UpdateKeys(plain);
  }
}

void PkwareCipher::Decrypt(uint8_t* data, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    uint8_t plain = data[i] ^ KeyStreamByte();
    data[i] = plain;
    UpdateKeys(plain);
  }
}

}  // namespace pack
