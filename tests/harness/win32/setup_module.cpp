#include "tests/harness/win32/setup_module.h"

#include "platform/win32/wide.h"

void* LoadModuleAsData(const cc::Str& path) {
  return LoadLibraryExW(Wide(path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}
