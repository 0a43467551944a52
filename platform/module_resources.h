// Resources of the running program's own module: the payload ("BIN"/2), the
// tile script template ("BIN"/7), the resource index ("BIN"/8).
#pragma once

#include <string>
#include <string_view>

#include "core/str.h"

class ModuleResources {
 public:
  virtual ~ModuleResources() = default;
  // The bytes of the resource of type name `type` ("BIN") and integer id
  // `id`. True with `bytes` filled (possibly empty); false when the resource
  // does not exist or cannot be loaded (`bytes` is then left unchanged).
  virtual bool Read(const cc::Str& type, int id, std::string* bytes) = 0;
  // The same bytes in place, without a copy: valid while the module stays
  // loaded (for a fake, until that resource is replaced or removed). The
  // payload is read through this so that start-up does not copy, and so
  // page in, hundreds of megabytes. True with `bytes` set; false when the
  // resource does not exist or cannot be viewed in place (`bytes` then
  // unchanged; Read may still work).
  virtual bool View(const cc::Str& /*type*/, int /*id*/, std::string_view* /*bytes*/) {
    return false;
  }
};
