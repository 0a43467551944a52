// Paths to and from UTF-8 text, the same on Linux and Windows (where the
// narrow code page would lose characters).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pack {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The path with forward slashes, as UTF-8.
inline std::string PathToUtf8(const std::filesystem::path& path) {
  std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace pack
