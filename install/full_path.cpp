#include "install/full_path.h"

bool IsFullPath(const cc::Str& path) {
  auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  if (path.GetLength() >= 3) {
    char16_t drive = static_cast<char16_t>(path[0] | 0x20);
    if (drive >= u'a' && drive <= u'z' && path[1] == u':' && separator(path[2])) return true;
  }
  return path.GetLength() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}
