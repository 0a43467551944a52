#include "install/create_folder.h"

#include "install/install_session.h"
#include "install/status.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"

bool CreateFolder(InstallSession& session, const cc::Str& path, bool record) {
  if (record) session.record.AddLine(u"Dir?=", path);
  FileSystem& files = *session.platform.files;
  if (!FolderExists(files, path)) {
    ShowStatusLine(session.progress(), cc::Str(u"Create folder:") + path + cc::Str(u"\r\n"));
    MakeFolderTree(files, path);
  }
  return FolderExists(files, path);
}
