// Giving an image a new resource section. The sections before the old
// resources (code, data, imports) keep their addresses and file offsets, so
// nothing that points into them changes. Everything from the old resources on
// is laid out anew: sections that followed them (debug information), then the
// new resources, then the base relocations. Relocation entries name the
// addresses they patch, which lie in the unmoved sections, so moving the
// relocation section itself keeps them valid and the image stays relocatable.
#include <algorithm>
#include <array>
#include <cstring>

#include "tools/pe_image.h"

namespace pe {
namespace {

constexpr uint32_t kNewResourceFlags = kScnInitializedData | kScnRead;
constexpr uint64_t kFilePageSize = 0x1000;
constexpr size_t kSymbolSize = 18;
constexpr size_t kDebugEntrySize = 28;
constexpr uint64_t kMaxOffset = 0xffffffffu;

std::string Quoted(const Section& s) { return "'" + s.name + "'"; }

// Which sections go, which move, and where the unchanged prefix ends.
struct Plan {
  int resource = -1;        // the old resource section, or -1
  int reloc = -1;           // the relocation section, or -1
  size_t first = 0;         // sections from here on are laid out anew
  std::vector<int> moved;   // sections after `first` that keep their contents
  uint64_t prefix_file_end = 0;
  uint64_t prefix_va_end = 0;
  uint64_t trailing_start = 0;  // where data after the last section begins

