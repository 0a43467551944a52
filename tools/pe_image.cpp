#include "tools/pe_image.h"

namespace pe {
namespace {

constexpr uint16_t kMachineI386 = 0x014c;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMagicPe32 = 0x010b;
constexpr uint16_t kMagicPe32Plus = 0x020b;
constexpr size_t kCoffHeaderSize = 20;
// The optional header up to its data directories.
constexpr size_t kOptionalFixedPe32 = 96;
constexpr size_t kOptionalFixedPe32Plus = 112;
constexpr uint32_t kMaxDirectories = 16;
constexpr uint32_t kMaxFileAlignment = 0x10000;
constexpr uint32_t kMinSectionAlignment = 0x1000;

bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

// Finds "PE\0\0" through the DOS header and reads the file header.
bool ParseCoffHeader(const std::vector<uint8_t>& bytes, Image* image, uint16_t* machine,
                     uint16_t* section_count, uint16_t* optional_size, std::string* error) {
  if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return Fail(error, "not a PE image");
  uint64_t pe = Get32(&bytes[0x3c]);
  if (pe + 4 + kCoffHeaderSize > bytes.size() || Get32(&bytes[pe]) != 0x00004550)
    return Fail(error, "not a PE image");
  const uint8_t* coff = &bytes[pe + 4];
  image->coff_offset = pe + 4;
  *machine = Get16(coff);
  *section_count = Get16(coff + 2);
  image->symbol_table_offset = Get32(coff + 8);
  image->symbol_count = Get32(coff + 12);
  *optional_size = Get16(coff + 16);
  image->optional_offset = image->coff_offset + kCoffHeaderSize;
  return true;
}

bool ParseOptionalHeader(const std::vector<uint8_t>& bytes, uint16_t machine,
                         uint16_t optional_size, Image* image, std::string* error) {
  const size_t opt = image->optional_offset;
  if (opt + 2 > bytes.size()) return Fail(error, "truncated optional header");
  uint16_t magic = Get16(&bytes[opt]);
  if (machine == kMachineI386 && magic == kMagicPe32) {
    image->bits = 32;
  } else if (machine == kMachineAmd64 && magic == kMagicPe32Plus) {
    image->bits = 64;
  } else {
    return Fail(error, "not a 32-bit or 64-bit Windows program");
  }
  size_t fixed = image->bits == 32 ? kOptionalFixedPe32 : kOptionalFixedPe32Plus;
  if (optional_size < fixed || opt + optional_size > bytes.size())
    return Fail(error, "truncated optional header");
  const uint8_t* p = &bytes[opt];
  image->section_alignment = Get32(p + 32);
  image->file_alignment = Get32(p + 36);
  image->size_of_headers = Get32(p + 60);
  image->entry_point = Get32(p + 16);
  uint32_t count = Get32(p + fixed - 4);
  if (count > kMaxDirectories || fixed + 8 * static_cast<size_t>(count) > optional_size)
    return Fail(error, "bad number of data directories: " + std::to_string(count));
  image->directory_offset = opt + fixed;
  image->directories.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    image->directories[i].rva = Get32(p + fixed + 8 * i);
    image->directories[i].size = Get32(p + fixed + 8 * i + 4);
  }
  if (!IsPowerOfTwo(image->file_alignment) || image->file_alignment > kMaxFileAlignment ||
      !IsPowerOfTwo(image->section_alignment) ||
      image->section_alignment < image->file_alignment)
    return Fail(error, "bad section or file alignment");
  if (image->section_alignment < kMinSectionAlignment)
    return Fail(error, "section alignment below 4096 is not supported");
  if (image->size_of_headers > bytes.size()) return Fail(error, "headers extend past the end");
  return true;
}

bool ParseSection(const std::vector<uint8_t>& bytes, size_t at, Section* s, std::string* error) {
  const uint8_t* p = &bytes[at];
  size_t len = 0;
  while (len < 8 && p[len] != 0) ++len;
  s->name.assign(reinterpret_cast<const char*>(p), len);
  s->virtual_size = Get32(p + 8);
  s->virtual_address = Get32(p + 12);
  s->raw_size = Get32(p + 16);
  s->raw_offset = Get32(p + 20);
  s->characteristics = Get32(p + 36);
  if (s->raw_size != 0 && uint64_t{s->raw_offset} + s->raw_size > bytes.size())
    return Fail(error, "section '" + s->name + "' lies past the end of the image");
  if (uint64_t{s->virtual_address} + s->MappedSize() > 0xffffffffu)
    return Fail(error, "section '" + s->name + "' lies past the end of the address space");
  return true;
}

bool ParseSectionTable(const std::vector<uint8_t>& bytes, uint16_t count, uint16_t optional_size,
                       Image* image, std::string* error) {
  image->section_table_offset = image->optional_offset + optional_size;
  if (image->section_table_offset + kSectionHeaderSize * count > bytes.size())
    return Fail(error, "truncated section table");
  if (count == 0) return Fail(error, "image has no sections");
  image->sections.resize(count);
  uint64_t previous_end = 0;
  for (uint16_t i = 0; i < count; ++i) {
    Section& s = image->sections[i];
    if (!ParseSection(bytes, image->section_table_offset + kSectionHeaderSize * i, &s, error))
      return false;
    if (s.virtual_address < previous_end)
      return Fail(error, "section '" + s.name + "' overlaps or precedes the one before it");
    previous_end = uint64_t{s.virtual_address} + s.MappedSize();
  }
  return true;
}

}  // namespace

