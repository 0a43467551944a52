// Resources of the running program's own module: the payload ("BIN"/2), the
// tile script template ("BIN"/7), the resource index ("BIN"/8).
#pragma once

#include <string>

#include "core/str.h"

class ModuleResources {
 public:
  virtual ~ModuleResources() = default;
  // The bytes of the resource of type name `type` ("BIN") and integer id
  // `id`. True with `bytes` filled (possibly empty); false when the resource
  // does not exist or cannot be loaded (`bytes` is then left unchanged).
  virtual bool Read(const cc::Str& type, int id, std::string* bytes) = 0;
};
