#include "platform/path_text.h"

cc::Str WithTrailingBackslash(cc::Str path) {
  const int length = path.GetLength();
  if (length == 0) return path;
  const char16_t last = path[length - 1];
  if (last != u'\\' && last != u'/') path.Append(u'\\');
  return path;
}
