#include "runtime/zip_memory_io.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

voidpf ZCALLBACK MemoryOpen(voidpf opaque, const void* /*filename*/, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  auto* stream = static_cast<ZipMemoryStream*>(opaque);
  stream->position = 0;
  return stream;
}

uLong ZCALLBACK MemoryRead(voidpf /*opaque*/, voidpf handle, void* buffer, uLong size) {
  auto* stream = static_cast<ZipMemoryStream*>(handle);
  uint64_t available = stream->size - stream->position;
  uLong count = static_cast<uLong>(std::min<uint64_t>(size, available));
  if (count != 0) std::memcpy(buffer, stream->data + stream->position, count);
  stream->position += count;
  return count;
}

uLong ZCALLBACK MemoryWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemoryTell(voidpf /*opaque*/, voidpf handle) {
  return static_cast<ZipMemoryStream*>(handle)->position;
}

long ZCALLBACK MemorySeek(voidpf /*opaque*/, voidpf handle, ZPOS64_T offset, int origin) {
  auto* stream = static_cast<ZipMemoryStream*>(handle);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = stream->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = stream->size; break;
    default: return -1;
  }
  if (offset > stream->size - base) return -1;
  stream->position = base + offset;
  return 0;
}

int ZCALLBACK MemoryClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemoryError(voidpf, voidpf) { return 0; }

}  // namespace

unzFile OpenZipInMemory(ZipMemoryStream* stream) {
  zlib_filefunc64_def io{};
  io.zopen64_file = MemoryOpen;
  io.zread_file = MemoryRead;
  io.zwrite_file = MemoryWrite;
  io.ztell64_file = MemoryTell;
  io.zseek64_file = MemorySeek;
  io.zclose_file = MemoryClose;
  io.zerror_file = MemoryError;
  io.opaque = stream;
  return unzOpen2_64(stream, &io);
}
