#include "install/create_folder.h"

#include <vector>

#include "install/install_session.h"
#include "install/status.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "runtime/setup_log.h"

bool CreateFolder(InstallSession& session, const cc::Str& path, bool record) {
  if (record) session.record.AddLine(u"Dir?=", path);
  FileSystem& files = *session.platform.files;
  if (FolderExists(files, path)) return true;
  ShowStatusLine(session.progress(), session.log, cc::Str(u"Create folder:") + path + cc::Str(u"\r\n"));
  files.ClearLastError();
  MakeFolderTree(files, path);
  if (FolderExists(files, path)) return true;
  session.log.Line(u"Create folder NG:%s", path);
  session.log.WriteOsError(files);
  return false;
}

bool CreateFolderRecordingParents(InstallSession& session, const cc::Str& path) {
  // Recorded before `path`: the removal goes backwards, so it meets them
  // once `path` has gone and they are empty. The last one missing is `path`.
  std::vector<cc::Str> missing = MissingFolders(*session.platform.files, path);
  for (size_t i = 0; i + 1 < missing.size(); ++i) {
    session.record.AddLine(u"Dir?=", WithTrailingBackslash(missing[i]));
  }
  return CreateFolder(session, path, true);
}
