// Raw deflate streams (no zlib or gzip wrapper) for the payload entries.
//
// Entries that fit in memory are compressed whole (DeflateWhole): with
// libdeflate where the build has it, which compresses text about four times
// faster than zlib at its best level and slightly smaller. Larger entries go
// through StreamDeflater (zlib), which holds only a block at a time.
//
// Both first try a small sample of the data at the fastest setting: data that
// does not shrink (already compressed files, random bytes) is stored in the
// deflate stream instead of searched for matches. The output then stays the
// same size within a few bytes at a fraction of the work, and since the choice
// depends only on the data the result stays reproducible.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pack {

// Compresses `n` bytes at `level` (1..9; 10..12 where libdeflate is used)
// appending to *out. Returns false only when the compressor
// cannot be set up (out of memory).
bool DeflateWhole(const uint8_t* data, size_t n, int level, std::vector<uint8_t>* out);

// A deflate stream fed block by block; every piece of output goes to `sink`
// as soon as it is made.
class StreamDeflater {
 public:
  using Sink = std::function<bool(const uint8_t* data, size_t n)>;
  StreamDeflater(int level, Sink sink);
  ~StreamDeflater();
  StreamDeflater(const StreamDeflater&) = delete;
  StreamDeflater& operator=(const StreamDeflater&) = delete;

  // False when zlib could not be set up.
  bool ok() const;
  // Compresses `n` bytes; `finish` ends the stream. False when zlib or the
  // sink fails.
  bool Feed(const uint8_t* data, size_t n, bool finish);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// True when a sample at the start of `data` does not shrink by at least 3 %
// at the fastest level: such data is stored rather than searched.
bool LooksIncompressible(const uint8_t* data, size_t n);

// Appends `n` bytes as stored deflate blocks; `final` marks the last block.
void AppendStoredBlocks(const uint8_t* data, size_t n, bool final, std::vector<uint8_t>* out);

}  // namespace pack
