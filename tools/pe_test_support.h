// Helpers shared by the resource editor's tests: the fixture programs built
// by tools/CMakeLists.txt, file access, and a listing of every resource.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/pe_image.h"
#include "tools/pe_resource_tree.h"

namespace pe {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The path of fixture `name` ("fixture64s"), or "" when this build has none.
inline std::string FixturePath(const std::string& name) {
#ifdef VELMORA_PE_FIXTURES
  return std::string(VELMORA_PE_FIXTURES) + "/" + name + ".exe";
#else
  return "";
#endif
}

// Loads fixture `name`; use it through PE_LOAD_FIXTURE, which leaves the test
// when the fixture is missing or unreadable (a failure either way: a missing
// fixture must not let the test pass without checking anything).
inline void LoadFixture(const std::string& name, std::vector<uint8_t>* bytes) {
  std::string path = FixturePath(name);
  if (path.empty()) GTEST_FAIL() << "fixture " << name << " is missing (built with the native flavour)";
  *bytes = ReadBytes(path);
  ASSERT_FALSE(bytes->empty()) << "cannot read fixture " << path;
}

#define PE_LOAD_FIXTURE(name, bytes)                                              \
  do {                                                                             \
    ::pe::LoadFixture(name, bytes);                                                \
    if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return; \
  } while (0)

// FNV-1a over `data`, as the fixture program prints it.
inline uint32_t Fnv1a(const std::vector<uint8_t>& data) {
  uint32_t hash = 2166136261u;
  for (uint8_t b : data) hash = (hash ^ b) * 16777619u;
  return hash;
}

// `n` bytes of a fixed pseudo-random pattern.
inline std::vector<uint8_t> PatternBytes(size_t n, uint32_t seed) {
  std::vector<uint8_t> bytes(n);
  uint32_t x = seed * 2654435761u + 1;
  for (uint8_t& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return bytes;
}

// A resource as listed: its bytes and code page, keyed "TYPE/NAME/LANGUAGE".
struct ListedResource {
  std::vector<uint8_t> data;
  uint32_t code_page = 0;
  bool operator==(const ListedResource&) const = default;
};
using ResourceListing = std::map<std::string, ListedResource>;

// Every resource of `image`; fails the test when the tree cannot be read.
inline ResourceListing ListResources(const std::vector<uint8_t>& image) {
  ResourceListing listing;
  Image parsed;
  ResourceTree tree;
  std::string error;
  EXPECT_TRUE(ParseImage(image, &parsed, &error) && ReadResourceTree(image, parsed, &tree, &error))
      << error;
  for (const ResourceType& type : tree.types)
    for (const ResourceName& name : type.names)
      for (const ResourceLeaf& leaf : name.languages)
        listing[type.key.ToDisplay() + "/" + name.key.ToDisplay() + "/" +
                leaf.language.ToDisplay()] =
            ListedResource{std::vector<uint8_t>(leaf.data.begin(), leaf.data.end()),
                           leaf.code_page};
  return listing;
}

}  // namespace pe
