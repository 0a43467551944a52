#include "tools/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "tools/path_text.h"
#include "tools/pkware_cipher.h"

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
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndOfCentralSize = 22;
constexpr size_t kCipherHeaderSize = 12;
constexpr size_t kReadBlock = 1 << 20;
constexpr uint64_t kMaxEntryBytes = 0xFFFFFFFFu;
constexpr size_t kMaxNameBytes = 0xFFFF;
constexpr size_t kMaxEntries = 0xFFFF;

// An entry ready to be placed: the cipher header and the enciphered
// deflate stream, or the reason it could not be made.
struct CompressedEntry {
  std::vector<uint8_t> data;
  uint32_t crc = 0;
  uint64_t size = 0;
  std::string error;
};

struct CentralRecord {
  uint32_t crc;
  uint32_t compressed;
  uint32_t size;
  uint32_t dos_time;
  uint32_t offset;
};

void Put16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutBytes(std::vector<uint8_t>* out, const void* data, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  out->insert(out->end(), p, p + n);
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

// The 12 plain bytes that precede the enciphered data. Readers check only
// the last one (the CRC's high byte); the others must merely differ between
// entries, so a hash stands in for the usual random bytes.
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

// Compresses one entry into a raw deflate stream. Each input block is first
// tried on a small sample at the fastest level; a block that does not shrink
// (already compressed files, random bytes) is stored inside the deflate
// stream instead of searched for matches. The output is then the same size
// within a few bytes at a fraction of the work, and since the choice depends
// only on the data the result stays reproducible.
class Deflater {
 public:
  explicit Deflater(int level) : level_(level), current_(level), chunk_(kReadBlock / 4) {
    ok_ = deflateInit2(&z_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK &&
          deflateInit2(&probe_, kProbeLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    z_.next_out = chunk_.data();
    z_.avail_out = static_cast<uInt>(chunk_.size());
  }
  ~Deflater() {
    deflateEnd(&z_);
    deflateEnd(&probe_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  bool ok() const { return ok_; }

  // Compresses `n` bytes, appending to *out; `finish` ends the stream.
  bool Feed(const uint8_t* data, size_t n, bool finish, std::vector<uint8_t>* out) {
    for (size_t done = 0; done < n; done += kPieceBytes) {
      size_t piece = std::min(kPieceBytes, n - done);
      if (!FeedPiece(data + done, piece, false, out)) return false;
    }
    return !finish || FeedPiece(nullptr, 0, true, out);
  }

 private:
  static constexpr int kProbeLevel = 1;
  static constexpr size_t kPieceBytes = 64 * 1024;
  static constexpr size_t kProbeBytes = 4 * 1024;
  static constexpr double kStoreRatio = 0.97;  // at most 3% gain: store instead

  bool FeedPiece(const uint8_t* data, size_t n, bool finish, std::vector<uint8_t>* out) {
    int wanted = n > 0 && LooksIncompressible(data, n) ? Z_NO_COMPRESSION : level_;
    if (n > 0 && wanted != current_ && !SetLevel(wanted, out)) return false;
    z_.next_in = const_cast<uint8_t*>(data);
    z_.avail_in = static_cast<uInt>(n);
    int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    int ret;
    bool more;
    do {
      ret = deflate(&z_, flush);
      bool full = z_.avail_out == 0;
      Collect(out);
      more = finish ? ret == Z_OK : (z_.avail_in != 0 || full);
    } while (more);
    return !finish || ret == Z_STREAM_END;
  }

  bool LooksIncompressible(const uint8_t* data, size_t n) {
    size_t sample = std::min(n, kProbeBytes);
    if (sample < 512) return false;
    probe_out_.resize(deflateBound(&probe_, static_cast<uLong>(sample)));
    deflateReset(&probe_);
    probe_.next_in = const_cast<uint8_t*>(data);
    probe_.avail_in = static_cast<uInt>(sample);
    probe_.next_out = probe_out_.data();
    probe_.avail_out = static_cast<uInt>(probe_out_.size());
    if (deflate(&probe_, Z_FINISH) != Z_STREAM_END) return false;
    return static_cast<double>(probe_.total_out) > kStoreRatio * static_cast<double>(sample);
  }

  // deflateParams flushes what the old level holds; it asks for more room
  // until everything is out.
  bool SetLevel(int level, std::vector<uint8_t>* out) {
    z_.next_in = nullptr;
    z_.avail_in = 0;
    int ret;
    do {
      ret = deflateParams(&z_, level, Z_DEFAULT_STRATEGY);
      Collect(out);
    } while (ret == Z_BUF_ERROR);
    current_ = level;
    return ret == Z_OK;
  }

  // Appends what the last deflate call wrote and gives it a fresh chunk.
  void Collect(std::vector<uint8_t>* out) {
    out->insert(out->end(), chunk_.data(), z_.next_out);
    z_.next_out = chunk_.data();
    z_.avail_out = static_cast<uInt>(chunk_.size());
  }

  int level_;
  int current_;
  bool ok_ = false;
  z_stream z_{};
  z_stream probe_{};
  std::vector<uint8_t> chunk_;
  std::vector<uint8_t> probe_out_;
};

// Deflates everything `read` delivers into `out` (after what it holds).
// `read` fills the buffer and returns the number of bytes, 0 at the end, or
// -1 on a read error.
template <typename Reader>
bool Deflate(Reader read, int level, std::vector<uint8_t>* out, uint32_t* crc, uint64_t* size,
             std::string* error) {
  Deflater deflater(level);
  if (!deflater.ok()) {
    *error = "cannot start the deflate stream";
    return false;
  }
  std::vector<uint8_t> in(kReadBlock);
  *crc = crc32(0, nullptr, 0);
  *size = 0;
  for (;;) {
    long got = read(in.data(), in.size());
    if (got < 0) {
      *error = "read error";
      return false;
    }
    *crc = crc32(*crc, in.data(), static_cast<uInt>(got));
    *size += static_cast<uint64_t>(got);
    if (*size > kMaxEntryBytes) {
      *error = "larger than 4 GiB";
      return false;
    }
    if (!deflater.Feed(in.data(), static_cast<size_t>(got), got == 0, out)) {
      *error = "deflate failed";
      return false;
    }
    if (got == 0) return true;
  }
}

CompressedEntry CompressEntry(const ZipSource& source, const ZipOptions& options) {
  CompressedEntry entry;
  entry.data.resize(kCipherHeaderSize);
  bool ok;
  if (source.path.empty()) {
    size_t pos = 0;
    auto read = [&](uint8_t* buf, size_t cap) -> long {
      size_t n = std::min(cap, source.bytes.size() - pos);
      if (n) std::memcpy(buf, source.bytes.data() + pos, n);
      pos += n;
      return static_cast<long>(n);
    };
    entry.data.reserve(kCipherHeaderSize + compressBound(static_cast<uLong>(source.bytes.size())));
    ok = Deflate(read, options.level, &entry.data, &entry.crc, &entry.size, &entry.error);
  } else {
    std::error_code ec;
    uint64_t expected = std::filesystem::file_size(source.path, ec);
    if (ec) {
      entry.error = ec.message();
      return entry;
    }
    std::ifstream file(source.path, std::ios::binary);
    if (!file) {
      entry.error = "cannot open it for reading";
      return entry;
    }
    if (expected < kMaxEntryBytes) {
      entry.data.reserve(kCipherHeaderSize + expected + expected / 1000 + 64);
    }
    auto read = [&](uint8_t* buf, size_t cap) -> long {
      file.read(reinterpret_cast<char*>(buf), static_cast<std::streamsize>(cap));
      if (file.bad()) return -1;
      return static_cast<long>(file.gcount());
    };
    ok = Deflate(read, options.level, &entry.data, &entry.crc, &entry.size, &entry.error);
  }
  if (!ok) {
    entry.data = {};
    return entry;
  }
  uint8_t header[kCipherHeaderSize];
  MakeCipherHeader(options.password, source.name, entry.size, entry.crc, header);
  std::memcpy(entry.data.data(), header, kCipherHeaderSize);
  PkwareCipher cipher(options.password);
  cipher.Encrypt(entry.data.data(), entry.data.size());
  return entry;
}

std::string Describe(const ZipSource& source) {
  std::string what = "'" + (source.path.empty() ? source.name : PathToUtf8(source.path)) + "'";
  if (!source.label.empty()) what += " (" + source.label + ")";
  return what;
}

std::string LimitMessage(uint64_t limit, const std::string& at) {
  return "payload archive exceeds the limit of " + std::to_string(limit >> 20) +
         " MiB (reached with '" + at + "'); a 32-bit setup cannot map a larger payload";
}

// Runs the compression of every entry on worker threads and hands the
// results to the writer strictly in entry order. At most `window` results
// wait at any time, so memory stays bounded by a few entries, not the
// whole payload.
class CompressionPipeline {
 public:
  CompressionPipeline(const std::vector<ZipSource>& entries, const ZipOptions& options)
      : entries_(entries), options_(options), results_(entries.size()) {
    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min<int>(threads, static_cast<int>(std::max<size_t>(1, entries.size())));
    window_ = static_cast<size_t>(threads) * 2;
    for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
  }

  ~CompressionPipeline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (auto& t : workers_) t.join();
  }

  // Waits for entry `i` (taken in order 0, 1, 2, ...) and hands it over.
  CompressedEntry Take(size_t i) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return results_[i].has_value(); });
    CompressedEntry entry = std::move(*results_[i]);
    results_[i].reset();
    taken_ = i + 1;
    lock.unlock();
    changed_.notify_all();
    return entry;
  }

 private:
  void Work() {
    for (;;) {
      size_t i;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] {
          return stop_ || next_ >= entries_.size() || next_ < taken_ + window_;
        });
        if (stop_ || next_ >= entries_.size()) return;
        i = next_++;
      }
      CompressedEntry entry = CompressEntry(entries_[i], options_);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        results_[i] = std::move(entry);
      }
      changed_.notify_all();
    }
  }

  const std::vector<ZipSource>& entries_;
  const ZipOptions& options_;
  std::vector<std::optional<CompressedEntry>> results_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;
  size_t taken_ = 0;
  size_t window_ = 2;
  bool stop_ = false;
};

