// PayloadArchive over arbitrary bytes: opening, enumerating, looking up and
// reading every entry in blocks must never crash, hang or read outside the
// buffer. Inputs whose first byte is odd damage one of the real fixture
// archives instead (pairs of offset and byte), so the fuzzer reaches the
// deciphering and inflating code without first having to discover the ZIP
// format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/payload_archive.h"

namespace {

#include "runtime/testdata/payload_fixtures.inc"

// A zip bomb may promise far more than the fuzzer should inflate.
constexpr size_t kMostBytesPerEntry = 1 << 20;
constexpr int kMostEntries = 64;

std::vector<unsigned char> DamagedFixture(const uint8_t* data, size_t size) {
  static const std::vector<unsigned char> fixtures[] = {
      {std::begin(kSampleZip), std::end(kSampleZip)},
      {std::begin(kStreamedZip), std::end(kStreamedZip)},
      {std::begin(kPlainZip), std::end(kPlainZip)},
      {std::begin(kCrcZip), std::end(kCrcZip)},
  };
  std::vector<unsigned char> bytes = fixtures[size > 1 ? data[1] % 4 : 0];
  for (size_t i = 2; i + 2 < size; i += 3) {
    size_t offset = (data[i] | (data[i + 1] << 8)) % bytes.size();
    bytes[offset] = data[i + 2];
  }
  // A trailing odd byte cuts the archive short.
  if (size > 2 && (size - 2) % 3 == 1) bytes.resize(bytes.size() - data[size - 1] % 64);
  return bytes;
}

void ReadAll(PayloadArchive* archive, int index) {
  unsigned char block[4096];
  size_t total = 0;
  uint32_t status = kPayloadMoreData;
  while (status == kPayloadMoreData && total < kMostBytesPerEntry) {
    size_t bytesRead = 0;
    status = ReadEntry(archive, index, block, sizeof block, &bytesRead);
    if (bytesRead > sizeof block) __builtin_trap();
    total += bytesRead;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> bytes;
  if (size > 0 && (data[0] & 1) != 0) {
    bytes = DamagedFixture(data, size);
  } else {
    bytes.assign(data, data + size);
  }
  uint32_t status = 0;
  auto archive = OpenPayload(bytes.data(), bytes.size(), kFixturePassword, &status);
  if (archive == nullptr) return 0;
  int count = PayloadEntryCount(archive.get());
  for (int index = 0; index < count && index < kMostEntries; ++index) {
    PayloadEntry entry;
    if (GetPayloadEntry(archive.get(), index, &entry) != kPayloadOk) __builtin_trap();
    int found = -1;
    FindEntry(archive.get(), cc::Str::FromUtf8(entry.storedName), true, &found, nullptr);
    MakeSafeEntryName(entry.name.View());
    // One block of this entry, then the whole of it: a switch in between
    // must start over cleanly.
    unsigned char block[100];
    size_t bytesRead = 0;
    ReadEntry(archive.get(), index, block, sizeof block, &bytesRead);
    if (found >= 0) ReadAll(archive.get(), found);
    ReadAll(archive.get(), index);
  }
  return 0;
}