  bool Changes(int index) const { return index >= 0 && static_cast<size_t>(index) >= first; }
};

bool FindSections(const Image& image, Plan* plan, std::string* error) {
  DataDirectory res = image.Directory(kDirResource);
  DataDirectory rel = image.Directory(kDirBaseReloc);
  if (res.size != 0 && (plan->resource = image.SectionOf(res.rva)) < 0)
    return Fail(error, "resource directory lies outside every section");
  if (rel.size != 0) {
    size_t ignored;
    if (!image.RvaToOffset(rel.rva, rel.size, &ignored))
      return Fail(error, "relocation directory lies outside its section's data");
    plan->reloc = image.SectionOf(rel.rva);
  }
  if (plan->resource >= 0 && plan->resource == plan->reloc)
    return Fail(error, "resources and relocations share section " +
                           Quoted(image.sections[plan->resource]));
  plan->first = image.sections.size();
  for (int index : {plan->resource, plan->reloc})
    if (index >= 0) plan->first = std::min(plan->first, static_cast<size_t>(index));
  for (size_t i = plan->first; i < image.sections.size(); ++i)
    if (static_cast<int>(i) != plan->resource && static_cast<int>(i) != plan->reloc)
      plan->moved.push_back(static_cast<int>(i));
  return true;
}

void MeasureRegions(const Image& image, Plan* plan) {
  plan->prefix_file_end = image.size_of_headers;
  plan->prefix_va_end = AlignUp(image.size_of_headers, image.section_alignment);
  plan->trailing_start = image.size_of_headers;
  for (size_t i = 0; i < image.sections.size(); ++i) {
    const Section& s = image.sections[i];
    uint64_t raw_end = s.raw_size ? uint64_t{s.raw_offset} + s.raw_size : 0;
    plan->trailing_start = std::max(plan->trailing_start, raw_end);
    if (i >= plan->first) continue;
    plan->prefix_file_end = std::max(plan->prefix_file_end, raw_end);
    plan->prefix_va_end = std::max(
        plan->prefix_va_end,
        AlignUp(uint64_t{s.virtual_address} + s.MappedSize(), image.section_alignment));
  }
}

// Nothing may point into a section that is dropped or moved, except the
// resource and relocation directories into their own sections.
bool CheckDirectories(const Image& image, const Plan& plan, std::string* error) {
  for (size_t slot = 0; slot < image.directories.size(); ++slot) {
    const DataDirectory& dir = image.directories[slot];
    if (slot == kDirSecurity || slot == kDirResource || slot == kDirBaseReloc || dir.size == 0)
      continue;
    int index = image.SectionOf(dir.rva);
    if (plan.Changes(index))
      return Fail(error, "data directory " + std::to_string(slot) + " points into section " +
                             Quoted(image.sections[index]) + ", which would move");
  }
  for (size_t i = plan.first; i < image.sections.size(); ++i) {
    const Section& s = image.sections[i];
    if (s.characteristics & (kScnCode | kScnExecute))
      return Fail(error, "section " + Quoted(s) + " holds code and cannot move");
  }
  if (plan.Changes(image.SectionOf(image.entry_point)))
    return Fail(error, "the entry point lies in a section that would move");
  return true;
}

bool CheckRelocations(const std::vector<uint8_t>& bytes, const Image& image, const Plan& plan,
                      std::string* error) {
  if (plan.reloc < 0) return true;
  DataDirectory rel = image.Directory(kDirBaseReloc);
  size_t at = 0;
  image.RvaToOffset(rel.rva, rel.size, &at);  // checked by FindSections
  const uint8_t* p = &bytes[at];
  for (size_t pos = 0; pos + 8 <= rel.size;) {
    uint32_t page = Get32(p + pos);
    uint32_t block = Get32(p + pos + 4);
    if (block < 8 || block > rel.size - pos)
      return Fail(error, "malformed relocation block at offset " + std::to_string(pos));
    for (size_t e = pos + 8; e + 2 <= pos + block; e += 2) {
      uint16_t entry = Get16(p + e);
      if ((entry >> 12) == 0) continue;  // padding
      int index = image.SectionOf(page + (entry & 0xfff));
      if (plan.Changes(index))
        return Fail(error, "a relocation patches section " + Quoted(image.sections[index]) +
                               ", which would move");
    }
    pos += block;
  }
  return true;
}

bool CheckDebugData(const std::vector<uint8_t>& bytes, const Image& image, const Plan& plan,
                    std::string* error) {
  DataDirectory dir = image.Directory(kDirDebug);
  if (dir.size == 0) return true;
  size_t at = 0;
  if (!image.RvaToOffset(dir.rva, dir.size, &at))
    return Fail(error, "debug directory lies outside its section's data");
  for (size_t e = 0; e + kDebugEntrySize <= dir.size; e += kDebugEntrySize) {
    const uint8_t* p = &bytes[at + e];
    uint32_t size = Get32(p + 16), rva = Get32(p + 20), offset = Get32(p + 24);
    if (size == 0) continue;
    bool moves = rva != 0 ? plan.Changes(image.SectionOf(rva)) : offset >= plan.prefix_file_end;
    if (moves) return Fail(error, "debug data at file offset " + std::to_string(offset) +
                                      " would move");
  }
  return true;
}

// A new section header needs a free, zeroed slot inside the headers.
bool CheckHeaderRoom(const std::vector<uint8_t>& bytes, const Image& image, size_t new_count,
                     std::string* error) {
  if (new_count > 0xffff) return Fail(error, "too many sections");
  uint64_t table_end = image.section_table_offset + kSectionHeaderSize * new_count;
  uint64_t limit = image.size_of_headers;
  for (const Section& s : image.sections)
    if (s.raw_size) limit = std::min<uint64_t>(limit, s.raw_offset);
  if (table_end > limit) return Fail(error, "no room for another section header");
  size_t old_end = image.section_table_offset + kSectionHeaderSize * image.sections.size();
  for (size_t i = old_end; i < table_end; ++i)
    if (bytes[i] != 0) return Fail(error, "no room for another section header");
  return true;
}

// The output under construction: file bytes, section headers, next address.
// The file is `file`, then `hole` bytes that the caller supplies (the data
// of the resource it streams), then `tail`; offsets count the hole.
struct Layout {
  std::vector<uint8_t> file;
  uint64_t hole_at = 0;
  uint64_t hole = 0;
  bool split = false;  // the hole is placed: appends go to the tail
  std::vector<uint8_t> tail;
  std::vector<std::array<uint8_t, kSectionHeaderSize>> headers;
  uint64_t next_va = 0;
  uint32_t file_alignment = 0;
  uint32_t section_alignment = 0;