void PutLocalHeader(const ZipSource& source, const CentralRecord& r, std::vector<uint8_t>* out) {
  Put32(out, kLocalHeaderSignature);
  Put16(out, kVersionNeeded);
  Put16(out, kFlagEnciphered | kFlagUtf8Name);
  Put16(out, kMethodDeflate);
  Put32(out, r.dos_time);
  Put32(out, r.crc);
  Put32(out, r.compressed);
  Put32(out, r.size);
  Put16(out, static_cast<uint16_t>(source.name.size()));
  Put16(out, 0);
  PutBytes(out, source.name.data(), source.name.size());
}

void PutCentralRecord(const ZipSource& source, const CentralRecord& r, std::vector<uint8_t>* out) {
  Put32(out, kCentralHeaderSignature);
  Put16(out, kVersionMadeBy);
  Put16(out, kVersionNeeded);
  Put16(out, kFlagEnciphered | kFlagUtf8Name);
  Put16(out, kMethodDeflate);
  Put32(out, r.dos_time);
  Put32(out, r.crc);
  Put32(out, r.compressed);
  Put32(out, r.size);
  Put16(out, static_cast<uint16_t>(source.name.size()));
  Put16(out, 0);  // extra field
  Put16(out, 0);  // comment
  Put16(out, 0);  // disk number
  Put16(out, 0);  // internal attributes
  Put32(out, 0);  // external attributes
  Put32(out, r.offset);
  PutBytes(out, source.name.data(), source.name.size());
}

