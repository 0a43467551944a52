#include "uninstall/uninstall_folder.h"

#include "core/key_arr.h"
#include "install/install_session.h"
#include "install/uninstall_record.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "uninstall/uninstall_driver.h"

namespace {

int Refuse(InstallSession& session, int result, const char16_t* why, const cc::Str& path) {
  session.store.Set(u"Ret.ErrorInfo", cc::Str(why) + path);
  return result;
}

}  // namespace

int UninstallFolder(InstallSession& session, const cc::Str& folder, int askShared) {
  cc::Str appFolder = folder;
  if (!appFolder.EndsWith(u"\\")) appFolder += u"\\";
  const cc::Str recordPath = appFolder + cc::Str(kRecordFileName);
  cc::KeyArr record(false, true);
  if (!ReadRecordFile(*session.platform.files, recordPath, &record)) {
    return Refuse(session, kUninstallNoRecord, u"Not a readable uninstall record: ", recordPath);
  }
  // A record copied here from another installation is not acted on.
  if (record.Get(u"Log.UninsData").Compare(recordPath) != 0) {
    return Refuse(session, kUninstallForeignRecord, u"The uninstall record belongs to another folder: ",
                  recordPath);
  }
  session.store.Set(u"Ret.Location.Path", appFolder);
  int result = DoUninstall(session, askShared, record);
  if (result == kUninstallDone) DeleteFolderTree(*session.platform.files, appFolder, false);
  return result;
}
