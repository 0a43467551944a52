// Reads back a ZIP archive held in memory with minizip, the reader that the
// runtime uses too: lists the entries and deciphers, inflates and checks the
// CRC of each. The packer's "inspect" command and the tests rely on it.
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

// Reads every entry as ReadZipEntry does, without keeping the data. Returns
// one message per faulty entry (empty when all entries read back intact).
std::vector<std::string> VerifyZip(const std::vector<uint8_t>& archive, const std::string& password);

}  // namespace pack
