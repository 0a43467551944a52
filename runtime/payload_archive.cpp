#include "runtime/payload_archive.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/payload_entry_stream.h"
#include "runtime/zip_memory_io.h"

namespace {

constexpr unsigned long kFlagEncrypted = 0x1;
constexpr unsigned long kFlagDataDescriptor = 0x8;

std::string FoldAsciiCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return folded;
}

// minizip's errors as status codes. In memory there is no I/O error: a
// failed read or seek means the archive ends too early.
uint32_t StatusFromMinizip(int error) {
  switch (error) {
    case UNZ_OK: return kPayloadOk;
    case UNZ_ERRNO:
    case UNZ_BADZIPFILE:
    case UNZ_INTERNALERROR: return kPayloadCorrupt;
    case UNZ_CRCERROR: return kPayloadWrongPassword;
    case UNZ_PARAMERROR:
    case UNZ_END_OF_LIST_OF_FILE: return kPayloadBadArguments;
    default: return kPayloadInflateFailed;  // zlib's Z_DATA_ERROR, Z_BUF_ERROR, ...
  }
}

}  // namespace

struct PayloadEntryRecord {
  unz64_file_pos position{};
  unsigned long flags = 0;  // general purpose bit flags
  PayloadEntry entry;
};

class PayloadArchive {
 public:
  PayloadArchive(const void* data, size_t size, const char* password) {
    stream_.data = static_cast<const unsigned char*>(data);
    stream_.size = size;
    password_ = password != nullptr ? password : "";
  }
  ~PayloadArchive() {
    if (zip_ != nullptr) unzClose(zip_);
  }
  PayloadArchive(const PayloadArchive&) = delete;
  PayloadArchive& operator=(const PayloadArchive&) = delete;

  uint32_t Open();
  int Count() const { return static_cast<int>(entries_.size()); }
  const PayloadEntry& Entry(int index) const { return entries_[index].entry; }
  int Find(const std::string& utf8, bool ignoreCase) const;
  uint32_t Read(int index, unsigned char* buffer, size_t bufferSize, size_t* bytesRead);
  uint32_t Locate(int index, PayloadEntryData* data) { return LocateData(entries_[index], data); }
  const std::string& Password() const { return password_; }

 private:
  uint32_t ReadDirectory();
  uint32_t ReadCurrentRecord(PayloadEntryRecord* record);
  uint32_t StartEntry(int index);
  uint32_t LocateData(const PayloadEntryRecord& record, PayloadEntryData* data);
  void AbandonEntry();

  ZipMemoryStream stream_;
  std::string password_;
  unzFile zip_ = nullptr;
  std::vector<PayloadEntryRecord> entries_;
  std::unordered_map<std::string, int> folded_names_;
  PayloadEntryStream entry_stream_;
  int open_index_ = -1;  // the entry being read piece by piece, -1 for none
};

uint32_t PayloadArchive::Open() {
  zip_ = OpenZipInMemory(&stream_);
  if (zip_ == nullptr) return kPayloadCorrupt;
  return ReadDirectory();
}

uint32_t PayloadArchive::ReadDirectory() {
  int error = unzGoToFirstFile(zip_);
  while (error == UNZ_OK) {
    PayloadEntryRecord record;
    uint32_t status = ReadCurrentRecord(&record);
    if (status != kPayloadOk) return status;
    record.entry.index = Count();
    folded_names_.emplace(FoldAsciiCase(record.entry.storedName), record.entry.index);
    entries_.push_back(std::move(record));
    error = unzGoToNextFile(zip_);
  }
  // An archive without entries ends the same way: the list is simply over.
  return error == UNZ_END_OF_LIST_OF_FILE ? kPayloadOk : kPayloadCorrupt;
}

uint32_t PayloadArchive::ReadCurrentRecord(PayloadEntryRecord* record) {
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return kPayloadCorrupt;
  }
  // The name length is a 16-bit field; +1 for minizip's terminating zero.
  std::vector<char> name(info.size_filename + 1);
  if (unzGetCurrentFileInfo64(zip_, &info, name.data(), static_cast<uLong>(name.size()), nullptr,
                              0, nullptr, 0) != UNZ_OK ||
      unzGetFilePos64(zip_, &record->position) != UNZ_OK) {
    return kPayloadCorrupt;
  }
  PayloadEntry& entry = record->entry;
  entry.storedName.assign(name.data(), info.size_filename);
  entry.name = cc::Str(MakeSafeEntryName(cc::Str::FromUtf8(entry.storedName).View()));
  entry.attributes = static_cast<uint32_t>(info.external_fa);
  entry.dosDateTime = static_cast<uint32_t>(info.dosDate);
  entry.crc32 = static_cast<uint32_t>(info.crc);
  entry.method = static_cast<int>(info.compression_method);
  entry.encrypted = (info.flag & kFlagEncrypted) != 0;
  entry.compressedSize = info.compressed_size;
  entry.uncompressedSize = info.uncompressed_size;
  record->flags = info.flag;
  return kPayloadOk;
}

int PayloadArchive::Find(const std::string& utf8, bool ignoreCase) const {
  if (ignoreCase) {
    auto found = folded_names_.find(FoldAsciiCase(utf8));
    return found == folded_names_.end() ? -1 : found->second;
  }
  for (const PayloadEntryRecord& record : entries_) {
    if (record.entry.storedName == utf8) return record.entry.index;
  }
  return -1;
}

