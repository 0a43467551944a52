#include "tools/pe_resource_tree.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace pe {
namespace {

constexpr size_t kDirectoryHeaderSize = 16;
constexpr size_t kDirectoryEntrySize = 8;
constexpr size_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr int kLevels = 3;  // type, name, language
constexpr uint64_t kMaxTreeSize = 0x7fffffffu;  // directory offsets have 31 bits
constexpr uint64_t kBlobAlignment = 8;

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

std::u16string UpperAscii(std::u16string text) {
  for (char16_t& c : text) c = FoldAscii(c);
  return text;
}

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

// The order of a directory's entries: names first, compared in upper case,
// then numbers ascending.
bool KeyLess(const ResourceKey& a, const ResourceKey& b) {
  if (a.named != b.named) return a.named;
  if (!a.named) return a.id < b.id;
  std::u16string ua = UpperAscii(a.name), ub = UpperAscii(b.name);
  return ua != ub ? ua < ub : a.name < b.name;
}

// One entry of a directory table as stored.
struct RawEntry {
  ResourceKey key;
  bool is_directory = false;
  uint32_t target = 0;  // offset of the sub-directory or of the data entry
};

// Reads directory tables out of the resource area: `area` bytes starting at
// the directory's file offset. Each table may be reached once, and all tables
// together may hold no more entries than fit into the area, so neither a
// loop nor overlapping tables can make the reading blow up.
class TreeReader {
 public:
  TreeReader(const std::vector<uint8_t>& bytes, const Image& image, size_t start, size_t area)
      : bytes_(bytes), image_(image), base_(bytes.data() + start), area_(area),
        entry_budget_(area / kDirectoryEntrySize) {}

  bool ReadTree(ResourceTree* tree, std::string* error) {
    std::vector<RawEntry> types;
    if (!ReadDirectory(0, &tree->info, &types, error)) return false;
    for (const RawEntry& type_entry : types) {
      ResourceType type{type_entry.key, {}, {}};
      std::vector<RawEntry> names;
      if (!Expect(type_entry, 1, error) ||
          !ReadDirectory(type_entry.target, &type.info, &names, error))
        return false;
      for (const RawEntry& name_entry : names) {
        ResourceName name{name_entry.key, {}, {}};
        if (!Expect(name_entry, 2, error) || !ReadLanguages(name_entry.target, &name, error))
          return false;
        type.names.push_back(std::move(name));
      }
      tree->types.push_back(std::move(type));
    }
    return true;
  }

 private:
  bool Fits(uint64_t offset, uint64_t size) const { return offset + size <= area_; }

  // Entries of levels 1 and 2 lead to directories, those of level 3 to data.
  bool Expect(const RawEntry& entry, int level, std::string* error) const {
    bool want_directory = level < kLevels;
    if (entry.is_directory == want_directory) return true;
    return Fail(error, "resource entry '" + entry.key.ToDisplay() + "' at level " +
                           std::to_string(level + 1) +
                           (want_directory ? " has data instead of a directory"
                                           : " has a directory below the third level"));
  }

  bool ReadLanguages(uint32_t offset, ResourceName* name, std::string* error) {
    std::vector<RawEntry> languages;
    if (!ReadDirectory(offset, &name->info, &languages, error)) return false;
    for (const RawEntry& entry : languages) {
      ResourceLeaf leaf;
      leaf.language = entry.key;
      if (!Expect(entry, kLevels, error) || !ReadData(entry.target, &leaf, error)) return false;
      name->languages.push_back(leaf);
    }
    return true;
  }

  bool ReadDirectory(uint32_t offset, DirectoryInfo* info, std::vector<RawEntry>* entries,
                     std::string* error) {
    if (!Fits(offset, kDirectoryHeaderSize))
      return Fail(error, "resource directory at offset " + Hex(offset) + " lies past its section");
    if (!visited_.insert(offset).second)
      return Fail(error, "resource directory at offset " + Hex(offset) +
                             " is reached twice (a loop)");
    const uint8_t* p = base_ + offset;
    *info = DirectoryInfo{Get32(p), Get32(p + 4), Get16(p + 8), Get16(p + 10)};
    uint64_t count = uint64_t{Get16(p + 12)} + Get16(p + 14);
    if (!Fits(offset + kDirectoryHeaderSize, count * kDirectoryEntrySize))
      return Fail(error, "resource directory at offset " + Hex(offset) + " lies past its section");
    if (count > entry_budget_)
      return Fail(error, "resource directories overlap at offset " + Hex(offset));
    entry_budget_ -= count;
    for (uint64_t i = 0; i < count; ++i) {
      RawEntry entry;
      const uint8_t* e = p + kDirectoryHeaderSize + kDirectoryEntrySize * i;
      if (!ReadKey(Get32(e), &entry.key, error)) return false;
      uint32_t target = Get32(e + 4);
      entry.is_directory = (target & kHighBit) != 0;
      entry.target = target & ~kHighBit;
      entries->push_back(std::move(entry));
    }
    return true;
  }

