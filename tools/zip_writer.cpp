#include "tools/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

#include "runtime/payload_cipher.h"
#include "tools/compression_pipeline.h"
#include "tools/deflater.h"
#include "tools/path_text.h"

namespace pack {
namespace {

constexpr uint64_t kMaxEntryBytes = 0xFFFFFFFFu;
constexpr size_t kMaxNameBytes = 0xFFFF;
constexpr size_t kMaxEntries = 0xFFFF;
constexpr size_t kStreamBlock = 1 << 20;

class VectorSink : public ZipSink {
 public:
  explicit VectorSink(std::vector<uint8_t>* out) : out_(out) {}
  bool Write(const uint8_t* data, size_t n) override {
    out_->insert(out_->end(), data, data + n);
    return true;
  }
  bool Patch(uint64_t offset, const uint8_t* data, size_t n) override {
    if (offset + n > out_->size()) return false;
    std::memcpy(out_->data() + offset, data, n);
    return true;
  }
  uint64_t Size() const override { return out_->size(); }

 private:
  std::vector<uint8_t>* out_;
};

class FileSink : public ZipSink {
 public:
  explicit FileSink(const std::filesystem::path& path)
      : file_(path, std::ios::binary | std::ios::trunc | std::ios::in | std::ios::out) {}
  bool ok() const { return static_cast<bool>(file_); }
  bool Write(const uint8_t* data, size_t n) override {
    file_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
    size_ += n;
    return static_cast<bool>(file_);
  }
  bool Patch(uint64_t offset, const uint8_t* data, size_t n) override {
    file_.seekp(static_cast<std::streamoff>(offset));
    file_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
    file_.seekp(static_cast<std::streamoff>(size_));
    return static_cast<bool>(file_);
  }
  uint64_t Size() const override { return size_; }
  bool Close() {
    file_.close();
    return !file_.fail();
  }

