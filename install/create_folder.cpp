#include "install/create_folder.h"

#include <string_view>
#include <vector>

#include "install/install_session.h"
#include "install/status.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "runtime/setup_log.h"

namespace {

// The folder above `folder` (no trailing separator), or an empty text at a
// drive ("C:") or a server ("\\server"), which are never ours.
cc::Str ParentFolder(const cc::Str& folder) {
  std::u16string_view view = folder.View();
  while (!view.empty() && (view.back() == u'\\' || view.back() == u'/')) view.remove_suffix(1);
  const size_t cut = view.find_last_of(u"\\/");
  if (cut == std::u16string_view::npos || cut <= 2) return cc::Str(u"");
  std::u16string_view parent = view.substr(0, cut);
  if (parent.substr(0, 2) == u"\\\\" && parent.find_first_of(u"\\/", 2) == std::u16string_view::npos) {
    return cc::Str(u"");
  }
  return cc::Str(parent);
}

// The missing folders above `path`, outermost first: creating `path` makes
// them, so they are this install's as much as `path` is.
std::vector<cc::Str> MissingParents(FileSystem& files, const cc::Str& path) {
  std::vector<cc::Str> missing;
  for (cc::Str parent = ParentFolder(path); !parent.IsEmpty() && !FolderExists(files, parent);
       parent = ParentFolder(parent)) {
    missing.insert(missing.begin(), WithTrailingBackslash(parent));
  }
  return missing;
}

}  // namespace

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
  // once `path` has gone and they are empty.
  for (const cc::Str& parent : MissingParents(*session.platform.files, path)) {
    session.record.AddLine(u"Dir?=", parent);
  }
  return CreateFolder(session, path, true);
}