  bool ReadKey(uint32_t field, ResourceKey* key, std::string* error) const {
    if (!(field & kHighBit)) {
      *key = ResourceKey::Id(static_cast<uint16_t>(field));
      return true;
    }
    uint32_t offset = field & ~kHighBit;
    if (!Fits(offset, 2)) return Fail(error, "resource name at " + Hex(offset) + " lies past its section");
    uint16_t length = Get16(base_ + offset);
    if (!Fits(offset + 2, 2 * uint64_t{length}))
      return Fail(error, "resource name at " + Hex(offset) + " lies past its section");
    key->named = true;
    key->name.resize(length);
    for (uint16_t i = 0; i < length; ++i) key->name[i] = Get16(base_ + offset + 2 + 2 * i);
    return true;
  }

  bool ReadData(uint32_t offset, ResourceLeaf* leaf, std::string* error) const {
    if (!Fits(offset, kDataEntrySize))
      return Fail(error, "resource data entry at " + Hex(offset) + " lies past its section");
    const uint8_t* p = base_ + offset;
    uint32_t rva = Get32(p), size = Get32(p + 4);
    leaf->code_page = Get32(p + 8);
    leaf->reserved = Get32(p + 12);
    if (size == 0) return true;
    size_t at = 0;
    if (!image_.RvaToOffset(rva, size, &at))
      return Fail(error, "resource data at address " + Hex(rva) + " (" + std::to_string(size) +
                             " bytes) lies outside the image");
    leaf->data = std::span<const uint8_t>(bytes_.data() + at, size);
    return true;
  }

  const std::vector<uint8_t>& bytes_;
  const Image& image_;
  const uint8_t* base_;
  size_t area_;
  uint64_t entry_budget_;
  std::set<uint32_t> visited_;
};

// A copy of the tree with every directory in the loader's order.
ResourceTree Sorted(const ResourceTree& tree) {
  ResourceTree sorted = tree;
  auto by_key = [](const auto& a, const auto& b) { return KeyLess(a.key, b.key); };
  auto by_language = [](const ResourceLeaf& a, const ResourceLeaf& b) {
    return KeyLess(a.language, b.language);
  };
  std::stable_sort(sorted.types.begin(), sorted.types.end(), by_key);
  for (ResourceType& type : sorted.types) {
    std::stable_sort(type.names.begin(), type.names.end(), by_key);
    for (ResourceName& name : type.names)
      std::stable_sort(name.languages.begin(), name.languages.end(), by_language);
  }
  return sorted;
}

// Lays out a sorted tree: every directory table (root, then the type tables,
// then the name tables), the data entries, the names, then the data, each
// piece of data on an 8-byte boundary.
class TreeWriter {
 public:
  explicit TreeWriter(const ResourceTree& tree) : tree_(tree) {}

  bool Write(uint32_t rva, std::vector<uint8_t>* out, std::string* error) {
    if (!Measure(error)) return false;
    if (uint64_t{rva} + size_ > 0xffffffffu) return Fail(error, "image too large");
    out_.assign(external_size_ != 0 ? external_ : size_, 0);
    rva_ = rva;
    WriteAll();
    *out = std::move(out_);
    return true;
  }

 private:
  static uint64_t TableSize(size_t entries) {
    return kDirectoryHeaderSize + kDirectoryEntrySize * entries;
  }

