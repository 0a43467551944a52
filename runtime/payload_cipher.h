// The traditional ZIP password cipher: a stream cipher of three 32-bit keys
// that every ZIP reader understands. It is weak by today's measure; the
// payload uses it because readers expect it, not for secrecy. The one
// implementation for the runtime's reader, the packer, the tests and the
// harness's speed check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class PayloadCipher {
 public:
  // Keys initialised from `password` (its bytes as given, no terminator).
  explicit PayloadCipher(std::string_view password);

  // Enciphers `n` bytes in place, advancing the keys over the plain bytes.
  void Encipher(unsigned char* data, size_t n);
  // Deciphers `n` bytes from `in` into `out` (which may be `in`),
  // advancing the keys over the plain bytes. Each key update needs the plain
  // byte just produced, so this is a serial chain: about 100 MB/s.
  void Decipher(const unsigned char* in, unsigned char* out, size_t n);

 private:
  uint32_t k0_, k1_, k2_;
};