DataDirectory Image::Directory(int slot) const {
  return slot < static_cast<int>(directories.size()) ? directories[slot] : DataDirectory{};
}

int Image::SectionOf(uint32_t rva) const {
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].Contains(rva)) return static_cast<int>(i);
  return -1;
}

bool Image::RvaToOffset(uint32_t rva, uint32_t size, size_t* offset) const {
  int index = SectionOf(rva);
  if (index < 0) return false;
  const Section& s = sections[index];
  uint64_t within = rva - s.virtual_address;
  if (within + size > s.raw_size || within + size > s.MappedSize()) return false;
  *offset = s.raw_offset + within;
  return true;
}

bool ParseImage(const std::vector<uint8_t>& bytes, Image* image, std::string* error) {
  Image parsed;
  uint16_t machine = 0, section_count = 0, optional_size = 0;
  if (!ParseCoffHeader(bytes, &parsed, &machine, &section_count, &optional_size, error) ||
      !ParseOptionalHeader(bytes, machine, optional_size, &parsed, error) ||
      !ParseSectionTable(bytes, section_count, optional_size, &parsed, error))
    return false;
  *image = std::move(parsed);
  return true;
}

uint32_t ComputeChecksum(const std::vector<uint8_t>& bytes, size_t checksum_offset) {
  ImageChecksum sum(checksum_offset);
  sum.Add(bytes.data(), bytes.size());
  return sum.Value();
}

void ImageChecksum::Add(const uint8_t* data, size_t n) {
  // The field itself counts as zero, byte by byte: it need not be word-aligned.
  const uint64_t start = length_;
  auto byte_at = [&](size_t i) -> uint64_t {
    return start + i - field_ < 4 ? 0 : data[i];
  };
  const bool touches_field = start < field_ + 4 && start + n > field_;
  size_t i = 0;
  if ((start & 1) != 0 && n > 0) {  // the high byte of a word begun before
    sum_ += byte_at(0) << 8;
    i = 1;
  }
  if (touches_field) {
    for (; i + 1 < n; i += 2) sum_ += byte_at(i) | (byte_at(i + 1) << 8);
  } else {
    for (; i + 1 < n; i += 2) sum_ += data[i] | (uint64_t{data[i + 1]} << 8);
  }
  if (i < n) sum_ += byte_at(i);  // the low byte of a word that goes on
  length_ += n;
}

uint32_t ImageChecksum::Value() const {
  uint64_t sum = sum_;
  while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
  return static_cast<uint32_t>(sum + length_);
}

}  // namespace pe
