// Writes the payload archive: a plain ZIP file in which every entry is
// deflated and then enciphered with the traditional ZIP password cipher under
// one password, with UTF-8 names.
//
// Layout of what it writes (all numbers little-endian, no ZIP64, no data
// descriptors: sizes and CRC are known before an entry is written):
//
//   for each entry, in the order given:
//     local header   30 bytes + name       flags 0x0801 (enciphered, UTF-8 name),
//                                          method 8, DOS time, CRC, sizes
//     cipher header  12 bytes              11 derived bytes + CRC's high byte
//     deflate data   enciphered
//   central directory, one record of 46 bytes + name per entry
//   end of central directory record, 22 bytes, no comment
//
// The output depends only on the entries (names, bytes, times), the password
// and the compression level; never on the number of threads or the clock.
// The 11 header bytes that are random in other writers come from a hash of
// the password, the name, the size and the CRC, so one project always packs
// to the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pack {

// The largest archive that the packer makes. The payload becomes one
// resource of a 32-bit program, which the runtime maps into its address
// space whole; beyond about a gigabyte that mapping fails on real machines,
// and ZIP fields without ZIP64 end at 4 GiB.
inline constexpr uint64_t kMaxPayloadBytes = uint64_t{1} << 30;

// One file of the archive: its bytes come from `path`, or from `bytes` when
// `path` is empty.
struct ZipSource {
  std::string name;             // entry name, UTF-8
  std::filesystem::path path;   // file to read, streamed in blocks
  std::vector<uint8_t> bytes;   // content when `path` is empty
  int64_t unix_time = 0;        // modification time, seconds since 1970 (UTC)
  std::string label;            // what the error messages call it
};

struct ZipOptions {
  std::string password;               // bytes of the password
  int level = 9;                      // zlib level 1..9
  int threads = 0;                    // 0: one per processor
  uint64_t max_bytes = kMaxPayloadBytes;
};

// Writes the archive of `entries`, in their order, into *archive. Returns
// true on success. On failure returns false, sets *error to a message that
// names the entry and the cause ("cannot read 'a/b.txt' (file item 3): No
// such file or directory", "payload archive exceeds the limit ...") and
// leaves *archive empty.
bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options,
              std::vector<uint8_t>* archive, std::string* error);

// The MS-DOS date (high 16 bits) and time (low 16 bits) of a UTC instant,
// clamped to the range the format can hold (1980-01-01 to 2107-12-31).
uint32_t DosDateTime(int64_t unix_time);

}  // namespace pack
