// minizip over a buffer in memory: the payload archive reads the program's
// own resource this way, and the packer reads back the archives it wrote.
#pragma once

#include <minizip/unzip.h>

#include <cstdint>

// The bytes minizip reads, and where it reads next. The buffer must outlive
// the handle opened on it.
struct ZipMemoryStream {
  const unsigned char* data = nullptr;
  uint64_t size = 0;
  uint64_t position = 0;
};

// Opens `stream` (from its start) for reading with minizip. Returns the
// handle, to be closed with unzClose; null when the bytes are not a ZIP
// archive minizip accepts. Seeks outside [0, size] are refused, so no read
// starts past the end of the buffer; writes write nothing.
unzFile OpenZipInMemory(ZipMemoryStream* stream);
