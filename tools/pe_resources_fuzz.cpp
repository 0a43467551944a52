// Feeds arbitrary bytes to the resource reader and writer. Besides not
// crashing, a successful rewrite must read back what was written, and
// rewriting its own output with the same data must change nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/pe_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> image(data, data + size);
  static const std::vector<uint8_t> payload = {'P', 'K', 3, 4, 0, 1, 2, 3, 4, 5, 6};
  std::string error;
  PeImageBits(image);
  std::vector<uint8_t> found;
  GetResource(image, u"BIN", 7, &found, &error);
  std::vector<uint8_t> packed;
  if (!SetResource(image, u"BIN", 2, payload, &packed, &error)) return 0;
  std::vector<uint8_t> back;
  if (!GetResource(packed, u"BIN", 2, &back, &error) || back != payload) __builtin_trap();
  std::vector<uint8_t> again;
  if (!SetResource(packed, u"BIN", 2, payload, &again, &error) || again != packed)
    __builtin_trap();
  return 0;
}
