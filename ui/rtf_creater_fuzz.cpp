// Arbitrary bytes through the HTML-to-RTF converter: no read past the input,
// and the result always holds the header and the closing brace.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/rtf_creater.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  cc::win::RTFCreater creater;
  // The input is handed over with its exact length, in a buffer of its own,
  // so that ASan sees any read behind its last byte.
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string_view rtf(creater.Convert(bytes, static_cast<int>(size), 20));
  const std::string_view input(bytes, size);
  if (size >= 8 && input.substr(0, 7) == "{\\rtf1\\") {
    if (rtf != input) std::abort();
  } else if (!rtf.starts_with("{\\rtf1\\ansi") || !rtf.ends_with("}\r\n")) {
    std::abort();
  }
  return 0;
}
