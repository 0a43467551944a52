#include "tools/pe_resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "tools/pe_test_support.h"

namespace pe {
namespace {

std::string Upper(std::u16string_view text) {
  std::string upper;
  for (char16_t c : text) upper += static_cast<char>(c >= u'a' && c <= u'z' ? c - 32 : c);
  return upper;
}

uint64_t RawEnd(const Image& image) {
  uint64_t end = image.size_of_headers;
  for (const Section& s : image.sections)
    if (s.raw_size) end = std::max<uint64_t>(end, uint64_t{s.raw_offset} + s.raw_size);
  return end;
}

const Section* FindSection(const Image& image, const std::string& name) {
  for (const Section& s : image.sections)
    if (s.name == name) return &s;
  return nullptr;
}

std::vector<uint8_t> RawData(const std::vector<uint8_t>& bytes, const Section& s) {
  return std::vector<uint8_t>(bytes.begin() + s.raw_offset,
                              bytes.begin() + s.raw_offset + s.raw_size);
}

std::vector<uint8_t> DirectoryBytes(const std::vector<uint8_t>& bytes, const Image& image,
                                    int slot) {
  DataDirectory dir = image.Directory(slot);
  size_t at = 0;
  if (dir.size == 0 || !image.RvaToOffset(dir.rva, dir.size, &at)) return {};
  return std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + dir.size);
}

// Every section but the old resources is in the output with the same bytes;
// those before the old resources keep their address; the relocations are
// the same; the size of the image and the checksum fit the new layout.
void ExpectLayoutSound(const std::vector<uint8_t>& in, const std::vector<uint8_t>& out) {
  Image before, after;
  std::string error;
  ASSERT_TRUE(ParseImage(in, &before, &error)) << error;
  ASSERT_TRUE(ParseImage(out, &after, &error)) << error;
  EXPECT_EQ(before.bits, after.bits);
  EXPECT_EQ(before.entry_point, after.entry_point);
  int old_resources = before.Directory(kDirResource).size
                          ? before.SectionOf(before.Directory(kDirResource).rva) : -1;
  uint32_t first_moved = old_resources >= 0
                             ? before.sections[old_resources].virtual_address : 0xffffffffu;
  if (const Section* reloc = FindSection(before, ".reloc"))
    first_moved = std::min(first_moved, reloc->virtual_address);
  for (size_t i = 0; i < before.sections.size(); ++i) {
    if (static_cast<int>(i) == old_resources) continue;
    const Section& s = before.sections[i];
    const Section* moved = FindSection(after, s.name);
    ASSERT_NE(moved, nullptr) << "section " << s.name << " lost";
    EXPECT_EQ(RawData(in, s), RawData(out, *moved)) << "section " << s.name;
    if (s.virtual_address < first_moved) {
      EXPECT_EQ(s.virtual_address, moved->virtual_address) << "section " << s.name;
    }
  }
  EXPECT_EQ(after.sections[after.sections.size() - 1].name,
            before.Directory(kDirBaseReloc).size ? ".reloc" : ".rsrc");
  EXPECT_EQ(DirectoryBytes(in, before, kDirBaseReloc), DirectoryBytes(out, after, kDirBaseReloc));
  const Section& last = after.sections.back();
  EXPECT_EQ(Get32(&out[after.optional_offset + 56]),
            AlignUp(last.virtual_address + last.MappedSize(), after.section_alignment));
  EXPECT_EQ(Get32(&out[after.ChecksumOffset()]), ComputeChecksum(out, after.ChecksumOffset()));
  // The resources start on a file page, so a loader can map the payload
  // lazily instead of reading it whole at start-up.
  const Section* resources = FindSection(after, ".rsrc");
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(resources->raw_offset % 0x1000, 0u);
}

TEST(PeResourcesTest, LinkerChecksumsMatchOurs) {
  // The mingw linker writes a correct checksum: an independent reference.
  for (const char* name : {"fixture64", "fixture64n", "fixture32s"}) {
    std::vector<uint8_t> image;
    PE_LOAD_FIXTURE(name, &image);
    Image parsed;
    std::string error;
    ASSERT_TRUE(ParseImage(image, &parsed, &error)) << error;
    EXPECT_EQ(Get32(&image[parsed.ChecksumOffset()]),
              ComputeChecksum(image, parsed.ChecksumOffset())) << name;
  }
}

// The packer sums a setup in pieces as it writes it: any split gives the
// checksum of the whole, wherever the pieces start and the field lies.
TEST(PeResourcesTest, ChecksumInPiecesEqualsTheWhole) {
  std::vector<uint8_t> image;
  PE_LOAD_FIXTURE("fixture64", &image);
  Image parsed;
  std::string error;
  ASSERT_TRUE(ParseImage(image, &parsed, &error)) << error;
  const size_t field = parsed.ChecksumOffset();
  const std::vector<std::vector<size_t>> splits = {
      {1},                          // an odd first piece
      {field + 1, field + 2},       // cuts inside the field
      {field - 1, field + 5},       // the field alone in a piece, odd
      {7, 8, 1001, image.size() - 3},
  };
  for (const std::vector<size_t>& cuts : splits) {
    ImageChecksum sum(field);
    size_t at = 0;
    for (size_t cut : cuts) {
      sum.Add(image.data() + at, cut - at);
      at = cut;
    }
    sum.Add(image.data() + at, image.size() - at);
    EXPECT_EQ(sum.Value(), Get32(&image[field])) << "first cut at " << cuts.front();
  }
}

TEST(PeResourcesTest, SetResourceKeepsEveryOtherResource) {
  struct Case {
    const char* fixture;
    const char16_t* type;
    uint16_t id;
    size_t size;
  };
  const Case cases[] = {
      {"fixture64", u"BIN", 2, 200000},  // replaces a payload held in two languages: larger
      {"fixture64", u"BIN", 2, 3},       // and smaller
      {"fixture64s", u"BIN", 2, 4096},   // adds to an existing type
      {"fixture64n", u"BIN", 2, 70000},  // an image without any resources
      {"fixture32", u"BIN", 2, 100001},  // unstripped, odd size
      {"fixture32s", u"BIN", 2, 0},      // an empty payload
      {"fixture32s", u"BIN", 2, 5000},
      {"fixture64s", u"data", 3, 17},    // a new type, named in lower case
      {"fixture32", u"#10", 11, 9},      // a numbered type (RCDATA) given as "#10"
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i) + " (" + c.fixture + ")");
    std::vector<uint8_t> in;
    PE_LOAD_FIXTURE(c.fixture, &in);
    std::vector<uint8_t> data = PatternBytes(c.size, static_cast<uint32_t>(i));
    std::vector<uint8_t> out, back;
    std::string error;
    ASSERT_TRUE(SetResource(in, c.type, c.id, data, &out, &error)) << error;
    ASSERT_TRUE(GetResource(out, c.type, c.id, &back, &error)) << error;
    EXPECT_EQ(back, data);

