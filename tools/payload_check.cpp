#include "tools/payload_check.h"

#include <zlib.h>

#include <cstdio>

#include "core/key_arr.h"
#include "core/str.h"
#include "runtime/payload_archive.h"
#include "core/item_fields.h"
#include "tools/utf8_check.h"

namespace pack {
namespace {

constexpr int kMethodDeflate = 8;
constexpr int kFileItem = 5;
constexpr int kSeparatorsBeforeEntry = 7;

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

// Reads entry `index` in the install engine's block size; keeps the bytes
// in *data when it is given. Returns "" or the fault.
std::string ReadWhole(PayloadArchive* archive, const PayloadEntry& entry, std::vector<uint8_t>* data) {
  std::vector<uint8_t> block(kPayloadBlockSize);
  uint32_t crc = crc32(0, nullptr, 0);
  uint64_t total = 0;
  uint32_t status;
  do {
    size_t got = 0;
    status = ReadEntry(archive, entry.index, block.data(), block.size(), &got);
    if (status != kPayloadOk && status != kPayloadMoreData) return "read status " + Hex(status);
    crc = crc32(crc, block.data(), static_cast<uInt>(got));
    total += got;
    if (data) data->insert(data->end(), block.begin(), block.begin() + static_cast<long>(got));
  } while (status == kPayloadMoreData);
  if (total != entry.uncompressedSize) {
    return std::to_string(total) + " bytes read instead of " + std::to_string(entry.uncompressedSize);
  }
  if (crc != entry.crc32) return "CRC " + Hex(crc) + " instead of " + Hex(entry.crc32);
  return "";
}

std::string EntryFault(const PayloadEntry& entry) {
  if (entry.method != kMethodDeflate) return "not deflated (method " + std::to_string(entry.method) + ")";
  if (!entry.encrypted) return "not enciphered";
  return "";
}

// The entry name of file item `value` (field 8), or null when it has none.
cc::Str EntryOfFileItem(const cc::Str& value) {
  std::u16string_view rest = value.View();
  int type = 0;
  for (int field = 1; field <= kSeparatorsBeforeEntry; ++field) {
    size_t sep = rest.find(cc::kItemFieldSeparator);
    if (field == 2) type = cc::Str(rest.substr(0, sep)).ToInt();
    if (sep == std::u16string_view::npos) return cc::Str();
    rest.remove_prefix(sep + cc::kItemFieldSeparator.size());
  }
  if (type != kFileItem || rest == u"<None>") return cc::Str();
  return cc::Str(rest);
}

int CheckFileItems(const PayloadArchive* archive, const std::vector<uint8_t>& config_bytes, std::ostream& err) {
  std::string_view text(reinterpret_cast<const char*>(config_bytes.data()), config_bytes.size());
  size_t bad = FindInvalidUtf8(text);
  if (bad != kValidUtf8) {
    err << "pjcfg.ini: not UTF-8 at " << DescribeOffset(text, bad) << "\n";
    return 1;
  }
  cc::KeyArr config(false, true);
  config.Parse(cc::Str::FromUtf8(text), true);
  int faults = 0;
  for (int n = 1;; ++n) {
    cc::Str key = cc::Str::Formatted(u"s.f.%d.Item", n);
    if (!config.Has(key)) break;
    cc::Str entry = EntryOfFileItem(config.Get(key));
    if (entry.IsNull() || config.GetBool(key + cc::Str(u".I"), false)) continue;
    if (FindEntry(archive, entry, true, nullptr, nullptr) != kPayloadOk) {
      err << "file item " << n << ": no payload entry '" << entry.ToUtf8() << "'\n";
      ++faults;
    }
  }
  return faults;
}

}  // namespace

bool CheckPayload(const std::vector<uint8_t>& payload, const std::string& password, std::ostream& out,
                  std::ostream& err) {
  uint32_t status = 0;
  PayloadArchivePtr archive = OpenPayload(payload.data(), payload.size(), password.c_str(), &status);
  if (!archive) {
    err << "payload: not a readable archive (status " << Hex(status) << ")\n";
    return false;
  }
  int count = PayloadEntryCount(archive.get());
  out << "payload: " << payload.size() << " bytes, " << count << " entries\n";
  int faults = 0;
  std::vector<uint8_t> config;
  bool has_config = false;
  for (int i = 0; i < count; ++i) {
    PayloadEntry entry;
    GetPayloadEntry(archive.get(), i, &entry);
    bool is_config = cc::Str::FromUtf8(entry.storedName).Equals(cc::Str(u"pjcfg.ini"), true);
    std::string fault = EntryFault(entry);
    if (fault.empty()) fault = ReadWhole(archive.get(), entry, is_config && !has_config ? &config : nullptr);
    has_config = has_config || is_config;
    char sizes[64];
    std::snprintf(sizes, sizeof sizes, "%12llu %12llu  ", static_cast<unsigned long long>(entry.uncompressedSize),
                  static_cast<unsigned long long>(entry.compressedSize));
    out << sizes << entry.storedName << (fault.empty() ? "" : "  FAULT") << "\n";
    if (!fault.empty()) {
      err << "entry '" << entry.storedName << "': " << fault << "\n";
      ++faults;
    }
  }
  if (!has_config) {
    err << "payload: no pjcfg.ini entry\n";
    ++faults;
  } else {
    faults += CheckFileItems(archive.get(), config, err);
  }
  out << (faults == 0 ? "all entries intact\n" : std::to_string(faults) + " fault(s)\n");
  return faults == 0;
}

}  // namespace pack
