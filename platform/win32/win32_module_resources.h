// Resources through FindResourceW, LoadResource, LockResource and
// SizeofResource.
#pragma once

#include "platform/module_resources.h"

class Win32ModuleResources : public ModuleResources {
 public:
  // `module` is an HMODULE; null means the running program's own file.
  explicit Win32ModuleResources(void* module = nullptr) : module_(module) {}
  bool Read(const cc::Str& type, int id, std::string* bytes) override;
  bool View(const cc::Str& type, int id, std::string_view* bytes) override;

 private:
  void* module_;
};
