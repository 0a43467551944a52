// Reading a 100 MB payload entry in the install engine's 102,400-byte blocks
// against plain zlib inflation of the same deflated data; the difference is
// what deciphering, the CRC-32 and the access layer cost.
//
// The archive is written with minizip's zip.h. Debian's minizip is built
// without its encryption code (zipOpenNewFileInZip3 with a password writes
// an unreadable entry), so the entry is written in raw mode with the
// encryption flag, and the bench deciphers the deflated bytes itself.
#include <benchmark/benchmark.h>
#include <minizip/zip.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "runtime/payload_archive.h"
#include "runtime/payload_test_support.h"

namespace {

constexpr size_t kEntrySize = 100 * 1000 * 1000;
constexpr char kPassword[] = "bench password";
constexpr uint32_t kPkwareEncrypted = 1;

// Half text that deflates well, half bytes that do not deflate at all.
std::string MakeContent() {
  std::string text;
  text.reserve(kEntrySize);
  for (int line = 0; text.size() < kEntrySize / 2; ++line) {
    text += "file " + std::to_string(line % 977) + " of folder " + std::to_string(line / 977) +
            ": installed by the setup, block " + std::to_string(line) + "\r\n";
  }
  text.resize(kEntrySize / 2);
  uint64_t seed = 88172645463325252ull;
  while (text.size() < kEntrySize) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    text.push_back(static_cast<char>(seed));
  }
  return text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// One deflated, enciphered entry "1*data.bin" written by zip.h.
std::string WriteArchive(const std::string& deflated, uint32_t crc) {
  char path[] = "/tmp/velmora-bench-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  close(fd);
  zipFile zip = zipOpen64(path, APPEND_STATUS_CREATE);
  zip_fileinfo info{};
  std::string body = payload_test::EncipherEntry(deflated, crc, kPassword);
  bool ok = zip != nullptr &&
            zipOpenNewFileInZip4_64(zip, "1*data.bin", &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, 6, 1, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr,
                                    0, 0, kPkwareEncrypted, 0) == ZIP_OK &&
            zipWriteInFileInZip(zip, body.data(), static_cast<unsigned>(body.size())) == ZIP_OK &&
            zipCloseFileInZipRaw64(zip, kEntrySize, crc) == ZIP_OK;
  if (zip != nullptr && zipClose(zip, nullptr) != ZIP_OK) ok = false;
  std::string archive = ReadFile(path);
  unlink(path);
  if (!ok) throw std::runtime_error("writing the archive failed");
  return archive;
}

struct BenchData {
  std::string deflated;
  std::string archive;
  BenchData() {
    std::string content = MakeContent();
    deflated = payload_test::Deflate(content, 6);
    archive = WriteArchive(deflated, payload_test::Crc32(content));
  }
};

const BenchData& Data() {
  static const BenchData data;
  return data;
}

void BM_ReadEntryInBlocks(benchmark::State& state) {
  const BenchData& data = Data();
  auto archive = OpenPayload(data.archive.data(), data.archive.size(), kPassword);
  if (archive == nullptr) {
    state.SkipWithError("cannot open the archive");
    return;
  }
  std::string block(kPayloadBlockSize, '\0');
  for (auto _ : state) {
    uint32_t status = kPayloadMoreData;
    size_t total = 0;
    while (status == kPayloadMoreData) {
      size_t bytesRead = 0;
      status = ReadEntry(archive.get(), 0, block.data(), block.size(), &bytesRead);
      total += bytesRead;
    }
    if (status != kPayloadOk || total != kEntrySize) {
      state.SkipWithError("the entry did not read back");
      return;
    }
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntrySize);
  state.counters["compressed_bytes"] = static_cast<double>(data.deflated.size());
}
BENCHMARK(BM_ReadEntryInBlocks)->Unit(benchmark::kMillisecond);

// The same deflated bytes, not enciphered, through inflate alone; with
// `withCrc` also the CRC-32 of the output, which the reader computes too.
void PlainInflate(benchmark::State& state, bool withCrc) {
  const BenchData& data = Data();
  std::string block(kPayloadBlockSize, '\0');
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.deflated.data()));
    z.avail_in = static_cast<uInt>(data.deflated.size());
    int result = Z_OK;
    uLong crc = 0;
    while (result == Z_OK) {
      z.next_out = reinterpret_cast<Bytef*>(block.data());
      z.avail_out = static_cast<uInt>(block.size());
      result = inflate(&z, Z_NO_FLUSH);
      if (withCrc) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(block.data()),
                    static_cast<uInt>(block.size() - z.avail_out));
      }
    }
    if (result != Z_STREAM_END || z.total_out != kEntrySize) {
      state.SkipWithError("inflate failed");
      return;
    }
    inflateEnd(&z);
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntrySize);
}

void BM_PlainInflate(benchmark::State& state) { PlainInflate(state, false); }
BENCHMARK(BM_PlainInflate)->Unit(benchmark::kMillisecond);

void BM_PlainInflateWithCrc(benchmark::State& state) { PlainInflate(state, true); }
BENCHMARK(BM_PlainInflateWithCrc)->Unit(benchmark::kMillisecond);

// Deciphering alone, over the deflated size: the part of the cost that the
// PKWARE scheme adds. Its keys depend on each deciphered byte in turn, so
// the work is one serial chain of multiplications and table look-ups.
void BM_DecipherOnly(benchmark::State& state) {
  const BenchData& data = Data();
  std::string copy = data.deflated;
  for (auto _ : state) {
    payload_test::PkwareCipher(kPassword).Decipher(copy);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * copy.size());
}
BENCHMARK(BM_DecipherOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
