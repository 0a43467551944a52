// Deciphers and inflates the data of one payload entry, held in memory,
// piece by piece. The payload archive (payload_archive.h) locates the data
// and checks the local header with minizip; this class does the rest itself,
// because Debian's minizip is built without its decryption code and because
// inflating straight from the payload into the caller's buffer avoids
// minizip's extra copy.
//
// Memory stays bounded: one inflate state and, for enciphered deflated
// entries, one staging buffer of kStageSize bytes.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/payload_cipher.h"

// Where an entry's data lies and what it must inflate to.
struct PayloadEntryData {
  const unsigned char* data = nullptr;  // first byte after the local header
  uint64_t size = 0;                    // compressed size, encryption header included
  int method = 0;                       // 0 stored, 8 deflated
  bool encrypted = false;
  unsigned char checkByte = 0;          // expected last byte of the encryption header
  uint32_t crc32 = 0;
  uint64_t uncompressedSize = 0;
};

class PayloadEntryStream {
 public:
  static constexpr size_t kStageSize = 64 * 1024;

  PayloadEntryStream() = default;
  ~PayloadEntryStream();
  PayloadEntryStream(const PayloadEntryStream&) = delete;
  PayloadEntryStream& operator=(const PayloadEntryStream&) = delete;

  // Starts reading `entry` (its bytes must stay valid while reading; the
  // caller has checked that they lie inside the payload).
  // Returns kPayloadOk; kPayloadWrongPassword when the entry is enciphered
  // and `password` is empty or fails the check byte; kPayloadCorrupt when
  // the data is too short for its encryption header or the method is
  // neither stored nor deflated; kPayloadInflateFailed when zlib cannot
  // start.
  uint32_t Start(const PayloadEntryData& entry, const std::string& password);

  // Delivers the next bytes into `buffer`. Returns kPayloadMoreData when the
  // buffer is full and the entry goes on; kPayloadOk after the last byte,
  // once the CRC-32 matched; kPayloadWrongPassword when it did not;
  // kPayloadCorrupt when the data ends before the entry's size;
  // kPayloadInflateFailed for invalid deflated data. `*bytesRead` receives
  // the bytes delivered by this call.
  // After anything but kPayloadMoreData the stream must be started again.
  uint32_t Read(unsigned char* buffer, size_t bufferSize, size_t* bytesRead);

  // Forgets the entry being read.
  void Reset();

 private:
  uint32_t ReadStored(unsigned char* buffer, size_t wanted, size_t* produced);
  uint32_t ReadDeflated(unsigned char* buffer, size_t wanted, size_t* produced);
  // Takes the next compressed bytes (deciphered into the stage) as input.
  void RefillInput();

  PayloadEntryData entry_;
  const unsigned char* cursor_ = nullptr;  // next compressed byte not yet taken
  uint64_t remaining_ = 0;                 // compressed bytes not yet taken
  uint64_t delivered_ = 0;
  uint32_t crc_ = 0;
  bool started_ = false;
  bool streamEnded_ = false;
  std::optional<PayloadCipher> cipher_;  // for enciphered entries
  z_stream zstream_{};
  bool zstreamReady_ = false;
  std::unique_ptr<unsigned char[]> stage_;
};
