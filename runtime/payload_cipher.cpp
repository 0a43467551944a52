#include "runtime/payload_cipher.h"

#include <zlib.h>

namespace {

// The key schedule's constants, fixed by the ZIP format.
constexpr uint32_t kInitialKey0 = 0x12345678u;
constexpr uint32_t kInitialKey1 = 0x23456789u;
constexpr uint32_t kInitialKey2 = 0x34567890u;
constexpr uint32_t kKey1Multiplier = 134775813u;

// The keys in locals, so the compiler keeps them in registers for a whole
// block: byte stores through `out` could otherwise alias members.
struct Keys {
  uint32_t k0, k1, k2;
  const z_crc_t* table;

  unsigned char StreamByte() const {
    uint32_t temp = (k2 & 0xFFFF) | 2;
    return static_cast<unsigned char>((temp * (temp ^ 1)) >> 8);
  }
  void Update(unsigned char plain) {
    k0 = static_cast<uint32_t>(table[(k0 ^ plain) & 0xFF]) ^ (k0 >> 8);
    k1 = (k1 + (k0 & 0xFF)) * kKey1Multiplier + 1;
    k2 = static_cast<uint32_t>(table[(k2 ^ (k1 >> 24)) & 0xFF]) ^ (k2 >> 8);
  }
};

}  // namespace

PayloadCipher::PayloadCipher(std::string_view password)
    : k0_(kInitialKey0), k1_(kInitialKey1), k2_(kInitialKey2) {
  Keys keys{k0_, k1_, k2_, get_crc_table()};
  for (char c : password) keys.Update(static_cast<unsigned char>(c));
  k0_ = keys.k0;
  k1_ = keys.k1;
  k2_ = keys.k2;
}

void PayloadCipher::Encipher(unsigned char* data, size_t n) {
  Keys keys{k0_, k1_, k2_, get_crc_table()};
  for (size_t i = 0; i < n; ++i) {
    unsigned char plain = data[i];
    data[i] = plain ^ keys.StreamByte();
    keys.Update(plain);
  }
  k0_ = keys.k0;
  k1_ = keys.k1;
  k2_ = keys.k2;
}

void PayloadCipher::Decipher(const unsigned char* in, unsigned char* out, size_t n) {
  Keys keys{k0_, k1_, k2_, get_crc_table()};
  for (size_t i = 0; i < n; ++i) {
    unsigned char plain = in[i] ^ keys.StreamByte();
    out[i] = plain;
    keys.Update(plain);
  }
  k0_ = keys.k0;
  k1_ = keys.k1;
  k2_ = keys.k2;
}
