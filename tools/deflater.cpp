#include "tools/deflater.h"

#include <zlib.h>

#include <algorithm>

#if VELMORA_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

namespace pack {
namespace {

constexpr int kProbeLevel = 1;
constexpr size_t kProbeBytes = 4 * 1024;
constexpr size_t kProbeStride = 256 * 1024;  // whole entries: one sample per stride
constexpr double kStoreRatio = 0.97;         // at most 3 % gain: store instead
constexpr size_t kMaxStoredBlock = 0xFFFF;
constexpr size_t kPieceBytes = 64 * 1024;    // streamed entries decide per piece
constexpr size_t kOutChunk = 256 * 1024;

// The compressed size of `n` bytes at the fastest level.
size_t ProbeSize(const uint8_t* data, size_t n) {
  uint8_t out[kProbeBytes + 64];
  z_stream z{};
  if (deflateInit2(&z, kProbeLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out;
  z.avail_out = sizeof out;
  int ret = deflate(&z, Z_FINISH);
  size_t size = ret == Z_STREAM_END ? z.total_out : n + 64;
  deflateEnd(&z);
  return size;
}

bool SampleIncompressible(const uint8_t* data, size_t n) {
  size_t sample = std::min(n, kProbeBytes);
  if (sample < 512) return false;
  return static_cast<double>(ProbeSize(data, sample)) > kStoreRatio * static_cast<double>(sample);
}

// Whole entries are stored only when every sample across them is
// incompressible: a compressible stretch anywhere is worth the search.
bool AllSamplesIncompressible(const uint8_t* data, size_t n) {
  if (n < 512) return false;
  for (size_t at = 0; at < n; at += kProbeStride) {
    if (!SampleIncompressible(data + at, n - at)) return false;
  }
  return true;
}

#if VELMORA_HAVE_LIBDEFLATE
bool Compress(const uint8_t* data, size_t n, int level, std::vector<uint8_t>* out) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(std::clamp(level, 1, 12));
  if (c == nullptr) return false;
  size_t at = out->size();
  out->resize(at + libdeflate_deflate_compress_bound(c, n));
  size_t size = libdeflate_deflate_compress(c, data, n, out->data() + at, out->size() - at);
  libdeflate_free_compressor(c);
  out->resize(at + size);
  return size != 0;
}
#else
bool Compress(const uint8_t* data, size_t n, int level, std::vector<uint8_t>* out) {
  z_stream z{};
  if (deflateInit2(&z, std::clamp(level, 1, 9), Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return false;
  }
  size_t at = out->size();
  out->resize(at + deflateBound(&z, static_cast<uLong>(n)));
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out->data() + at;
  z.avail_out = static_cast<uInt>(out->size() - at);
  int ret = deflate(&z, Z_FINISH);
  out->resize(at + z.total_out);
  deflateEnd(&z);
  return ret == Z_STREAM_END;
}
#endif

}  // namespace

bool LooksIncompressible(const uint8_t* data, size_t n) { return SampleIncompressible(data, n); }

void AppendStoredBlocks(const uint8_t* data, size_t n, bool final, std::vector<uint8_t>* out) {
  size_t done = 0;
  do {
    size_t piece = std::min(kMaxStoredBlock, n - done);
    bool last = final && done + piece == n;
    // Header bits: BFINAL, then type 00; the block starts on a byte boundary.
    out->push_back(last ? 1 : 0);
    out->push_back(static_cast<uint8_t>(piece));
    out->push_back(static_cast<uint8_t>(piece >> 8));
    out->push_back(static_cast<uint8_t>(~piece));
    out->push_back(static_cast<uint8_t>(~piece >> 8));
    out->insert(out->end(), data + done, data + done + piece);
    done += piece;
  } while (done < n);
}

bool DeflateWhole(const uint8_t* data, size_t n, int level, std::vector<uint8_t>* out) {
  if (AllSamplesIncompressible(data, n)) {
    out->reserve(out->size() + n + (n / kMaxStoredBlock + 1) * 5);
    AppendStoredBlocks(data, n, true, out);
    return true;
  }
  return Compress(data, n, level, out);
}

struct StreamDeflater::State {
  int level = 9;
  int current = 9;
  bool ok = false;
  z_stream z{};
  Sink sink;
  std::vector<uint8_t> chunk = std::vector<uint8_t>(kOutChunk);

  // Hands what the last deflate call wrote to the sink and rewinds the chunk.
  bool Collect() {
    size_t n = static_cast<size_t>(z.next_out - chunk.data());
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    return n == 0 || sink(chunk.data(), n);
  }

  // deflateParams flushes what the old level holds; it asks for more room
  // until everything is out.
  bool SetLevel(int wanted) {
    z.next_in = nullptr;
    z.avail_in = 0;
    int ret;
    do {
      ret = deflateParams(&z, wanted, Z_DEFAULT_STRATEGY);
      if (!Collect()) return false;
    } while (ret == Z_BUF_ERROR);
    current = wanted;
    return ret == Z_OK;
  }

  bool FeedPiece(const uint8_t* data, size_t n, bool finish) {
    int wanted = n > 0 && SampleIncompressible(data, n) ? Z_NO_COMPRESSION : level;
    if (n > 0 && wanted != current && !SetLevel(wanted)) return false;
    z.next_in = const_cast<uint8_t*>(data);
    z.avail_in = static_cast<uInt>(n);
    int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    int ret;
    bool more;
    do {
      ret = deflate(&z, flush);
      bool full = z.avail_out == 0;
      if (!Collect()) return false;
      more = finish ? ret == Z_OK : (z.avail_in != 0 || full);
    } while (more);
    return !finish || ret == Z_STREAM_END;
  }
};

StreamDeflater::StreamDeflater(int level, Sink sink) : state_(std::make_unique<State>()) {
  state_->level = state_->current = std::clamp(level, 1, 9);
  state_->sink = std::move(sink);
  state_->ok = deflateInit2(&state_->z, state_->level, Z_DEFLATED, -MAX_WBITS, 8,
                            Z_DEFAULT_STRATEGY) == Z_OK;
  state_->z.next_out = state_->chunk.data();
  state_->z.avail_out = static_cast<uInt>(state_->chunk.size());
}

StreamDeflater::~StreamDeflater() {
  if (state_->ok) deflateEnd(&state_->z);
}

bool StreamDeflater::ok() const { return state_->ok; }

bool StreamDeflater::Feed(const uint8_t* data, size_t n, bool finish) {
  for (size_t done = 0; done < n; done += kPieceBytes) {
    if (!state_->FeedPiece(data + done, std::min(kPieceBytes, n - done), false)) return false;
  }
  return !finish || state_->FeedPiece(nullptr, 0, true);
}

}  // namespace pack
