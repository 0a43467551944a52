#include "tools/zip_reader.h"

#include <minizip/unzip.h>
#include <zlib.h>


#include "runtime/payload_cipher.h"
#include "runtime/zip_memory_io.h"

namespace pack {
namespace {

constexpr size_t kReadBlock = 1 << 16;
constexpr uLong kMaxNameBytes = 0xFFFF;

// An open minizip handle over the archive, closed on scope exit.
class MemoryUnzip {
 public:
  explicit MemoryUnzip(const std::vector<uint8_t>& archive)
      : stream_{archive.data(), archive.size(), 0} {
    file_ = OpenZipInMemory(&stream_);
  }
  ~MemoryUnzip() {
    if (file_) unzClose(file_);
  }
  MemoryUnzip(const MemoryUnzip&) = delete;
  MemoryUnzip& operator=(const MemoryUnzip&) = delete;

  unzFile get() const { return file_; }

 private:
  ZipMemoryStream stream_;
  unzFile file_ = nullptr;
};

bool CurrentInfo(unzFile file, ZipEntryInfo* entry) {
  unz_file_info64 info{};
  std::string name(kMaxNameBytes + 1, '\0');
  if (unzGetCurrentFileInfo64(file, &info, name.data(), kMaxNameBytes + 1, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  name.resize(info.size_filename);
  entry->name = name;
  entry->size = info.uncompressed_size;
  entry->compressed = info.compressed_size;
  entry->crc = static_cast<uint32_t>(info.crc);
  entry->method = static_cast<int>(info.compression_method);
  entry->enciphered = (info.flag & 1) != 0;
  entry->utf8_name = (info.flag & 0x800) != 0;
  entry->dos_time = static_cast<uint32_t>(info.dosDate);
  return true;
}

std::string ReadError(int status) {
  switch (status) {
    case UNZ_CRCERROR: return "CRC mismatch (wrong password or damaged data)";
    case Z_DATA_ERROR: return "damaged data or wrong password";
    case UNZ_BADZIPFILE: return "damaged archive";
    case UNZ_PARAMERROR: return "bad arguments";
    default: return "read error " + std::to_string(status);
  }
}

// Deciphers and inflates the raw bytes of an entry block by block and
// checks the cipher header and the CRC. Debian's minizip is built without
// its decryption code, so minizip only delivers the raw stored bytes here.
class EntryDecoder {
 public:
  EntryDecoder(const std::string& password, const ZipEntryInfo& info)
      : cipher_(password), info_(info) {
    inflateInit2(&z_, -MAX_WBITS);
  }
  ~EntryDecoder() { inflateEnd(&z_); }

  template <typename Sink>
  bool Feed(uint8_t* data, size_t n, Sink sink, std::string* error) {
    if (info_.enciphered) cipher_.Decipher(data, data, n);
    while (n > 0 && header_used_ < kCipherHeaderSize && info_.enciphered) {
      if (++header_used_ == kCipherHeaderSize && *data != static_cast<uint8_t>(info_.crc >> 24)) {
        *error = "wrong password (cipher header check byte)";
        return false;
      }
      ++data;
      --n;
    }
    if (info_.method == 0) {
      Deliver(data, n, sink);
      return true;
    }
    z_.next_in = data;
    z_.avail_in = static_cast<uInt>(n);
    while (z_.avail_in > 0 && !ended_) {
      uint8_t out[kReadBlock];
      z_.next_out = out;
      z_.avail_out = sizeof out;
      int status = inflate(&z_, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) {
        *error = "damaged deflate data or wrong password";
        return false;
      }
      ended_ = status == Z_STREAM_END;
      Deliver(out, sizeof out - z_.avail_out, sink);
    }
    return true;
  }

  bool Finish(std::string* error) {
    if (info_.method != 0 && !ended_) {
      *error = "deflate data ends early";
      return false;
    }
    if (crc_ != info_.crc || size_ != info_.size) {
      *error = "CRC or size mismatch";
      return false;
    }
    return true;
  }

 private:
  static constexpr size_t kCipherHeaderSize = 12;

  template <typename Sink>
  void Deliver(const uint8_t* p, size_t n, Sink sink) {
    crc_ = static_cast<uint32_t>(crc32(crc_, p, static_cast<uInt>(n)));
    size_ += n;
    if (n) sink(p, n);
  }

  PayloadCipher cipher_;
  ZipEntryInfo info_;
  z_stream z_{};
  size_t header_used_ = 0;
  bool ended_ = false;
  uint32_t crc_ = 0;
  uint64_t size_ = 0;
};

// Reads the current entry whole; `sink` receives each block.
template <typename Sink>
bool ReadCurrent(unzFile file, const std::string& password, Sink sink, std::string* error) {
  ZipEntryInfo info;
  if (!CurrentInfo(file, &info)) {
    *error = "damaged central directory";
    return false;
  }
  if (info.method != 0 && info.method != Z_DEFLATED) {
    *error = "unsupported method " + std::to_string(info.method);
    return false;
  }
  int method = 0;
  int level = 0;
  int status = unzOpenCurrentFile2(file, &method, &level, 1);
  if (status != UNZ_OK) {
    *error = "cannot open the entry: " + ReadError(status);
    return false;
  }
  EntryDecoder decoder(password, info);
  std::vector<uint8_t> block(kReadBlock);
  bool ok = true;
  for (;;) {
    int got = unzReadCurrentFile(file, block.data(), static_cast<unsigned>(block.size()));
    if (got < 0) {
      *error = ReadError(got);
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!decoder.Feed(block.data(), static_cast<size_t>(got), sink, error)) {
      ok = false;
      break;
    }
  }
  unzCloseCurrentFile(file);
  return ok && decoder.Finish(error);
}

}  // namespace

bool ListZip(const std::vector<uint8_t>& archive, std::vector<ZipEntryInfo>* entries,
             std::string* error) {
  entries->clear();
  MemoryUnzip zip(archive);
  if (!zip.get()) {
    *error = "not a ZIP archive";
    return false;
  }
  for (int status = unzGoToFirstFile(zip.get()); status == UNZ_OK; status = unzGoToNextFile(zip.get())) {
    ZipEntryInfo entry;
    if (!CurrentInfo(zip.get(), &entry)) {
      *error = "damaged central directory";
      return false;
    }
    entries->push_back(entry);
  }
  return true;
}

bool ReadZipEntry(const std::vector<uint8_t>& archive, const std::string& name,
                  const std::string& password, std::vector<uint8_t>* data, std::string* error) {
  data->clear();
  MemoryUnzip zip(archive);
  if (!zip.get()) {
    *error = "not a ZIP archive";
    return false;
  }
  if (unzLocateFile(zip.get(), name.c_str(), 1) != UNZ_OK) {
    *error = "no entry '" + name + "'";
    return false;
  }
  auto keep = [&](const uint8_t* p, size_t n) { data->insert(data->end(), p, p + n); };
  if (!ReadCurrent(zip.get(), password, keep, error)) {
    *error = "entry '" + name + "': " + *error;
    return false;
  }
  return true;
}

}  // namespace pack