uint32_t PayloadArchive::Read(int index, unsigned char* buffer, size_t bufferSize,
                              size_t* bytesRead) {
  if (index != open_index_) {
    uint32_t status = StartEntry(index);
    if (status != kPayloadOk) return status;
  }
  uint32_t status = entry_stream_.Read(buffer, bufferSize, bytesRead);
  if (status != kPayloadMoreData) open_index_ = -1;
  return status;
}

uint32_t PayloadArchive::StartEntry(int index) {
  AbandonEntry();
  PayloadEntryData data;
  uint32_t status = LocateData(entries_[index], &data);
  if (status == kPayloadOk) status = entry_stream_.Start(data, password_);
  if (status == kPayloadOk) open_index_ = index;
  return status;
}

uint32_t PayloadArchive::LocateData(const PayloadEntryRecord& record, PayloadEntryData* data) {
  if (unzGoToFilePos64(zip_, &record.position) != UNZ_OK) return kPayloadCorrupt;
  // Raw mode: minizip checks the local header against the directory and
  // finds where the data begins, but deciphers and inflates nothing.
  int error = unzOpenCurrentFile2(zip_, nullptr, nullptr, 1);
  ZPOS64_T start = error == UNZ_OK ? unzGetCurrentFileZStreamPos64(zip_) : 0;
  unzCloseCurrentFile(zip_);
  if (error != UNZ_OK) return StatusFromMinizip(error);
  const PayloadEntry& entry = record.entry;
  if (start > stream_.size || entry.compressedSize > stream_.size - start) return kPayloadCorrupt;
  data->data = stream_.data + start;
  data->size = entry.compressedSize;
  data->method = entry.method;
  data->encrypted = entry.encrypted;
  data->crc32 = entry.crc32;
  data->uncompressedSize = entry.uncompressedSize;
  // Writers that stream (flag bit 3) do not know the CRC when they write the
  // encryption header and check with the high byte of the DOS time instead.
  data->checkByte = (record.flags & kFlagDataDescriptor) != 0
                        ? static_cast<unsigned char>(entry.dosDateTime >> 8)
                        : static_cast<unsigned char>(entry.crc32 >> 24);
  return kPayloadOk;
}

void PayloadArchive::AbandonEntry() {
  entry_stream_.Reset();
  open_index_ = -1;
}

PayloadArchivePtr OpenPayload(const void* data, size_t size, const char* password,
                              uint32_t* status) {
  uint32_t result = kPayloadBadArguments;
  PayloadArchivePtr archive;
  if (data != nullptr && size != 0) {
    archive.reset(new PayloadArchive(data, size, password));
    result = archive->Open();
    if (result != kPayloadOk) archive.reset();
  }
  if (status != nullptr) *status = result;
  return archive;
}

void PayloadArchiveCloser::operator()(PayloadArchive* archive) const { delete archive; }

void ClosePayload(PayloadArchivePtr archive) { archive.reset(); }

int PayloadEntryCount(const PayloadArchive* archive) {
  return archive != nullptr ? archive->Count() : 0;
}

uint32_t GetPayloadEntry(const PayloadArchive* archive, int index, PayloadEntry* entry) {
  bool valid = archive != nullptr && index >= 0 && index < archive->Count();
  if (entry != nullptr) *entry = valid ? archive->Entry(index) : PayloadEntry();
  return valid ? kPayloadOk : kPayloadBadArguments;
}

uint32_t FindEntry(const PayloadArchive* archive, const cc::Str& name, bool ignoreCase, int* index,
                   PayloadEntry* entry) {
  int found = archive != nullptr ? archive->Find(name.ToUtf8(), ignoreCase) : -1;
  if (index != nullptr) *index = found;
  if (entry != nullptr) *entry = found >= 0 ? archive->Entry(found) : PayloadEntry();
  if (archive == nullptr) return kPayloadBadArguments;
  return found >= 0 ? kPayloadOk : kPayloadNotFound;
}

uint32_t ReadEntry(PayloadArchive* archive, int index, void* buffer, size_t bufferSize,
                   size_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  if (archive == nullptr || index < 0 || index >= archive->Count()) return kPayloadBadArguments;
  if (buffer == nullptr && bufferSize != 0) return kPayloadBadArguments;
  // A buffer that cannot take a single byte would never make progress.
  if (bufferSize == 0 && archive->Entry(index).uncompressedSize != 0) return kPayloadBadArguments;
  return archive->Read(index, static_cast<unsigned char*>(buffer), bufferSize, bytesRead);
}

uint32_t LocateEntryData(PayloadArchive* archive, int index, PayloadEntryData* data) {
  if (archive == nullptr || data == nullptr || index < 0 || index >= archive->Count()) {
    return kPayloadBadArguments;
  }
  return archive->Locate(index, data);
}

std::string PayloadArchivePassword(const PayloadArchive* archive) {
  return archive != nullptr ? archive->Password() : std::string();
}

std::u16string MakeSafeEntryName(std::u16string_view name) {
  static constexpr std::u16string_view kParentSteps[] = {u"\\..\\", u"\\../", u"/../", u"/..\\"};
  size_t start = 0;
  for (;;) {
    std::u16string_view rest = name.substr(start);
    if (rest.size() >= 2 && rest[1] == u':') {
      start += 2;
      continue;
    }
    if (!rest.empty() && (rest[0] == u'\\' || rest[0] == u'/')) {
      start += 1;
      continue;
    }
    size_t step = std::u16string_view::npos;
    for (std::u16string_view pattern : kParentSteps) {
      step = rest.find(pattern);
      if (step != std::u16string_view::npos) {
        start += step + pattern.size();
        break;
      }
    }
    if (step == std::u16string_view::npos) break;
  }
  return std::u16string(name.substr(start));
}
