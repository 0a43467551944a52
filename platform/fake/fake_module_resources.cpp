#include "platform/fake/fake_module_resources.h"

#include "platform/file_name_case.h"

namespace {

std::pair<std::u16string, int> ResourceKey(const cc::Str& type, int id) {
  return {FoldFileName(type.View()), id};
}

}  // namespace

bool FakeModuleResources::Read(const cc::Str& type, int id, std::string* bytes) {
  auto it = resources_.find(ResourceKey(type, id));
  if (it == resources_.end()) return false;
  *bytes = it->second;
  return true;
}

bool FakeModuleResources::View(const cc::Str& type, int id, std::string_view* bytes) {
  auto it = resources_.find(ResourceKey(type, id));
  if (it == resources_.end()) return false;
  *bytes = it->second;
  return true;
}

void FakeModuleResources::Put(const cc::Str& type, int id, std::string bytes) {
  resources_[ResourceKey(type, id)] = std::move(bytes);
}

void FakeModuleResources::Remove(const cc::Str& type, int id) {
  resources_.erase(ResourceKey(type, id));
}
