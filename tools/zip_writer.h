// Writes the payload archive: a plain ZIP file in which every entry is
// deflated and then enciphered with the traditional ZIP password cipher under
// one password, with UTF-8 names. The layout is drawn in
// runtime/payload_archive.h, the reader's side; this writer uses no ZIP64
// and no data descriptors (flags 0x0801: enciphered, UTF-8 name; method 8).
//
// The output depends only on the entries (names, bytes, times), the password,
// the compression level, the buffer size and the compressor the build has
// (libdeflate natively, zlib where it is missing); never on the number of
// threads or the clock.
//
// Memory stays bounded whatever the payload: entries are compressed a few at
// a time (compression_pipeline.h) and written to the sink as they come, and
// an entry larger than a third of `buffer_bytes` is streamed through zlib by
// the writer itself (read once for its CRC, once to compress).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/zip_records.h"

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
  std::filesystem::path path;   // file to read
  std::vector<uint8_t> bytes;   // content when `path` is empty
  int64_t unix_time = 0;        // modification time, seconds since 1970 (UTC)
  std::string label;            // what the error messages call it
};

struct ZipOptions {
  std::string password;               // bytes of the password
  int level = 8;                      // 1..9 (libdeflate also 10..12)
  int threads = 0;                    // 0: one per processor
  uint64_t max_bytes = kMaxPayloadBytes;
  // Entry data held in memory at once (read and compressed).
  uint64_t buffer_bytes = uint64_t{80} << 20;
};

// Where the archive goes: appended in order, with one look back (the
// compressed size of a streamed entry is patched into its local header).
class ZipSink {
 public:
  virtual ~ZipSink() = default;
  virtual bool Write(const uint8_t* data, size_t n) = 0;
  virtual bool Patch(uint64_t offset, const uint8_t* data, size_t n) = 0;
  virtual uint64_t Size() const = 0;
};

// Writes the archive of `entries`, in their order, into `sink`. Returns true
// on success. On failure returns false and sets *error to a message that
// names the entry and the cause ("cannot read 'a/b.txt' (file item 3): No
// such file or directory", "payload archive exceeds the limit ...", "cannot
// write the payload archive"); what the sink holds is then incomplete.
bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options, ZipSink& sink,
              std::string* error);

// The same into memory: on failure *archive is left empty.
bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options,
              std::vector<uint8_t>* archive, std::string* error);

// The same into the file `path` (created or truncated). Sets *size to the
// archive's size. On failure the file is removed.
bool WriteZipFile(const std::vector<ZipSource>& entries, const ZipOptions& options,
                  const std::filesystem::path& path, uint64_t* size, std::string* error);

}  // namespace pack
