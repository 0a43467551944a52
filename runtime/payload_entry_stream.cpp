#include "runtime/payload_entry_stream.h"

#include <algorithm>
#include <cstring>

#include "runtime/payload_archive.h"

namespace {

constexpr size_t kEncryptionHeaderSize = 12;
// zlib counts in uInt; stay well inside it.
constexpr size_t kLargestZlibPiece = 1u << 30;

}  // namespace

PayloadEntryStream::~PayloadEntryStream() {
  if (zstreamReady_) inflateEnd(&zstream_);
}

void PayloadEntryStream::Reset() {
  started_ = false;
  streamEnded_ = false;
  cursor_ = nullptr;
  remaining_ = 0;
  delivered_ = 0;
  crc_ = 0;
  zstream_.avail_in = 0;
  zstream_.next_in = nullptr;
}

uint32_t PayloadEntryStream::Start(const PayloadEntryData& entry, const std::string& password) {
  Reset();
  if (entry.method != 0 && entry.method != Z_DEFLATED) return kPayloadCorrupt;
  entry_ = entry;
  cursor_ = entry.data;
  remaining_ = entry.size;
  if (entry.encrypted) {
    if (password.empty()) return kPayloadWrongPassword;
    if (remaining_ < kEncryptionHeaderSize) return kPayloadCorrupt;
    cipher_.emplace(password);
    unsigned char header[kEncryptionHeaderSize];
    cipher_->Decipher(cursor_, header, kEncryptionHeaderSize);
    cursor_ += kEncryptionHeaderSize;
    remaining_ -= kEncryptionHeaderSize;
    if (header[kEncryptionHeaderSize - 1] != entry.checkByte) return kPayloadWrongPassword;
  }
  if (entry.method == Z_DEFLATED) {
    // Raw deflate: ZIP entries carry no zlib header.
    int error = zstreamReady_ ? inflateReset(&zstream_) : inflateInit2(&zstream_, -MAX_WBITS);
    if (error != Z_OK) return kPayloadInflateFailed;
    zstreamReady_ = true;
    zstream_.avail_in = 0;
  }
  started_ = true;
  return kPayloadOk;
}

uint32_t PayloadEntryStream::Read(unsigned char* buffer, size_t bufferSize, size_t* bytesRead) {
  *bytesRead = 0;
  if (!started_) return kPayloadBadArguments;
  size_t wanted = static_cast<size_t>(
      std::min<uint64_t>(bufferSize, entry_.uncompressedSize - delivered_));
  size_t produced = 0;
  uint32_t status = entry_.method == 0 ? ReadStored(buffer, wanted, &produced)
                                       : ReadDeflated(buffer, wanted, &produced);
  delivered_ += produced;
  *bytesRead = produced;
  if (status == kPayloadOk && delivered_ < entry_.uncompressedSize) {
    if (produced == bufferSize) return kPayloadMoreData;
    status = kPayloadCorrupt;  // the data ended before the entry's size
  }
  // After the last byte: a wrong password that slipped past the one-byte
  // check (1 in 256) shows up here, as does damaged data.
  if (status == kPayloadOk && crc_ != entry_.crc32) status = kPayloadWrongPassword;
  Reset();
  return status;
}

uint32_t PayloadEntryStream::ReadStored(unsigned char* buffer, size_t wanted, size_t* produced) {
  size_t count = static_cast<size_t>(std::min<uint64_t>(wanted, remaining_));
  if (entry_.encrypted) {
    cipher_->Decipher(cursor_, buffer, count);
  } else if (count != 0) {
    std::memcpy(buffer, cursor_, count);
  }
  for (size_t done = 0; done < count;) {
    size_t piece = std::min(count - done, kLargestZlibPiece);
    crc_ = static_cast<uint32_t>(crc32(crc_, buffer + done, static_cast<uInt>(piece)));
    done += piece;
  }
  cursor_ += count;
  remaining_ -= count;
  *produced = count;
  return kPayloadOk;
}

uint32_t PayloadEntryStream::ReadDeflated(unsigned char* buffer, size_t wanted, size_t* produced) {
  *produced = 0;
  while (*produced < wanted && !streamEnded_) {
    if (zstream_.avail_in == 0) RefillInput();
    uInt room = static_cast<uInt>(std::min(wanted - *produced, kLargestZlibPiece));
    unsigned char* out = buffer + *produced;
    zstream_.next_out = out;
    zstream_.avail_out = room;
    int result = inflate(&zstream_, Z_NO_FLUSH);
    uInt made = room - zstream_.avail_out;
    crc_ = static_cast<uint32_t>(crc32(crc_, out, made));
    *produced += made;
    if (result == Z_STREAM_END) {
      streamEnded_ = true;
    } else if (result == Z_BUF_ERROR && zstream_.avail_in == 0 && remaining_ == 0) {
      return kPayloadCorrupt;  // the compressed data ends inside the stream
    } else if (result != Z_OK) {
      return kPayloadInflateFailed;
    }
  }
  return kPayloadOk;
}

void PayloadEntryStream::RefillInput() {
  if (remaining_ == 0) return;
  size_t count;
  if (entry_.encrypted) {
    if (!stage_) stage_ = std::make_unique<unsigned char[]>(kStageSize);
    count = static_cast<size_t>(std::min<uint64_t>(remaining_, kStageSize));
    cipher_->Decipher(cursor_, stage_.get(), count);
    zstream_.next_in = stage_.get();
  } else {
    // Plain data is inflated straight from the payload.
    count = static_cast<size_t>(std::min<uint64_t>(remaining_, kLargestZlibPiece));
    zstream_.next_in = const_cast<unsigned char*>(cursor_);
  }
  zstream_.avail_in = static_cast<uInt>(count);
  cursor_ += count;
  remaining_ -= count;
}
