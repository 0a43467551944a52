// The headers and section table of a Windows program image (PE32 or PE32+),
// read from untrusted bytes, and the rewrite that gives the image a new
// resource section. Every offset and length read from the image is checked
// against the image's size before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pe {

// Data directory slots that the resource rewrite reads or changes.
inline constexpr int kDirResource = 2;
inline constexpr int kDirSecurity = 4;   // a file offset, not an address
inline constexpr int kDirBaseReloc = 5;
inline constexpr int kDirDebug = 6;

// Section flags.
inline constexpr uint32_t kScnCode = 0x00000020;
inline constexpr uint32_t kScnInitializedData = 0x00000040;
inline constexpr uint32_t kScnExecute = 0x20000000;
inline constexpr uint32_t kScnRead = 0x40000000;

inline constexpr size_t kSectionHeaderSize = 40;

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
// Rounds `value` up to `alignment` (a power of two).
inline uint64_t AlignUp(uint64_t value, uint64_t alignment) {
  return (value + alignment - 1) & ~(alignment - 1);
}

struct DataDirectory {
  uint32_t rva = 0;
  uint32_t size = 0;
};

struct Section {
  std::string name;  // the 8-byte field up to its first zero ("/4" for long names)
  uint32_t virtual_size = 0;
  uint32_t virtual_address = 0;
  uint32_t raw_size = 0;
  uint32_t raw_offset = 0;
  uint32_t characteristics = 0;
  // The address range the section occupies once loaded.
  uint32_t MappedSize() const { return virtual_size ? virtual_size : raw_size; }
  bool Contains(uint32_t rva) const {
    return rva >= virtual_address && rva - virtual_address < MappedSize();
  }
};

struct Image {
  int bits = 0;                   // 32 (PE32, i386) or 64 (PE32+, x86-64)
  size_t coff_offset = 0;         // the file header, just after "PE\0\0"
  size_t optional_offset = 0;     // the optional header
  size_t directory_offset = 0;    // the first data directory
  size_t section_table_offset = 0;
  uint32_t section_alignment = 0;
  uint32_t file_alignment = 0;
  uint32_t size_of_headers = 0;
  uint32_t entry_point = 0;
  uint32_t symbol_table_offset = 0;  // COFF symbols of an unstripped image, 0 when none
  uint32_t symbol_count = 0;
  std::vector<DataDirectory> directories;  // NumberOfRvaAndSizes slots
  std::vector<Section> sections;           // in table order, ascending addresses

  // The directory in `slot`, or an empty one when the image has fewer slots.
  DataDirectory Directory(int slot) const;
  // Index of the section whose loaded range holds `rva`, or -1.
  int SectionOf(uint32_t rva) const;
  // Sets *offset to the file offset of [rva, rva + size) when that range lies
  // wholly inside one section's file data; false otherwise.
  bool RvaToOffset(uint32_t rva, uint32_t size, size_t* offset) const;
  // The offset of the CheckSum field.
  size_t ChecksumOffset() const { return optional_offset + 64; }
};

// Reads and checks the headers and section table. Returns false with *error
// set ("not a PE image", "not a 32-bit or 64-bit Windows program", or what is
// malformed) when the bytes are not a well-formed image.
bool ParseImage(const std::vector<uint8_t>& bytes, Image* image, std::string* error);

// Sets *error to `message` and returns false: the failure path of every
// check in the PE editor.
inline bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

// The image checksum of `bytes`, the CheckSum field at `checksum_offset`
// counted as zero.
uint32_t ComputeChecksum(const std::vector<uint8_t>& bytes, size_t checksum_offset);

// The same over a file fed in pieces of any size, in order.
class ImageChecksum {
 public:
  explicit ImageChecksum(size_t checksum_offset) : field_(checksum_offset) {}
  // The next `n` bytes of the file.
  void Add(const uint8_t* data, size_t n);
  // The checksum of everything added.
  uint32_t Value() const;

 private:
  uint64_t field_;
  uint64_t length_ = 0;
  uint64_t sum_ = 0;  // 16-bit words, carries folded in at the end
};

// A rebuilt image whose file is `head`, then `hole` bytes that the caller
// writes itself, then `tail`. The CheckSum field (at `checksum_offset`,
// inside `head`) is zero: the caller computes it over the whole file.
struct SplitImage {
  std::vector<uint8_t> head;
  uint64_t hole = 0;
  std::vector<uint8_t> tail;
  size_t checksum_offset = 0;
};

// Writes the new resource tree for a section loaded at `rva` into *tree.
// Returns false with *error when the tree cannot be written.
using ResourceTreeWriter =
    std::function<bool(uint32_t rva, std::vector<uint8_t>* tree, std::string* error)>;

// Sets *out to `bytes` (parsed as `image`) with the resource tree that
// `write_tree` produces, followed by `hole` bytes of the caller's, as a new
// section ".rsrc" after every other section but the base relocations, which
// follow it. The old resource section is
// dropped; sections after it move down (they must hold neither code nor
// anything a data directory or relocation points at); the COFF symbol table
// and any overlay follow the last section; an Authenticode signature is
// removed; sizes and directories are fixed, the checksum is left to the
// caller. Returns false with *error (and *out untouched) when the image
// cannot be rebuilt soundly.
bool RebuildWithResources(const std::vector<uint8_t>& bytes, const Image& image,
                          const ResourceTreeWriter& write_tree, uint64_t hole, SplitImage* out,
                          std::string* error);

}  // namespace pe
