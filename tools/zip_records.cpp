#include "tools/zip_records.h"

#include <algorithm>

namespace pack {
namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndOfCentralSignature = 0x06054b50;
constexpr uint16_t kVersionNeeded = 20;      // deflate and the password cipher
// Made by "NTFS", version 2.0: Windows attribute semantics. Readers apply an
// OEM code page to names from an "MS-DOS" host even when the UTF-8 flag is
// set (Info-ZIP's unzip does), which would garble non-ASCII names.
constexpr uint16_t kVersionMadeBy = (10 << 8) | 20;
constexpr uint16_t kFlagEnciphered = 0x0001;
constexpr uint16_t kFlagUtf8Name = 0x0800;
constexpr uint16_t kMethodDeflate = 8;

void Put16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutName(const std::string& name, std::vector<uint8_t>* out) {
  out->insert(out->end(), name.begin(), name.end());
}

uint64_t Fnv1a(uint64_t hash, const void* data, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < n; ++i) {
    hash ^= p[i];
    hash *= 0x100000001b3ull;
  }
  return hash;
}

uint64_t SplitMix(uint64_t* state) {
  uint64_t z = (*state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// The fields that the local header and the central record share, in the
// same order: version needed to extract up to the name's length.
void PutSharedFields(const std::string& name, const EntryRecord& r, std::vector<uint8_t>* out) {
  Put16(out, kVersionNeeded);
  Put16(out, kFlagEnciphered | kFlagUtf8Name);
  Put16(out, kMethodDeflate);
  Put32(out, r.dos_time);
  Put32(out, r.crc);
  Put32(out, r.compressed);
  Put32(out, r.size);
  Put16(out, static_cast<uint16_t>(name.size()));
}

}  // namespace

void PutLocalHeader(const std::string& name, const EntryRecord& r, std::vector<uint8_t>* out) {
  Put32(out, kLocalHeaderSignature);
  PutSharedFields(name, r, out);
  Put16(out, 0);
  PutName(name, out);
}

void PutCentralRecord(const std::string& name, const EntryRecord& r, std::vector<uint8_t>* out) {
  Put32(out, kCentralHeaderSignature);
  Put16(out, kVersionMadeBy);
  PutSharedFields(name, r, out);
  Put16(out, 0);  // extra field
  Put16(out, 0);  // comment
  Put16(out, 0);  // disk number
  Put16(out, 0);  // internal attributes
  Put32(out, 0);  // external attributes
  Put32(out, r.offset);
  PutName(name, out);
}

void PutEndRecord(uint16_t entries, uint32_t central_size, uint32_t central_start,
                  std::vector<uint8_t>* out) {
  Put32(out, kEndOfCentralSignature);
  Put16(out, 0);  // this disk
  Put16(out, 0);  // disk of the central directory
  Put16(out, entries);
  Put16(out, entries);
  Put32(out, central_size);
  Put32(out, central_start);
  Put16(out, 0);  // comment length
}

void MakeCipherHeader(const std::string& password, const std::string& name, uint64_t size,
                      uint32_t crc, uint8_t header[kCipherHeaderSize]) {
  uint64_t hash = 0xcbf29ce484222325ull;
  hash = Fnv1a(hash, password.data(), password.size() + 1);
  hash = Fnv1a(hash, name.data(), name.size() + 1);
  hash = Fnv1a(hash, &size, sizeof size);
  hash = Fnv1a(hash, &crc, sizeof crc);
  uint64_t bits = 0;
  for (size_t i = 0; i + 1 < kCipherHeaderSize; ++i) {
    if (i % 8 == 0) bits = SplitMix(&hash);
    header[i] = static_cast<uint8_t>(bits >> (8 * (i % 8)));
  }
  header[kCipherHeaderSize - 1] = static_cast<uint8_t>(crc >> 24);
}

uint32_t DosDateTime(int64_t unix_time) {
  constexpr int64_t kFirst = 315532800;   // 1980-01-01T00:00:00Z
  constexpr int64_t kLast = 4354819198;   // 2107-12-31T23:59:58Z
  int64_t t = std::clamp(unix_time, kFirst, kLast);
  int64_t days = t / 86400;
  int64_t secs = t % 86400;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  int64_t z = days + 719468;
  int64_t era = z / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  uint32_t time = static_cast<uint32_t>(((secs / 3600) << 11) | (((secs / 60) % 60) << 5) | ((secs % 60) / 2));
  return (date << 16) | time;
}

}  // namespace pack