    std::string type = ResourceKey::FromText(c.type).named ? Upper(c.type)
                                                           : std::to_string(ResourceKey::FromText(c.type).id);
    std::string prefix = type + "/" + std::to_string(c.id) + "/";
    ResourceListing expected = ListResources(in);
    std::erase_if(expected, [&](const auto& kv) { return kv.first.rfind(prefix, 0) == 0; });
    expected[prefix + "0"] = ListedResource{data, 0};
    EXPECT_EQ(ListResources(out), expected);
    ExpectLayoutSound(in, out);
  }
}

TEST(PeResourcesTest, OutputIsDeterministicAndStable) {
  for (const char* name : {"fixture64", "fixture32s", "fixture64n"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> in;
    PE_LOAD_FIXTURE(name, &in);
    std::vector<uint8_t> data = PatternBytes(12345, 7), first, second, again;
    std::string error;
    ASSERT_TRUE(SetResource(in, u"BIN", 2, data, &first, &error)) << error;
    ASSERT_TRUE(SetResource(in, u"BIN", 2, data, &second, &error)) << error;
    EXPECT_EQ(first, second);
    // Packing a packed image again with the same data changes nothing.
    ASSERT_TRUE(SetResource(first, u"BIN", 2, data, &again, &error)) << error;
    EXPECT_EQ(again, first);
  }
}

TEST(PeResourcesTest, OverlayAndSymbolTableFollowTheLastSection) {
  const std::vector<uint8_t> overlay = PatternBytes(999, 3);
  for (const char* name : {"fixture64s", "fixture32"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> in;
    PE_LOAD_FIXTURE(name, &in);
    in.insert(in.end(), overlay.begin(), overlay.end());
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(SetResource(in, u"BIN", 2, PatternBytes(30000, 1), &out, &error)) << error;
    ASSERT_GE(out.size(), overlay.size());
    EXPECT_TRUE(std::equal(overlay.begin(), overlay.end(), out.end() - overlay.size()));
    Image before, after;
    ASSERT_TRUE(ParseImage(in, &before, &error) && ParseImage(out, &after, &error)) << error;
    // Everything after the sections (symbols, overlay) keeps its size.
    EXPECT_EQ(out.size() - RawEnd(after), in.size() - RawEnd(before));
    if (before.symbol_table_offset == 0) continue;
    // The string table (long section names) right after the symbols moved intact.
    auto strings = [](const std::vector<uint8_t>& bytes, const Image& image) {
      size_t at = image.symbol_table_offset + 18 * size_t{image.symbol_count};
      return std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + Get32(&bytes[at]));
    };
    ASSERT_EQ(after.symbol_count, before.symbol_count);
    // Each symbol still names the section it named (by its new position).
    auto section_of_symbol = [](const std::vector<uint8_t>& bytes, const Image& image,
                                size_t i) -> std::string {
      int16_t number = static_cast<int16_t>(Get16(&bytes[image.symbol_table_offset + 18 * i + 12]));
      if (number <= 0 || static_cast<size_t>(number) > image.sections.size()) return "";
      const std::string& name = image.sections[number - 1].name;
      return name == ".rsrc" ? "" : name;
    };
    for (size_t i = 0; i < before.symbol_count; i += 1 + in[before.symbol_table_offset + 18 * i + 17])
      EXPECT_EQ(section_of_symbol(out, after, i), section_of_symbol(in, before, i)) << "symbol " << i;
    EXPECT_GE(after.symbol_table_offset, RawEnd(after));
    EXPECT_EQ(strings(out, after), strings(in, before));
  }
}

TEST(PeResourcesTest, SignatureIsDropped) {
  std::vector<uint8_t> in;
  PE_LOAD_FIXTURE("fixture64s", &in);
  // A certificate table as a signer appends it: a WIN_CERTIFICATE at the end
  // of the file, named by the security directory.
  std::vector<uint8_t> signed_image = in;
  uint32_t cert_offset = static_cast<uint32_t>(signed_image.size());
  std::vector<uint8_t> cert = PatternBytes(64, 9);
  Put32(&cert[0], static_cast<uint32_t>(cert.size()));
  Put32(&cert[4], 0x00020200);
  signed_image.insert(signed_image.end(), cert.begin(), cert.end());
  Image parsed;
  std::string error;
  ASSERT_TRUE(ParseImage(in, &parsed, &error)) << error;
  Put32(&signed_image[parsed.directory_offset + 8 * kDirSecurity], cert_offset);
  Put32(&signed_image[parsed.directory_offset + 8 * kDirSecurity + 4],
        static_cast<uint32_t>(cert.size()));

  std::vector<uint8_t> data = PatternBytes(777, 2), from_signed, from_plain;
  ASSERT_TRUE(SetResource(signed_image, u"BIN", 2, data, &from_signed, &error)) << error;
  ASSERT_TRUE(SetResource(in, u"BIN", 2, data, &from_plain, &error)) << error;
  EXPECT_EQ(from_signed, from_plain);
}

TEST(PeResourcesTest, GetResourceLooksUpLikeTheLoader) {
  struct Case {
    const char16_t* type;
    uint16_t id;
    std::string expected;  // the data, or the error when it starts with "!"
  };
  const Case cases[] = {
      {u"BIN", 7, std::string("seven\0", 6)},
      {u"bin", 8, std::string("eight!\0", 7)},  // names ignore letter case
      {u"BIN", 2, std::string("an older payload, longer than the smallest new one\0", 51)},
      {u"#10", 10, std::string("\1\0\2\0\3\0\4\0\5\0", 10)},
      {u"BIN", 99, "!no resource BIN/99"},
      {u"NOPE", 1, "!no resource NOPE/1"},
      {u"", 2, "!empty resource type"},
  };
  std::vector<uint8_t> image;
  PE_LOAD_FIXTURE("fixture64", &image);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    std::vector<uint8_t> data = {42};
    std::string error;
    bool ok = GetResource(image, c.type, c.id, &data, &error);
    if (c.expected.rfind("!", 0) == 0) {
      EXPECT_FALSE(ok) << "case " << i;
      EXPECT_EQ(error, c.expected.substr(1)) << "case " << i;
      EXPECT_EQ(data, std::vector<uint8_t>{42}) << "case " << i;
    } else {
      EXPECT_TRUE(ok) << "case " << i << ": " << error;
      EXPECT_EQ(std::string(data.begin(), data.end()), c.expected) << "case " << i;
    }
  }
}