  // Assigns offsets in the order the pieces are written.
  bool Measure(std::string* error) {
    uint64_t pos = TableSize(tree_.types.size());
    if (!CheckCounts(tree_.types, error)) return false;
    for (const ResourceType& type : tree_.types) {
      if (!CheckCounts(type.names, error)) return false;
      type_tables_.push_back(pos);
      pos += TableSize(type.names.size());
    }
    for (const ResourceType& type : tree_.types)
      for (const ResourceName& name : type.names) {
        name_tables_.push_back(pos);
        pos += TableSize(name.languages.size());
        leaf_count_ += name.languages.size();
      }
    data_entries_ = pos;
    pos += kDataEntrySize * leaf_count_;
    auto add_name = [&](const ResourceKey& key) {
      if (key.named) pos += 2 + 2 * uint64_t{key.name.size()};
    };
    strings_ = pos;
    for (const ResourceType& type : tree_.types) {
      add_name(type.key);
      for (const ResourceName& name : type.names) {
        add_name(name.key);
        for (const ResourceLeaf& leaf : name.languages) add_name(leaf.language);
      }
    }
    pos = AlignUp(pos, kBlobAlignment);
    data_ = pos;
    int externals = 0;
    for (const ResourceType& type : tree_.types)
      for (const ResourceName& name : type.names)
        for (const ResourceLeaf& leaf : name.languages) {
          if (leaf.external_size != 0) {
            ++externals;
            external_size_ = leaf.external_size;
          } else {
            pos = AlignUp(pos + leaf.data.size(), kBlobAlignment);
          }
        }
    if (externals > 1) return Fail(error, "more than one resource supplied from outside");
    // The caller's bytes come last, so that everything before them is written here.
    external_ = pos;
    pos += external_size_;
    size_ = pos;
    if (size_ > kMaxTreeSize) return Fail(error, "resources too large");
    return true;
  }

  template <typename Node>
  bool CheckCounts(const std::vector<Node>& nodes, std::string* error) {
    size_t named = std::count_if(nodes.begin(), nodes.end(),
                                 [](const Node& n) { return n.key.named; });
    if (named > 0xffff || nodes.size() - named > 0xffff)
      return Fail(error, "a resource directory holds more than 65535 entries");
    return true;
  }

  void WriteAll() {
    WriteTable(0, tree_.info);
    size_t name_index = 0;
    for (size_t t = 0; t < tree_.types.size(); ++t) {
      const ResourceType& type = tree_.types[t];
      WriteEntry(0, t, type.key, kHighBit | type_tables_[t]);
      WriteTable(type_tables_[t], type.info);
      for (size_t n = 0; n < type.names.size(); ++n, ++name_index) {
        const ResourceName& name = type.names[n];
        uint64_t table = name_tables_[name_index];
        WriteEntry(type_tables_[t], n, name.key, kHighBit | table);
        WriteTable(table, name.info);
        for (size_t l = 0; l < name.languages.size(); ++l)
          WriteEntry(table, l, name.languages[l].language, WriteLeaf(name.languages[l]));
      }
    }
  }

  // The entry counts are added up by WriteEntry.
  void WriteTable(uint64_t at, const DirectoryInfo& info) {
    uint8_t* p = &out_[at];
    Put32(p, info.characteristics);
    Put32(p + 4, info.time_stamp);
    Put16(p + 8, info.major_version);
    Put16(p + 10, info.minor_version);
  }

  // Entries go in the tree's (sorted) order, so the named ones come first.
  void WriteEntry(uint64_t table, size_t index, const ResourceKey& key, uint64_t target) {
    uint8_t* e = &out_[table + kDirectoryHeaderSize + kDirectoryEntrySize * index];
    Put32(e, key.named ? kHighBit | static_cast<uint32_t>(WriteName(key.name)) : key.id);
    Put32(e + 4, static_cast<uint32_t>(target));
    uint8_t* header = &out_[table];
    if (key.named) Put16(header + 12, Get16(header + 12) + 1);
    else Put16(header + 14, Get16(header + 14) + 1);
  }

  uint64_t WriteName(const std::u16string& name) {
    uint64_t at = strings_;
    Put16(&out_[at], static_cast<uint16_t>(name.size()));
    for (size_t i = 0; i < name.size(); ++i) Put16(&out_[at + 2 + 2 * i], name[i]);
    strings_ += 2 + 2 * name.size();
    return at;
  }

  // Writes the data entry and the data of one leaf; returns the entry's offset.
  uint64_t WriteLeaf(const ResourceLeaf& leaf) {
    uint64_t entry = data_entries_;
    data_entries_ += kDataEntrySize;
    if (leaf.external_size != 0) {
      Put32(&out_[entry], static_cast<uint32_t>(rva_ + external_));
      Put32(&out_[entry + 4], static_cast<uint32_t>(leaf.external_size));
      Put32(&out_[entry + 8], leaf.code_page);
      Put32(&out_[entry + 12], leaf.reserved);
      return entry;
    }
    std::copy(leaf.data.begin(), leaf.data.end(), out_.begin() + data_);
    Put32(&out_[entry], leaf.data.empty() ? 0 : static_cast<uint32_t>(rva_ + data_));
    Put32(&out_[entry + 4], static_cast<uint32_t>(leaf.data.size()));
    Put32(&out_[entry + 8], leaf.code_page);
    Put32(&out_[entry + 12], leaf.reserved);
    data_ = AlignUp(data_ + leaf.data.size(), kBlobAlignment);
    return entry;
  }

