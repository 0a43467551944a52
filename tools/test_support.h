// Helpers shared by the packer's tests: a scratch folder removed at the end
// of the test, and whole-file reading and writing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace pack {

// The packer's tests know the shared scratch folder by this name.
using ScratchDir = test_support::ScratchFolder;

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> ToBytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// `n` bytes that deflate cannot shrink, the same for the same seed.
inline std::string NoiseBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

}  // namespace pack