 private:
  std::fstream file_;
  uint64_t size_ = 0;
};

std::string Describe(const ZipSource& source) {
  std::string what = "'" + (source.path.empty() ? source.name : PathToUtf8(source.path)) + "'";
  if (!source.label.empty()) what += " (" + source.label + ")";
  return what;
}

std::string LimitMessage(uint64_t limit, const std::string& at) {
  return "payload archive exceeds the limit of " + std::to_string(limit >> 20) +
         " MiB (reached with '" + at + "'); a 32-bit setup cannot map a larger payload";
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

// Calls `use` with every block of the file; false with *error on a read
// failure or when `use` refuses.
template <typename Use>
bool ForEachBlock(const ZipSource& source, std::vector<uint8_t>* block, Use use,
                  std::string* error) {
  std::ifstream file(source.path, std::ios::binary);
  if (!file) {
    *error = "cannot open it for reading";
    return false;
  }
  for (;;) {
    file.read(reinterpret_cast<char*>(block->data()), static_cast<std::streamsize>(block->size()));
    if (file.bad()) {
      *error = "read error";
      return false;
    }
    size_t got = static_cast<size_t>(file.gcount());
    if (!use(block->data(), got, got == 0)) return false;
    if (got == 0) return true;
  }
}

// Archive writing in entry order, with the running checks.
class ArchiveWriter {
 public:
  ArchiveWriter(const ZipOptions& options, ZipSink& sink, std::string* error)
      : options_(options), sink_(sink), error_(error) {}

  bool Put(const ZipSource& source, CompressedEntry entry);
  bool Finish(const std::vector<ZipSource>& entries);

 private:
  bool Fits(uint64_t more, const std::string& at);
  bool WriteBytes(const std::vector<uint8_t>& bytes);
  bool PutStreamed(const ZipSource& source);

  const ZipOptions& options_;
  ZipSink& sink_;
  std::string* error_;
  std::vector<EntryRecord> records_;
};

bool ArchiveWriter::Fits(uint64_t more, const std::string& at) {
  if (sink_.Size() + more <= options_.max_bytes) return true;
  *error_ = LimitMessage(options_.max_bytes, at);
  return false;
}

bool ArchiveWriter::WriteBytes(const std::vector<uint8_t>& bytes) {
  if (sink_.Write(bytes.data(), bytes.size())) return true;
  *error_ = "cannot write the payload archive";
  return false;
}

bool ArchiveWriter::Put(const ZipSource& source, CompressedEntry entry) {
  if (!entry.error.empty()) {
    *error_ = "cannot read " + Describe(source) + ": " + entry.error;
    return false;
  }
  if (entry.streamed) return PutStreamed(source);
  if (entry.size > kMaxEntryBytes) {
    *error_ = "cannot read " + Describe(source) + ": larger than 4 GiB";
    return false;
  }
  if (!Fits(kLocalHeaderSize + source.name.size() + entry.data.size(), source.name)) return false;
  EntryRecord r{entry.crc, static_cast<uint32_t>(entry.data.size()),
                static_cast<uint32_t>(entry.size), DosDateTime(source.unix_time),
                static_cast<uint32_t>(sink_.Size())};
  std::vector<uint8_t> header;
  PutLocalHeader(source.name, r, &header);
  if (!WriteBytes(header) || !WriteBytes(entry.data)) return false;
  records_.push_back(r);
  return true;
}

// An entry too large for memory: a first pass for the CRC (which the cipher
// header needs before any data), a second that compresses, enciphers and
// writes block by block; the compressed size is patched in afterwards.
bool ArchiveWriter::PutStreamed(const ZipSource& source) {
  std::vector<uint8_t> block(kStreamBlock);
  std::string why;
  uint32_t crc = 0;
  uint64_t size = 0;
  auto sum = [&](const uint8_t* data, size_t n, bool) {
    crc = static_cast<uint32_t>(crc32_z(crc, data, n));
    size += n;
    return size <= kMaxEntryBytes;
  };
  if (!ForEachBlock(source, &block, sum, &why)) {
    *error_ = "cannot read " + Describe(source) + ": " + (why.empty() ? "larger than 4 GiB" : why);
    return false;
  }
  EntryRecord r{crc, 0, static_cast<uint32_t>(size), DosDateTime(source.unix_time),
                static_cast<uint32_t>(sink_.Size())};
  std::vector<uint8_t> header;
  PutLocalHeader(source.name, r, &header);
  uint8_t cipher_header[kCipherHeaderSize];
  MakeCipherHeader(options_.password, source.name, size, crc, cipher_header);
  PayloadCipher cipher(options_.password);
  cipher.Encipher(cipher_header, kCipherHeaderSize);
  if (!Fits(header.size() + kCipherHeaderSize, source.name) || !WriteBytes(header) ||
      !WriteBytes(std::vector<uint8_t>(cipher_header, cipher_header + kCipherHeaderSize))) {
    return false;
  }
  uint64_t data_start = sink_.Size() - kCipherHeaderSize;
  bool over_limit = false;
  bool write_failed = false;
  std::vector<uint8_t> piece;
  StreamDeflater deflater(options_.level, [&](const uint8_t* data, size_t n) {
    piece.assign(data, data + n);
    cipher.Encipher(piece.data(), n);
    over_limit = sink_.Size() + n > options_.max_bytes;
    write_failed = !over_limit && !sink_.Write(piece.data(), n);
    return !over_limit && !write_failed;
  });
  uint32_t crc_again = 0;
  uint64_t size_again = 0;
  auto compress = [&](const uint8_t* data, size_t n, bool last) {
    crc_again = static_cast<uint32_t>(crc32_z(crc_again, data, n));
    size_again += n;
    return size_again <= size && deflater.Feed(data, n, last);
  };
  if (!deflater.ok() || !ForEachBlock(source, &block, compress, &why)) {
    if (over_limit) *error_ = LimitMessage(options_.max_bytes, source.name);
    if (write_failed) *error_ = "cannot write the payload archive";
    if (over_limit || write_failed) return false;
    *error_ = "cannot read " + Describe(source) + ": " + (why.empty() ? "deflate failed" : why);
    return false;
  }
  if (crc_again != crc || size_again != size) {
    *error_ = "cannot read " + Describe(source) + ": it changed while it was packed";
    return false;
  }
  uint64_t compressed = sink_.Size() - data_start;
  r.compressed = static_cast<uint32_t>(compressed);
  uint8_t field[4];
  for (int i = 0; i < 4; ++i) field[i] = static_cast<uint8_t>(r.compressed >> (8 * i));
  if (!sink_.Patch(r.offset + kLocalCompressedSizeOffset, field, sizeof field)) {
    *error_ = "cannot write the payload archive";
    return false;
  }
  records_.push_back(r);
  return true;
}

bool ArchiveWriter::Finish(const std::vector<ZipSource>& entries) {
  uint64_t central_start = sink_.Size();
  std::vector<uint8_t> central;
  for (size_t i = 0; i < entries.size(); ++i) PutCentralRecord(entries[i].name, records_[i], &central);
  uint64_t central_size = central.size();
  PutEndRecord(static_cast<uint16_t>(entries.size()), static_cast<uint32_t>(central_size),
               static_cast<uint32_t>(central_start), &central);
  if (!Fits(central.size(), "the central directory")) return false;
  return WriteBytes(central);
}

}  // namespace

bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options, ZipSink& sink,
              std::string* error) {
  if (!CheckNames(entries, error)) return false;
  ArchiveWriter writer(options, sink, error);
  {
    CompressionPipeline pipeline(entries, options);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!writer.Put(entries[i], pipeline.Take(i))) return false;
    }
  }
  return writer.Finish(entries);
}

bool WriteZip(const std::vector<ZipSource>& entries, const ZipOptions& options,
              std::vector<uint8_t>* archive, std::string* error) {
  archive->clear();
  std::vector<uint8_t> out;
  VectorSink sink(&out);
  if (!WriteZip(entries, options, sink, error)) return false;
  *archive = std::move(out);
  return true;
}

bool WriteZipFile(const std::vector<ZipSource>& entries, const ZipOptions& options,
                  const std::filesystem::path& path, uint64_t* size, std::string* error) {
  bool ok;
  {
    FileSink sink(path);
    if (!sink.ok()) {
      *error = "cannot create '" + PathToUtf8(path) + "'";
      return false;
    }
    ok = WriteZip(entries, options, sink, error);
    *size = sink.Size();
    if (ok && !sink.Close()) {
      *error = "cannot write '" + PathToUtf8(path) + "'";
      ok = false;
    }
  }
  if (!ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return ok;
}

}  // namespace pack
