// Reading and replacing resources of a Windows program image (PE32 or PE32+)
// on any host, without the operating system's resource-update calls. The
// packer uses it to put the payload archive into the runtime as "BIN"/2.
//
// The output is deterministic: the same inputs always give the same bytes.
// Resource types and names are matched as Windows does: a named type compares
// without regard to ASCII letter case ("bin" finds "BIN").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/pe_image.h"

// Returns true and sets *out to a copy of `image` whose resource (type, id)
// holds `data` (added, or replacing an existing entry of that type and id);
// every other resource stays byte-identical. On failure returns false and
// sets *error to a message naming what is wrong ("not a PE image", "not a
// 32-bit or 64-bit Windows program", ...); *out is then untouched.
//
// The new resource gets language 0 (neutral); an existing (type, id) entry is
// replaced in all its languages. The resource tree is written as a new
// section after every other section but the relocations, which move behind
// it; the old resource section is dropped. Sections that sat after the old
// resources (debug information) move down with their symbol table. An
// Authenticode signature is removed (sign after packing) and the checksum is
// recomputed. Data appended after the last section (an overlay) is kept,
// still after the last section, but at a new file offset.
bool SetResource(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                 const std::vector<uint8_t>& data, std::vector<uint8_t>* out, std::string* error);

// The same for `size` bytes of data that the caller writes itself: *out is
// the new image around them (the file is out->head, the data, out->tail)
// with its CheckSum field zero, for the caller to compute over the whole
// file (pe::ImageChecksum) and write. Large data is never held in memory.
// The result, joined with the data, equals what SetResource makes.
bool SetResourceAround(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                       uint64_t size, pe::SplitImage* out, std::string* error);

// Reads resource (type, id) (first language) into *data; false when absent or the
// image is malformed. *error then says which ("no resource BIN/2", or what is
// malformed); *data is untouched on failure.
bool GetResource(const std::vector<uint8_t>& image, std::u16string_view type, uint16_t id,
                 std::vector<uint8_t>* data, std::string* error);

// The machine kind of a PE image: 32 for PE32 (i386), 64 for PE32+ (x86-64), 0 when
// the bytes are not a PE image.
int PeImageBits(const std::vector<uint8_t>& image);
