// The resource directory of an image as a three-level tree (type, name,
// language), read from untrusted bytes and written back in the layout the
// Windows loader searches: named entries first, sorted, then numbered ones
// in ascending order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/pe_image.h"

namespace pe {

// A type, name or language: a 16-bit number or a UTF-16 name.
struct ResourceKey {
  bool named = false;
  uint16_t id = 0;
  std::u16string name;

  static ResourceKey Id(uint16_t id) { return ResourceKey{false, id, {}}; }
  // "#123" is the number 123, as Windows reads it; anything else is a name.
  static ResourceKey FromText(std::u16string_view text);
  // Matching as the loader does: names compare without regard to ASCII case.
  bool Matches(const ResourceKey& other) const;
  std::string ToDisplay() const;  // "BIN", "2"; names shown in ASCII
};

// The fields of a directory table besides its entries, kept as they were.
struct DirectoryInfo {
  uint32_t characteristics = 0;
  uint32_t time_stamp = 0;
  uint16_t major_version = 0;
  uint16_t minor_version = 0;
};

struct ResourceLeaf {
  ResourceKey language;
  std::span<const uint8_t> data;  // points into the source image or the caller's data
  // Non-zero: the leaf's bytes are not in `data` but supplied by the caller
  // after the written tree (see WriteResourceTree).
  uint64_t external_size = 0;
  uint32_t code_page = 0;
  uint32_t reserved = 0;
};

struct ResourceName {
  ResourceKey key;
  DirectoryInfo info;
  std::vector<ResourceLeaf> languages;
};

struct ResourceType {
  ResourceKey key;
  DirectoryInfo info;
  std::vector<ResourceName> names;
};

struct ResourceTree {
  DirectoryInfo info;
  std::vector<ResourceType> types;

  // The entry (type, name), or null.
  const ResourceName* Find(const ResourceKey& type, const ResourceKey& name) const;
  // Makes (type, name) hold `data` alone, in language 0 with code page 0,
  // adding the type and the name when they are missing. A new type name is
  // stored in upper case, as resource compilers store names.
  void Set(const ResourceKey& type, const ResourceKey& name, std::span<const uint8_t> data);
  // The same for `size` bytes that the caller places after the written tree.
  void SetExternal(const ResourceKey& type, const ResourceKey& name, uint64_t size);
};

// Reads the resource directory of `image` (the bytes `bytes`) into *tree. An
// image without resources gives an empty tree. Returns false with *error when
// the directory is malformed (offsets past its section, a directory reached
// twice or a loop, entries at the wrong depth, data outside the image).
// The leaves point into `bytes`, which must outlive the tree.
bool ReadResourceTree(const std::vector<uint8_t>& bytes, const Image& image, ResourceTree* tree,
                      std::string* error);

// Writes `tree` as the contents of a section loaded at `rva`. A leaf with
// an external size (at most one) gets no bytes here: its data entry points
// just past *out, where the caller puts those bytes, so that a large
// resource is never copied. Returns false with *error when the result would
// not fit the 32-bit offsets of the format, a directory would hold more
// than 65535 entries of one kind, or more than one leaf is external.
bool WriteResourceTree(const ResourceTree& tree, uint32_t rva, std::vector<uint8_t>* out,
                       std::string* error);

}  // namespace pe