uint64_t EstimateSize(const std::vector<ZipSource>& entries, uint64_t limit) {
  uint64_t total = kEndOfCentralSize;
  for (const ZipSource& s : entries) {
    std::error_code ec;
    uint64_t size = s.path.empty() ? s.bytes.size() : std::filesystem::file_size(s.path, ec);
    if (ec) size = 0;
    total += size + size / 1000 + 64 + kCipherHeaderSize + kLocalHeaderSize + kCentralHeaderSize +
             2 * s.name.size();
    if (total > limit) return limit;
  }
  return total;
}

bool CheckNames(const std::vector<ZipSource>& entries, std::string* error) {
  if (entries.size() > kMaxEntries) {
    *error = "too many payload entries (" + std::to_string(entries.size()) + "; at most " +
             std::to_string(kMaxEntries) + ")";
    return false;
  }
  for (const ZipSource& s : entries) {
    if (s.name.empty() || s.name.size() > kMaxNameBytes) {
      *error = "payload entry name of " + Describe(s) + " is empty or longer than 65535 bytes";
      return false;
    }
  }
  return true;
}

}  // namespace

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

bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options,
              std::vector<uint8_t>* archive, std::string* error) {
  archive->clear();
  if (!CheckNames(entries, error)) return false;
  std::vector<uint8_t> out;
  out.reserve(EstimateSize(entries, options.max_bytes));
  std::vector<CentralRecord> records;
  records.reserve(entries.size());
  {
    CompressionPipeline pipeline(entries, options);
    for (size_t i = 0; i < entries.size(); ++i) {
      const ZipSource& source = entries[i];
      CompressedEntry entry = pipeline.Take(i);
      if (!entry.error.empty()) {
        *error = "cannot read " + Describe(source) + ": " + entry.error;
        return false;
      }
      if (out.size() + kLocalHeaderSize + source.name.size() + entry.data.size() > options.max_bytes) {
        *error = LimitMessage(options.max_bytes, source.name);
        return false;
      }
      CentralRecord r{entry.crc, static_cast<uint32_t>(entry.data.size()),
                      static_cast<uint32_t>(entry.size), DosDateTime(source.unix_time),
                      static_cast<uint32_t>(out.size())};
      PutLocalHeader(source, r, &out);
      PutBytes(&out, entry.data.data(), entry.data.size());
      records.push_back(r);
    }
  }
  uint64_t central_start = out.size();
  for (size_t i = 0; i < entries.size(); ++i) PutCentralRecord(entries[i], records[i], &out);
  uint64_t central_size = out.size() - central_start;
  Put32(&out, kEndOfCentralSignature);
  Put16(&out, 0);  // this disk
  Put16(&out, 0);  // disk of the central directory
  Put16(&out, static_cast<uint16_t>(entries.size()));
  Put16(&out, static_cast<uint16_t>(entries.size()));
  Put32(&out, static_cast<uint32_t>(central_size));
  Put32(&out, static_cast<uint32_t>(central_start));
  Put16(&out, 0);  // comment length
  if (out.size() > options.max_bytes) {
    *error = LimitMessage(options.max_bytes, "the central directory");
    return false;
  }
  *archive = std::move(out);
  return true;
}

}  // namespace pack
