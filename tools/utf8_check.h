// Strict UTF-8 validation for the texts the packer stores.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pack {

inline constexpr size_t kValidUtf8 = std::string_view::npos;

// Returns kValidUtf8 when `text` is well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF, no truncated sequence), otherwise the
// offset of the first byte of the first bad sequence.
size_t FindInvalidUtf8(std::string_view text);

// "line L, column C (byte offset B)" for an offset into `text`; lines and
// columns count from 1, columns in bytes.
std::string DescribeOffset(std::string_view text, size_t offset);

}  // namespace pack
