// The fixed records of the payload archive: local header, central directory
// record, end record, and the cipher header that precedes each entry's data.
// The layout they make up is drawn once, in runtime/payload_archive.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pack {

inline constexpr size_t kLocalHeaderSize = 30;
inline constexpr size_t kCentralHeaderSize = 46;
inline constexpr size_t kEndOfCentralSize = 22;
inline constexpr size_t kCipherHeaderSize = 12;
// Where the compressed size sits in a local header (patched when an entry
// was streamed and its size was known only afterwards).
inline constexpr size_t kLocalCompressedSizeOffset = 18;

// What the local header and the central record of one entry say.
struct EntryRecord {
  uint32_t crc = 0;
  uint32_t compressed = 0;  // cipher header included
  uint32_t size = 0;
  uint32_t dos_time = 0;
  uint32_t offset = 0;      // of the local header
};

void PutLocalHeader(const std::string& name, const EntryRecord& r, std::vector<uint8_t>* out);
void PutCentralRecord(const std::string& name, const EntryRecord& r, std::vector<uint8_t>* out);
void PutEndRecord(uint16_t entries, uint32_t central_size, uint32_t central_start,
                  std::vector<uint8_t>* out);

// The 12 plain bytes that precede the enciphered data. Readers check only
// the last one (the CRC's high byte); the others must merely differ between
// entries, so a hash of the password, the name, the size and the CRC stands
// in for the usual random bytes and one project always packs to the same
// bytes.
void MakeCipherHeader(const std::string& password, const std::string& name, uint64_t size,
                      uint32_t crc, uint8_t header[kCipherHeaderSize]);

// The MS-DOS date (high 16 bits) and time (low 16 bits) of a UTC instant,
// clamped to the range the format can hold (1980-01-01 to 2107-12-31).
uint32_t DosDateTime(int64_t unix_time);

}  // namespace pack
