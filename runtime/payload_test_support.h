// For tests and benchmarks only: makes payload archives in memory, the way
// a writer that compresses in memory does (deflated, PKWARE-enciphered,
// the check byte taken from the CRC, no data descriptors).
#pragma once

#include <zlib.h>

#include "runtime/payload_cipher.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace payload_test {

// The payload cipher over whole strings, keys advanced over the plain bytes.
class PkwareCipher {
 public:
  explicit PkwareCipher(const std::string& password) : cipher_(password) {}
  void Encipher(std::string& bytes) {
    cipher_.Encipher(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  }
  void Decipher(std::string& bytes) {
    auto* data = reinterpret_cast<unsigned char*>(bytes.data());
    cipher_.Decipher(data, data, bytes.size());
  }

 private:
  PayloadCipher cipher_;
};

// Raw deflate (no zlib header), as ZIP entries carry it.
inline std::string Deflate(const std::string& data, int level = 6) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

inline uint32_t Crc32(const std::string& data) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// The 12-byte encryption header followed by the deflated data, enciphered.
// `seed` varies the header's random bytes.
inline std::string EncipherEntry(const std::string& deflated, uint32_t crc,
                                 const std::string& password, uint32_t seed = 1) {
  std::string body;
  for (int i = 0; i < 11; ++i) {
    seed = seed * 1103515245u + 12345u;
    body.push_back(static_cast<char>(seed >> 16));
  }
  body.push_back(static_cast<char>(crc >> 24));
  body += deflated;
  PkwareCipher(password).Encipher(body);
  return body;
}

// A whole archive of deflated entries, enciphered when `password` is not
// empty, in the order given.
inline std::string MakeArchive(const std::vector<std::pair<std::string, std::string>>& files,
                               const std::string& password) {
  auto put16 = [](std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
  };
  auto put32 = [&](std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
  };
  std::string local, central;
  for (const auto& [name, data] : files) {
    uint32_t crc = Crc32(data);
    std::string body = Deflate(data);
    if (!password.empty()) body = EncipherEntry(body, crc, password);
    std::string fields;
    put16(fields, 20);                     // version needed
    put16(fields, password.empty() ? 0 : 1);  // flags: enciphered
    put16(fields, 8);                      // deflated
    put32(fields, 0x576E6A00);             // DOS date and time
    put32(fields, crc);
    put32(fields, static_cast<uint32_t>(body.size()));
    put32(fields, static_cast<uint32_t>(data.size()));
    put16(fields, static_cast<uint32_t>(name.size()));
    put16(fields, 0);  // extra field length
    central += std::string("PK\1\2", 4);
    put16(central, 20);  // version made by
    central += fields;
    put16(central, 0);  // comment length
    put16(central, 0);  // disk
    put16(central, 0);  // internal attributes
    put32(central, 0x20);  // external attributes: archive
    put32(central, static_cast<uint32_t>(local.size()));
    central += name;
    local += std::string("PK\3\4", 4) + fields + name + body;
  }
  std::string end("PK\5\6", 4);
  put16(end, 0);
  put16(end, 0);
  put16(end, static_cast<uint32_t>(files.size()));
  put16(end, static_cast<uint32_t>(files.size()));
  put32(end, static_cast<uint32_t>(central.size()));
  put32(end, static_cast<uint32_t>(local.size()));
  put16(end, 0);
  return local + central + end;
}

}  // namespace payload_test
