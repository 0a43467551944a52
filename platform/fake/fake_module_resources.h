// Resources of the program for tests: bytes stored by type name and id.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/module_resources.h"

class FakeModuleResources : public ModuleResources {
 public:
  bool Read(const cc::Str& type, int id, std::string* bytes) override;
  bool View(const cc::Str& type, int id, std::string_view* bytes) override;
  // Type names ignore letter case, as resource type names do.
  void Put(const cc::Str& type, int id, std::string bytes);
  void Remove(const cc::Str& type, int id);

 private:
  std::map<std::pair<std::u16string, int>, std::string> resources_;
};