TEST(PeResourcesTest, PeImageBitsTellsTheMachine) {
  const std::pair<const char*, int> cases[] = {{"fixture64", 64}, {"fixture32s", 32}};
  for (const auto& [name, bits] : cases) {
    std::vector<uint8_t> image;
    PE_LOAD_FIXTURE(name, &image);
    EXPECT_EQ(PeImageBits(image), bits) << name;
  }
  EXPECT_EQ(PeImageBits({}), 0);
  EXPECT_EQ(PeImageBits(std::vector<uint8_t>(4096, 'M')), 0);
}

// Offsets inside a fixture that the malformed cases change.
struct Landmarks {
  Image image;
  size_t resources = 0;   // file offset of the resource directory
  size_t type_table = 0;  // the first type's table, relative to `resources`
  size_t name_table = 0;  // its first name's table
  size_t data_entry = 0;  // that name's first data entry
};

Landmarks Find(const std::vector<uint8_t>& bytes) {
  Landmarks at;
  std::string error;
  EXPECT_TRUE(ParseImage(bytes, &at.image, &error)) << error;
  DataDirectory dir = at.image.Directory(kDirResource);
  if (dir.size == 0 || !at.image.RvaToOffset(dir.rva, 16, &at.resources)) return at;
  auto target = [&](size_t table) { return Get32(&bytes[at.resources + table + 20]) & 0x7fffffff; };
  at.type_table = target(0);
  at.name_table = target(at.type_table);
  at.data_entry = target(at.name_table);
  return at;
}

