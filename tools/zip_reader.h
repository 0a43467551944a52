// Reads back a ZIP archive held in memory: minizip (the library the runtime
// builds on) parses the structure, and the entries are deciphered and
// inflated here, because Debian's minizip is built without its decryption.
// The tests use it as a reader independent of the runtime's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct ZipEntryInfo {
  std::string name;            // as stored (UTF-8)
  uint64_t size = 0;           // uncompressed
  uint64_t compressed = 0;     // stored bytes, cipher header included
  uint32_t crc = 0;
  int method = 0;              // 8: deflate
  bool enciphered = false;
  bool utf8_name = false;      // general purpose bit 11
  uint32_t dos_time = 0;
};

// Lists the entries in central-directory order. Returns false and sets
// *error when the bytes are not a ZIP archive minizip can open.
bool ListZip(const std::vector<uint8_t>& archive, std::vector<ZipEntryInfo>* entries,
             std::string* error);

// Reads entry `name` (exact name) whole with `password` into *data and
// checks its CRC. Returns false and sets *error ("wrong password", "CRC
// mismatch", "no entry ...") on any fault; *data is then unspecified.
bool ReadZipEntry(const std::vector<uint8_t>& archive, const std::string& name,
                  const std::string& password, std::vector<uint8_t>* data, std::string* error);

}  // namespace pack
