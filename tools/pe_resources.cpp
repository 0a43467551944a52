#include "tools/pe_resources.h"

#include "tools/pe_image.h"
#include "tools/pe_resource_tree.h"

namespace {

bool CheckType(std::u16string_view type, std::string* error) {
  if (!type.empty()) return true;
  *error = "empty resource type";
  return false;
}

// Parses `image` and reads its resource tree for a resource of `type`.
// False with `*error` set when the type is empty or the image or its tree
// cannot be read.
bool ReadTreeFor(const std::vector<uint8_t>& image, std::u16string_view type, pe::Image* parsed,
                 pe::ResourceTree* tree, std::string* error) {
  return CheckType(type, error) && pe::ParseImage(image, parsed, error) &&
         pe::ReadResourceTree(image, *parsed, tree, error);
}

}  // namespace

bool SetResourceAround(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                       uint64_t size, pe::SplitImage* out, std::string* error) {
  pe::Image parsed;
  pe::ResourceTree tree;
  if (!ReadTreeFor(image, type, &parsed, &tree, error)) return false;
  // An empty resource has nothing to place outside the tree.
  if (size != 0) tree.SetExternal(pe::ResourceKey::FromText(type), pe::ResourceKey::Id(id), size);
  else tree.Set(pe::ResourceKey::FromText(type), pe::ResourceKey::Id(id), {});
  auto write_tree = [&tree](uint32_t rva, std::vector<uint8_t>* bytes, std::string* message) {
    return pe::WriteResourceTree(tree, rva, bytes, message);
  };
  return pe::RebuildWithResources(image, parsed, write_tree, size, out, error);
}

bool SetResource(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                 const std::vector<uint8_t>& data, std::vector<uint8_t>* out, std::string* error) {
  pe::SplitImage split;
  if (!SetResourceAround(image, type, id, data.size(), &split, error)) return false;
  std::vector<uint8_t> joined = std::move(split.head);
  joined.reserve(joined.size() + data.size() + split.tail.size());
  joined.insert(joined.end(), data.begin(), data.end());
  joined.insert(joined.end(), split.tail.begin(), split.tail.end());
  pe::Put32(&joined[split.checksum_offset], pe::ComputeChecksum(joined, split.checksum_offset));
  *out = std::move(joined);
  return true;
}

bool GetResource(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                 std::vector<uint8_t>* data, std::string* error) {
  pe::Image parsed;
  pe::ResourceTree tree;
  if (!ReadTreeFor(image, type, &parsed, &tree, error)) return false;
  pe::ResourceKey type_key = pe::ResourceKey::FromText(type);
  const pe::ResourceName* name = tree.Find(type_key, pe::ResourceKey::Id(id));
  if (name == nullptr || name->languages.empty()) {
    *error = "no resource " + type_key.ToDisplay() + "/" + std::to_string(id);
    return false;
  }
  const auto& bytes = name->languages.front().data;
  data->assign(bytes.begin(), bytes.end());
  return true;
}

int PeImageBits(const std::vector<uint8_t>& image) {
  pe::Image parsed;
  std::string error;
  return pe::ParseImage(image, &parsed, &error) ? parsed.bits : 0;
}