using Mutation = std::function<void(std::vector<uint8_t>& b, const Landmarks& at)>;

TEST(PeResourcesTest, MalformedImagesGiveErrors) {
  struct Case {
    const char* fixture;
    Mutation mutate;
    const char* error;  // a part of the expected message
    bool set_only;      // GetResource does not look at what is broken
  };
  auto section_field = [](const Landmarks& at, size_t index, size_t field) {
    return at.image.section_table_offset + kSectionHeaderSize * index + field;
  };
  auto dir_field = [](const Landmarks& at, int slot) { return at.image.directory_offset + 8 * slot; };
  const Case cases[] = {
      {"fixture64s", [](auto& b, auto&) { b.clear(); }, "not a PE image", false},
      {"fixture64s", [](auto& b, auto&) { b.resize(40); }, "not a PE image", false},
      {"fixture64s", [](auto& b, auto&) { Put32(&b[0x3c], 0x7ffffff0); }, "not a PE image", false},
      {"fixture64s", [](auto& b, auto& at) { b[at.image.coff_offset - 4] = 'X'; },
       "not a PE image", false},
      {"fixture64s", [](auto& b, auto& at) { Put16(&b[at.image.coff_offset], 0xaa64); },
       "not a 32-bit or 64-bit Windows program", false},
      {"fixture64s", [](auto& b, auto& at) { Put16(&b[at.image.optional_offset], 0x10b); },
       "not a 32-bit or 64-bit Windows program", false},
      {"fixture32s", [](auto& b, auto& at) { b.resize(at.image.optional_offset + 50); },
       "truncated optional header", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.image.directory_offset - 4], 1000); },
       "bad number of data directories: 1000", false},
      {"fixture64s", [](auto& b, auto& at) { Put16(&b[at.image.coff_offset + 2], 0xffff); },
       "truncated section table", false},
      {"fixture64s", [](auto& b, auto& at) { Put16(&b[at.image.coff_offset + 2], 0); },
       "image has no sections", false},
      {"fixture32s", [](auto& b, auto&) { b.resize(b.size() / 2); },
       "lies past the end of the image", false},
      {"fixture64s", [&](auto& b, auto& at) { Put32(&b[section_field(at, 0, 20)], 0xfffff000); },
       "section '.text' lies past the end of the image", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.image.optional_offset + 36], 3); },
       "bad section or file alignment", false},
      {"fixture64s", [&](auto& b, auto& at) {
         Put32(&b[section_field(at, 1, 12)], at.image.sections[0].virtual_address); },
       "overlaps or precedes", false},
      {"fixture64s", [&](auto& b, auto& at) { Put32(&b[dir_field(at, kDirResource)], 0x7fff0000); },
       "resource directory lies outside every section", false},
      {"fixture64s", [](auto& b, auto& at) { Put16(&b[at.resources + 12], 0xffff); },
       "lies past its section", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.resources + 20], 0x80000000); },
       "is reached twice (a loop)", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.resources + 20], 0x10); },
       "has data instead of a directory", false},
      {"fixture64s", [](auto& b, auto& at) {
         Put32(&b[at.resources + at.name_table + 20], 0x80000000); },
       "has a directory below the third level", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.resources + at.data_entry], 0x7fff0000); },
       "lies outside the image", false},
      {"fixture64s", [](auto& b, auto& at) { Put32(&b[at.resources + 16], 0xfffffff0); },
       "resource name at 0x7ffffff0 lies past its section", false},
      {"fixture64n", [](auto& b, auto& at) {
         b[at.image.section_table_offset + kSectionHeaderSize * at.image.sections.size() + 3] = 1; },
       "no room for another section header", true},
      {"fixture64s", [&](auto& b, auto& at) {
         Put32(&b[dir_field(at, 0)], at.image.Directory(kDirBaseReloc).rva);
         Put32(&b[dir_field(at, 0) + 4], 16); },
       "data directory 0 points into section '.reloc', which would move", true},
      {"fixture64s", [&](auto& b, auto& at) {
         Put32(&b[dir_field(at, kDirSecurity)], 0x400);
         Put32(&b[dir_field(at, kDirSecurity) + 4], 16); },
       "signature table does not lie after the last section", true},
      {"fixture32", [](auto& b, auto& at) { Put32(&b[at.image.coff_offset + 8], 0x400); },
       "symbol table does not lie after the last section", true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    std::vector<uint8_t> image;
    PE_LOAD_FIXTURE(c.fixture, &image);
    c.mutate(image, Find(image));
    const std::vector<uint8_t> sentinel = {1, 2, 3};
    std::vector<uint8_t> out = sentinel;
    std::string error;
    EXPECT_FALSE(SetResource(image, u"BIN", 2, {9, 9}, &out, &error)) << "case " << i;
    EXPECT_NE(error.find(c.error), std::string::npos) << "case " << i << ": " << error;
    EXPECT_EQ(out, sentinel) << "case " << i;
    if (c.set_only) continue;
    error.clear();
    EXPECT_FALSE(GetResource(image, u"BIN", 7, &out, &error)) << "case " << i;
    EXPECT_NE(error.find(c.error), std::string::npos) << "case " << i << ": " << error;
    EXPECT_EQ(out, sentinel) << "case " << i;
  }
}

}  // namespace
}  // namespace pe