  const ResourceTree& tree_;
  std::vector<uint64_t> type_tables_, name_tables_;
  uint64_t leaf_count_ = 0, data_entries_ = 0, strings_ = 0, data_ = 0, size_ = 0;
  uint64_t external_ = 0, external_size_ = 0;  // where the caller's bytes go, and how many
  uint32_t rva_ = 0;
  std::vector<uint8_t> out_;
};

}  // namespace

ResourceKey ResourceKey::FromText(std::u16string_view text) {
  if (text.size() > 1 && text.size() <= 6 && text[0] == u'#') {
    uint32_t value = 0;
    bool digits = true;
    for (char16_t c : text.substr(1)) {
      digits = digits && c >= u'0' && c <= u'9';
      value = value * 10 + (c - u'0');
    }
    if (digits && value <= 0xffff) return Id(static_cast<uint16_t>(value));
  }
  return ResourceKey{true, 0, std::u16string(text)};
}

bool ResourceKey::Matches(const ResourceKey& other) const {
  if (named != other.named) return false;
  if (!named) return id == other.id;
  return UpperAscii(name) == UpperAscii(other.name);
}

std::string ResourceKey::ToDisplay() const {
  if (!named) return std::to_string(id);
  std::string text;
  for (char16_t c : name) text += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?';
  return text;
}

const ResourceName* ResourceTree::Find(const ResourceKey& type, const ResourceKey& name) const {
  for (const ResourceType& t : types) {
    if (!t.key.Matches(type)) continue;
    for (const ResourceName& n : t.names)
      if (n.key.Matches(name)) return &n;
  }
  return nullptr;
}

void ResourceTree::Set(const ResourceKey& type, const ResourceKey& name,
                       std::span<const uint8_t> data) {
  auto type_it = std::find_if(types.begin(), types.end(),
                              [&](const ResourceType& t) { return t.key.Matches(type); });
  if (type_it == types.end()) {
    ResourceKey stored = type;
    if (stored.named) stored.name = UpperAscii(stored.name);
    types.push_back(ResourceType{stored, {}, {}});
    type_it = types.end() - 1;
  }
  auto& names = type_it->names;
  auto name_it = std::find_if(names.begin(), names.end(),
                              [&](const ResourceName& n) { return n.key.Matches(name); });
  if (name_it == names.end()) {
    names.push_back(ResourceName{name, {}, {}});
    name_it = names.end() - 1;
  }
  ResourceLeaf leaf;
  leaf.language = ResourceKey::Id(0);
  leaf.data = data;
  name_it->languages.assign(1, leaf);
}

void ResourceTree::SetExternal(const ResourceKey& type, const ResourceKey& name, uint64_t size) {
  Set(type, name, {});
  for (ResourceType& t : types) {
    if (!t.key.Matches(type)) continue;
    for (ResourceName& n : t.names)
      if (n.key.Matches(name)) n.languages.front().external_size = size;
  }
}

bool ReadResourceTree(const std::vector<uint8_t>& bytes, const Image& image, ResourceTree* tree,
                      std::string* error) {
  DataDirectory dir = image.Directory(kDirResource);
  ResourceTree parsed;
  if (dir.size != 0) {
    int index = image.SectionOf(dir.rva);
    if (index < 0) return Fail(error, "resource directory lies outside every section");
    const Section& s = image.sections[index];
    uint32_t within = dir.rva - s.virtual_address;
    uint32_t available = std::min(s.raw_size, s.MappedSize());
    if (within >= available)
      return Fail(error, "resource directory lies outside its section's data");
    TreeReader reader(bytes, image, s.raw_offset + within, available - within);
    if (!reader.ReadTree(&parsed, error)) return false;
  }
  *tree = std::move(parsed);
  return true;
}

bool WriteResourceTree(const ResourceTree& tree, uint32_t rva, std::vector<uint8_t>* out,
                       std::string* error) {
  ResourceTree sorted = Sorted(tree);
  return TreeWriter(sorted).Write(rva, out, error);
}

}  // namespace pe
