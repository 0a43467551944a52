// Compresses the payload entries on worker threads and hands the results to
// the archive writer strictly in entry order. Memory stays bounded whatever
// the payload: workers start an entry only while the data of the entries
// in flight (read, compressed, or waiting to be written) stays within the
// options' buffer_bytes, and an entry too large to hold in memory is not
// compressed here at all: the writer streams it itself (zip_writer.cpp).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/zip_writer.h"

namespace pack {

// One entry ready to be placed: the cipher header and the enciphered
// deflate stream; or `streamed` when the writer must compress it itself; or
// the reason it could not be made.
struct CompressedEntry {
  std::vector<uint8_t> data;
  uint32_t crc = 0;
  uint64_t size = 0;
  bool streamed = false;
  std::string error;
};

// The size of the source's data: its file size, or its bytes; `*error` set
// (and 0 returned) when the file cannot be examined.
uint64_t SourceSize(const ZipSource& source, std::string* error);

// True when the file `source` of `size` bytes is too large to compress in
// memory under `options`.
bool StreamsEntry(const ZipSource& source, uint64_t size, const ZipOptions& options);

// Reads the whole source into *bytes; false with *error on a read failure.
bool ReadSource(const ZipSource& source, std::vector<uint8_t>* bytes, std::string* error);

class CompressionPipeline {
 public:
  CompressionPipeline(const std::vector<ZipSource>& entries, const ZipOptions& options);
  ~CompressionPipeline();
  CompressionPipeline(const CompressionPipeline&) = delete;
  CompressionPipeline& operator=(const CompressionPipeline&) = delete;

  // Waits for entry `i` (taken in order 0, 1, 2, ...) and hands it over.
  CompressedEntry Take(size_t i);

 private:
  void Work();
  bool MayStart() const;

  const std::vector<ZipSource>& entries_;
  const ZipOptions& options_;
  std::vector<uint64_t> cost_;  // bytes an entry holds while in flight
  std::vector<std::optional<CompressedEntry>> results_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;
  size_t taken_ = 0;
  // Entries started ahead of the one the writer waits for: wide enough that
  // one large entry being compressed does not leave the other workers idle;
  // the memory stays bounded by buffer_bytes.
  size_t window_ = 2;
  uint64_t in_flight_ = 0;
  bool stop_ = false;
};

}  // namespace pack
