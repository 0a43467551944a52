#include "runtime/extension_temp_folder.h"

#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "platform/system_info.h"

namespace {
// Another program may take the names in between; a few tries are plenty.
constexpr int kAttempts = 8;
}  // namespace

cc::Str MakeTempFolder(Platform& platform, const cc::Str& prefix) {
  FileSystem& files = *platform.files;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    // The temporary-name service hands out a name by creating an empty
    // file; the folder takes the name once the file is gone. CreateFolder
    // fails on anything that exists, so the folder is always a new one.
    cc::Str name = MakeTempFile(*platform.system, prefix);
    if (name.IsEmpty()) return cc::Str(u"");
    if (!DeleteFileForced(files, name)) return cc::Str(u"");
    if (files.CreateFolder(name)) return name + cc::Str(u"\\");
  }
  return cc::Str(u"");
}