  uint64_t End() const { return split ? hole_at + hole + tail.size() : file.size(); }
  std::vector<uint8_t>& Current() { return split ? tail : file; }
  void Append(const uint8_t* data, size_t n) { Current().insert(Current().end(), data, data + n); }
  // Zeros up to the next multiple of `alignment`.
  void PadTo(uint64_t alignment) { Current().resize(Current().size() + (AlignUp(End(), alignment) - End()), 0); }
  void Hole(uint64_t n) {
    hole_at = file.size();
    hole = n;
    split = true;
  }
  // The byte at file offset `offset`, outside the hole.
  uint8_t* At(uint64_t offset) {
    return offset < file.size() ? &file[offset] : &tail[offset - hole_at - hole];
  }

  // Appends a section with `raw` as its file data; returns its address.
  uint32_t Add(std::array<uint8_t, kSectionHeaderSize> header, const uint8_t* raw,
               uint32_t raw_size, uint32_t mapped_size) {
    uint32_t va = static_cast<uint32_t>(next_va);
    Put32(&header[12], va);
    Put32(&header[20], raw_size ? static_cast<uint32_t>(End()) : 0);
    if (raw_size) {
      Append(raw, raw_size);
      PadTo(file_alignment);
    }
    headers.push_back(header);
    next_va = AlignUp(next_va + mapped_size, section_alignment);
    return va;
  }
};

std::array<uint8_t, kSectionHeaderSize> OldHeader(const std::vector<uint8_t>& bytes,
                                                  const Image& image, size_t index) {
  std::array<uint8_t, kSectionHeaderSize> header;
  std::memcpy(header.data(), &bytes[image.section_table_offset + kSectionHeaderSize * index],
              kSectionHeaderSize);
  return header;
}

// The unchanged prefix (headers and the sections before the old resources)
// and the sections that move down; `new_index` gets their new positions.
void StartLayout(const std::vector<uint8_t>& bytes, const Image& image, const Plan& plan,
                 Layout* layout, std::vector<int>* new_index) {
  layout->file_alignment = image.file_alignment;
  layout->section_alignment = image.section_alignment;
  layout->file.assign(bytes.begin(), bytes.begin() + plan.prefix_file_end);
  layout->file.resize(AlignUp(layout->file.size(), image.file_alignment), 0);
  layout->next_va = plan.prefix_va_end;
  for (size_t i = 0; i < plan.first; ++i) {
    layout->headers.push_back(OldHeader(bytes, image, i));
    (*new_index)[i] = static_cast<int>(i);
  }
  for (int index : plan.moved) {
    const Section& s = image.sections[index];
    (*new_index)[index] = static_cast<int>(layout->headers.size());
    layout->Add(OldHeader(bytes, image, index), bytes.data() + s.raw_offset, s.raw_size,
                s.MappedSize());
  }
}

// The new resource section: the tree that `write_tree` makes, followed by
// `hole` bytes of the caller's.
bool AddResources(const ResourceTreeWriter& write_tree, uint64_t hole, Layout* layout,
                  uint32_t* rva, uint32_t* size, std::string* error) {
  if (layout->next_va > kMaxOffset) return Fail(error, "image too large");
  std::vector<uint8_t> tree;
  if (!write_tree(static_cast<uint32_t>(layout->next_va), &tree, error)) return false;
  uint64_t data_size = tree.size() + hole;
  uint64_t raw_size = AlignUp(data_size, layout->file_alignment);
  if (tree.empty() || layout->next_va + raw_size > kMaxOffset ||
      layout->End() + raw_size + kFilePageSize > kMaxOffset)
    return Fail(error, "image too large");
  *size = static_cast<uint32_t>(data_size);
  // The section starts on a page boundary of the file as well: a loader that
  // maps the file (Wine does) can then map the payload's pages lazily, where
  // an unaligned section must be read whole before the program starts.
  layout->PadTo(kFilePageSize);
  std::array<uint8_t, kSectionHeaderSize> header{};
  std::memcpy(header.data(), ".rsrc", 5);
  Put32(&header[8], *size);
  Put32(&header[12], static_cast<uint32_t>(layout->next_va));
  Put32(&header[16], static_cast<uint32_t>(raw_size));
  Put32(&header[20], static_cast<uint32_t>(layout->End()));
  Put32(&header[36], kNewResourceFlags);
  layout->Append(tree.data(), tree.size());
  layout->Hole(hole);
  layout->PadTo(layout->file_alignment);
  layout->headers.push_back(header);
  *rva = static_cast<uint32_t>(layout->next_va);
  layout->next_va = AlignUp(layout->next_va + *size, layout->section_alignment);
  return true;
}

// Data after the last section: the COFF symbol and string tables of an
// unstripped image and any overlay are kept in their order; a signature
// table is cut out.
struct Trailing {
  uint64_t start = 0;
  uint64_t cert_start = 0;
  uint64_t cert_end = 0;
};

bool FindTrailing(const std::vector<uint8_t>& bytes, const Image& image, const Plan& plan,
                  Trailing* t, std::string* error) {
  t->start = t->cert_start = t->cert_end = plan.trailing_start;
  DataDirectory cert = image.Directory(kDirSecurity);
  if (cert.size != 0) {
    if (cert.rva < t->start || uint64_t{cert.rva} + cert.size > bytes.size())
      return Fail(error, "signature table does not lie after the last section");
    t->cert_start = cert.rva;
    t->cert_end = uint64_t{cert.rva} + cert.size;
  }
  if (image.symbol_table_offset != 0) {
    uint64_t sym = image.symbol_table_offset;
    uint64_t end = sym + kSymbolSize * uint64_t{image.symbol_count};
    if (sym < t->start || end > bytes.size() || (sym < t->cert_end && end > t->cert_start))
      return Fail(error, "symbol table does not lie after the last section");
  }
  return true;
}

// Symbols name their section by its position in the table, which changes.
void RenumberSymbols(uint8_t* table, uint32_t count, const std::vector<int>& new_index) {
  for (uint64_t i = 0; i < count;) {
    uint8_t* symbol = table + kSymbolSize * i;
    int16_t number = static_cast<int16_t>(Get16(symbol + 12));
    if (number > 0 && static_cast<size_t>(number) <= new_index.size())
      Put16(symbol + 12, static_cast<uint16_t>(new_index[number - 1] + 1));
    i += 1 + uint64_t{symbol[17]};
  }
}

uint32_t AppendTrailing(const std::vector<uint8_t>& bytes, const Image& image, const Trailing& t,
                        const std::vector<int>& new_index, Layout* layout) {
  uint64_t new_start = layout->End();
  layout->Append(bytes.data() + t.start, t.cert_start - t.start);
  layout->Append(bytes.data() + t.cert_end, bytes.size() - t.cert_end);
  if (image.symbol_table_offset == 0) return 0;
  uint64_t sym = image.symbol_table_offset - t.start + new_start;
  if (image.symbol_table_offset >= t.cert_end) sym -= t.cert_end - t.cert_start;
  RenumberSymbols(layout->At(sym), image.symbol_count, new_index);
  return static_cast<uint32_t>(sym);
}

struct HeaderFix {
  uint32_t resource_rva = 0, resource_size = 0, reloc_rva = 0, symbol_table = 0;
  uint64_t size_of_image = 0;
  int64_t initialized_delta = 0;
};

void FixHeaders(const Image& image, const Layout& layout, const HeaderFix& fix,
                std::vector<uint8_t>* out) {
  uint8_t* file = out->data();
  size_t table = image.section_table_offset;
  size_t old_end = table + kSectionHeaderSize * image.sections.size();
  for (size_t i = 0; i < layout.headers.size(); ++i)
    std::memcpy(file + table + kSectionHeaderSize * i, layout.headers[i].data(),
                kSectionHeaderSize);
  for (size_t i = table + kSectionHeaderSize * layout.headers.size(); i < old_end; ++i)
    file[i] = 0;
  Put16(file + image.coff_offset + 2, static_cast<uint16_t>(layout.headers.size()));
  Put32(file + image.coff_offset + 8, fix.symbol_table);
  if (fix.symbol_table == 0) Put32(file + image.coff_offset + 12, 0);
  uint8_t* opt = file + image.optional_offset;
  int64_t initialized = int64_t{Get32(opt + 8)} + fix.initialized_delta;
  Put32(opt + 8, static_cast<uint32_t>(std::clamp<int64_t>(initialized, 0, kMaxOffset)));
  Put32(opt + 56, static_cast<uint32_t>(fix.size_of_image));
  uint8_t* dirs = file + image.directory_offset;
  Put32(dirs + 8 * kDirResource, fix.resource_rva);
  Put32(dirs + 8 * kDirResource + 4, fix.resource_size);
  if (image.directories.size() > kDirSecurity) {
    Put32(dirs + 8 * kDirSecurity, 0);
    Put32(dirs + 8 * kDirSecurity + 4, 0);
  }
  if (image.Directory(kDirBaseReloc).size != 0) Put32(dirs + 8 * kDirBaseReloc, fix.reloc_rva);
  Put32(file + image.ChecksumOffset(), 0);  // the caller sums the whole file
}

bool CheckPlan(const std::vector<uint8_t>& bytes, const Image& image, Plan* plan,
               std::string* error) {
  if (image.directories.size() <= kDirResource)
    return Fail(error, "image has no data directory slot for resources");
  if (!FindSections(image, plan, error)) return false;
  MeasureRegions(image, plan);
  size_t new_count = image.sections.size() + (plan->resource >= 0 ? 0 : 1);
  return CheckDirectories(image, *plan, error) && CheckRelocations(bytes, image, *plan, error) &&
         CheckDebugData(bytes, image, *plan, error) &&
         CheckHeaderRoom(bytes, image, new_count, error);
}

}  // namespace

bool RebuildWithResources(const std::vector<uint8_t>& bytes, const Image& image,
                          const ResourceTreeWriter& write_tree, uint64_t hole, SplitImage* out,
                          std::string* error) {
  Plan plan;
  Trailing trailing;
  if (!CheckPlan(bytes, image, &plan, error) ||
      !FindTrailing(bytes, image, plan, &trailing, error))
    return false;
  Layout layout;
  std::vector<int> new_index(image.sections.size(), 0);
  StartLayout(bytes, image, plan, &layout, &new_index);
  HeaderFix fix;
  if (plan.resource >= 0) new_index[plan.resource] = static_cast<int>(layout.headers.size());
  uint64_t trailing_size = bytes.size() - trailing.start - (trailing.cert_end - trailing.cert_start);
  if (!AddResources(write_tree, hole, &layout, &fix.resource_rva, &fix.resource_size, error))
    return false;
  fix.initialized_delta = int64_t{Get32(&layout.headers.back()[16])} -
                          (plan.resource >= 0 ? image.sections[plan.resource].raw_size : 0);
  if (plan.reloc >= 0) {
    const Section& s = image.sections[plan.reloc];
    new_index[plan.reloc] = static_cast<int>(layout.headers.size());
    uint32_t va = layout.Add(OldHeader(bytes, image, plan.reloc), bytes.data() + s.raw_offset,
                             s.raw_size, s.MappedSize());
    fix.reloc_rva = va + (image.Directory(kDirBaseReloc).rva - s.virtual_address);
  }
  fix.size_of_image = layout.next_va;
  if (fix.size_of_image > kMaxOffset || layout.End() + trailing_size > kMaxOffset)
    return Fail(error, "image too large");
  fix.symbol_table = AppendTrailing(bytes, image, trailing, new_index, &layout);
  FixHeaders(image, layout, fix, &layout.file);
  out->head = std::move(layout.file);
  out->hole = layout.hole;
  out->tail = std::move(layout.tail);
  out->checksum_offset = image.ChecksumOffset();
  return true;
}

}  // namespace pe
