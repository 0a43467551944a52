// Checks a payload archive the way the runtime will read it: through the
// runtime's own reader, in the install engine's block size.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pack {

// Lists every entry of `payload` on `out` (uncompressed and stored size,
// name), deciphers and inflates it with `password` and checks its size and
// CRC. Also checks that the entries are deflated and enciphered, that
// "pjcfg.ini" is present and UTF-8, and that every file item it lists finds
// its entry. Returns true when nothing is wrong; each fault is reported on
// `err` with the entry or item it concerns.
bool CheckPayload(const std::vector<uint8_t>& payload, const std::string& password, std::ostream& out,
                  std::ostream& err);

}  // namespace pack
