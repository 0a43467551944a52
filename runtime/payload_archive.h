// The payload archive: the ZIP archive that a packed setup carries in its
// resource "BIN"/2, read in place from memory and never copied: minizip
// reads the central directory and checks the local headers, and each
// entry's data is deciphered and inflated straight from the buffer into the
// caller's (payload_entry_stream.h).
//
// Layout of the payload bytes, as the packer writes them and as this reader
// expects them:
//
//   offset 0  +--------------------------------------------+
//             | local header "PK\3\4" (30 bytes)           |  entry 0
//             |   name (UTF-8), extra field                |
//             |   encryption header (12 bytes)             |  traditional PKWARE
//             |   deflated data, enciphered                |
//             |   [data descriptor "PK\7\8"]               |  when flag bit 3 set
//             +--------------------------------------------+
//             | ... one such block per entry ...           |
//             +--------------------------------------------+
//             | central directory: one "PK\1\2" record per |  index order: the
//             |   entry (sizes, CRC-32, time, attributes,  |  entry index is the
//             |   offset of its local header, name)        |  record's position
//             +--------------------------------------------+
//             | [zip64 end record and locator]             |
//             | end record "PK\5\6" (22 bytes + comment)   |  found from the end
//   size      +--------------------------------------------+
//
// Entry names are UTF-8: "pjcfg.ini" (the project configuration), "unins.exe"
// (the uninstaller), "user.dll" (the optional extension library) and
// "<item number>*<file name>" for every file to install. Every entry is
// deflated and encrypted with the one payload password. The last byte of
// the deciphered encryption header must equal the high byte of the entry's
// CRC-32 (or of its DOS time when flag bit 3 is set); a mismatch, or a CRC
// failure after the last byte, means the password is wrong.
//
// Every length and offset comes from the archive itself and is checked
// against the buffer before it is used: a read past the end is reported as a
// corrupt archive, never performed. Entries without the encryption flag and
// stored (not deflated) entries are read as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/str.h"

// Status codes of the access layer. Callers normally test only for
// kPayloadOk and kPayloadMoreData.
inline constexpr uint32_t kPayloadOk = 0;
inline constexpr uint32_t kPayloadCannotCreateFile = 0x200;
inline constexpr uint32_t kPayloadNotFound = 0x500;
inline constexpr uint32_t kPayloadMoreData = 0x600;
inline constexpr uint32_t kPayloadCorrupt = 0x700;
inline constexpr uint32_t kPayloadReadError = 0x800;
inline constexpr uint32_t kPayloadWrongPassword = 0x1000;
inline constexpr uint32_t kPayloadBadArguments = 0x10000;
inline constexpr uint32_t kPayloadWrongHandle = 0x80000;
inline constexpr uint32_t kPayloadAlreadyOpen = 0x1000000;
inline constexpr uint32_t kPayloadNotSeekable = 0x2000000;
inline constexpr uint32_t kPayloadInflateFailed = 0x5000000;

// The block size in which the install engine extracts file entries.
inline constexpr size_t kPayloadBlockSize = 102400;

// What a lookup reports about one entry.
struct PayloadEntry {
  int index = -1;                 // position in the central directory; -1: not found
  cc::Str name;                   // converted from UTF-8 and made safe (MakeSafeEntryName)
  std::string storedName;         // the name bytes exactly as stored (UTF-8)
  uint32_t attributes = 0;        // external attributes (low 16 bits: MS-DOS attributes)
  uint32_t dosDateTime = 0;       // DOS date in the high word, DOS time in the low word
  uint32_t crc32 = 0;
  int method = 0;                 // 8 deflated, 0 stored
  bool encrypted = false;         // flag bit 0
  uint64_t compressedSize = 0;    // includes the 12-byte encryption header
  uint64_t uncompressedSize = 0;
};

class PayloadArchive;
struct PayloadEntryData;

// Owns an open archive; destroying it closes the archive.
struct PayloadArchiveCloser {
  void operator()(PayloadArchive* archive) const;
};
using PayloadArchivePtr = std::unique_ptr<PayloadArchive, PayloadArchiveCloser>;

// Opens the archive held in `data` (`size` bytes), which must stay valid and
// unchanged until ClosePayload. `password` is narrow (ANSI) text; null or ""
// reads only entries without encryption. Reads the central directory once.
// Returns the archive, or null with `*status` (when given) set to
// kPayloadBadArguments (no data) or kPayloadCorrupt (no end record, a
// central directory that does not fit the buffer, a damaged record).
PayloadArchivePtr OpenPayload(const void* data, size_t size, const char* password,
                              uint32_t* status = nullptr);

// Releases the archive (the data it was opened on is not touched). Null is
// allowed.
void ClosePayload(PayloadArchivePtr archive);

// Number of entries, 0 for a null archive.
int PayloadEntryCount(const PayloadArchive* archive);

// The record of entry `index`. Returns kPayloadOk, or kPayloadBadArguments
// for a null archive or an index out of range (`*entry` then has index -1).
uint32_t GetPayloadEntry(const PayloadArchive* archive, int index, PayloadEntry* entry);

// Locates `name` (converted to UTF-8 first; with `ignoreCase` ASCII letters
// match either case). When several entries carry the name, the first in the
// central directory wins. Returns kPayloadOk with `*index` and `*entry`
// filled, kPayloadNotFound (index -1), or kPayloadBadArguments for a null
// archive. `index` and `entry` may be null.
uint32_t FindEntry(const PayloadArchive* archive, const cc::Str& name, bool ignoreCase, int* index,
                   PayloadEntry* entry);

// Inflates and deciphers entry `index` into `buffer`. When the rest of the
// entry fits, delivers it and returns kPayloadOk; otherwise fills the buffer
// and returns kPayloadMoreData, and the next call with the same index
// delivers the next piece. A call with another index, or after the last
// piece or an error, starts that entry from its beginning. `*bytesRead`
// (when given) receives the number of bytes delivered by this call.
// Returns:
//   kPayloadBadArguments   null archive, index out of range, null buffer, or
//                          a zero-sized buffer for a non-empty entry;
//   kPayloadWrongPassword  the encryption header rejects the password, or
//                          the CRC-32 does not match after the last byte
//                          (the data delivered is then wrong);
//   kPayloadCorrupt        a damaged local header, data that ends early or
//                          runs past the buffer, an unsupported method;
//   kPayloadInflateFailed  the deflated data is invalid.
uint32_t ReadEntry(PayloadArchive* archive, int index, void* buffer, size_t bufferSize,
                   size_t* bytesRead = nullptr);

// Where the data of entry `index` lies and how to read it, for a
// PayloadEntryStream of the caller's own (payload_entry_stream.h): such a
// stream reads the payload bytes only, so it may run on another thread
// while the archive itself is used here. Returns kPayloadOk;
// kPayloadBadArguments for a null archive, an index out of range or a null
// `data`; kPayloadCorrupt (or the matching status) for a damaged local
// header or data that runs past the payload.
uint32_t LocateEntryData(PayloadArchive* archive, int index, PayloadEntryData* data);

// The password the archive was opened with ("" when none); an empty text
// for a null archive.
std::string PayloadArchivePassword(const PayloadArchive* archive);

// The name as a PayloadEntry reports it: repeatedly drops a drive prefix
// (any character followed by ':'), else one leading '\' or '/', else
// everything up to and including the first "\..\", "\../", "/../" or "/..\"
// (looked for in that order). A name that merely begins with "..\" keeps it;
// the install engine names its files itself and never uses these names as
// paths.
std::u16string MakeSafeEntryName(std::u16string_view name);
