#include "tools/compression_pipeline.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <zlib.h>

#include "tools/deflater.h"
#include "runtime/payload_cipher.h"
#include "tools/zip_records.h"

namespace pack {
namespace {

constexpr size_t kEntriesAheadPerWorker = 64;

CompressedEntry CompressEntry(const ZipSource& source, const ZipOptions& options) {
  CompressedEntry entry;
  std::string error;
  uint64_t size = SourceSize(source, &error);
  if (!error.empty()) {
    entry.error = error;
    return entry;
  }
  if (StreamsEntry(source, size, options)) {
    entry.streamed = true;
    return entry;
  }
  std::vector<uint8_t> bytes;
  const uint8_t* data = source.bytes.data();
  size_t n = source.bytes.size();
  if (!source.path.empty()) {
    if (!ReadSource(source, &bytes, &entry.error)) return entry;
    data = bytes.data();
    n = bytes.size();
  }
  entry.size = n;
  entry.crc = static_cast<uint32_t>(crc32_z(0, data, n));
  entry.data.resize(kCipherHeaderSize);
  if (!DeflateWhole(data, n, options.level, &entry.data)) {
    entry.error = "deflate failed";
    entry.data = {};
    return entry;
  }
  std::vector<uint8_t>().swap(bytes);
  MakeCipherHeader(options.password, source.name, entry.size, entry.crc, entry.data.data());
  PayloadCipher cipher(options.password);
  cipher.Encipher(entry.data.data(), entry.data.size());
  return entry;
}

}  // namespace

uint64_t SourceSize(const ZipSource& source, std::string* error) {
  if (source.path.empty()) return source.bytes.size();
  std::error_code ec;
  uint64_t size = std::filesystem::file_size(source.path, ec);
  if (ec) {
    *error = ec.message();
    return 0;
  }
  return size;
}

bool StreamsEntry(const ZipSource& source, uint64_t size, const ZipOptions& options) {
  // Bytes given in memory are there already: nothing is gained by streaming.
  return !source.path.empty() && size > options.buffer_bytes / 3;
}

bool ReadSource(const ZipSource& source, std::vector<uint8_t>* bytes, std::string* error) {
  std::ifstream file(source.path, std::ios::binary);
  if (!file) {
    *error = "cannot open it for reading";
    return false;
  }
  // Read to the end rather than trusting the size: a file that grows or
  // shrinks meanwhile is still read whole and consistently.
  constexpr size_t kBlock = 1 << 20;
  bytes->clear();
  for (;;) {
    size_t at = bytes->size();
    bytes->resize(at + kBlock);
    file.read(reinterpret_cast<char*>(bytes->data() + at), static_cast<std::streamsize>(kBlock));
    if (file.bad()) {
      *error = "read error";
      return false;
    }
    bytes->resize(at + static_cast<size_t>(file.gcount()));
    if (file.eof()) return true;
  }
}

CompressionPipeline::CompressionPipeline(const std::vector<ZipSource>& entries,
                                         const ZipOptions& options)
    : entries_(entries), options_(options), results_(entries.size()) {
  cost_.reserve(entries.size());
  for (const ZipSource& source : entries) {
    std::string ignored;  // a failure is reported when the entry is compressed
    uint64_t size = SourceSize(source, &ignored);
    cost_.push_back(StreamsEntry(source, size, options) ? 0 : 2 * size);
  }
  int threads = options.threads > 0
                    ? options.threads
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  threads = std::min<int>(threads, static_cast<int>(std::max<size_t>(1, entries.size())));
  window_ = static_cast<size_t>(threads) * kEntriesAheadPerWorker;
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

CompressionPipeline::~CompressionPipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (auto& t : workers_) t.join();
}

CompressedEntry CompressionPipeline::Take(size_t i) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return results_[i].has_value(); });
  CompressedEntry entry = std::move(*results_[i]);
  results_[i].reset();
  taken_ = i + 1;
  in_flight_ -= cost_[i];
  lock.unlock();
  changed_.notify_all();
  return entry;
}

// An entry may start while it fits the buffer beside those in flight; when
// none is in flight it starts whatever its size, so that the work goes on.
bool CompressionPipeline::MayStart() const {
  if (next_ >= taken_ + window_) return false;
  return in_flight_ == 0 || in_flight_ + cost_[next_] <= options_.buffer_bytes;
}

void CompressionPipeline::Work() {
  for (;;) {
    size_t i;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || next_ >= entries_.size() || MayStart(); });
      if (stop_ || next_ >= entries_.size()) return;
      i = next_++;
      in_flight_ += cost_[i];
    }
    CompressedEntry entry = CompressEntry(entries_[i], options_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      // The source is gone: from now on the entry holds only its result.
      in_flight_ -= cost_[i];
      cost_[i] = entry.data.size();
      in_flight_ += cost_[i];
      results_[i] = std::move(entry);
    }
    changed_.notify_all();
  }
}

}  // namespace pack
