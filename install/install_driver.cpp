#include "install/install_driver.h"

#include <algorithm>

#include "install/handler_step.h"
#include "install/create_folder.h"
#include "install/earlier_record_trust.h"
#include "install/file_step.h"
#include "install/full_path.h"
#include "install/ini_items.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/registry_items.h"
#include "install/shortcuts.h"
#include "install/status.h"
#include "install/uninstall_record.h"
#include "install/uninstaller.h"
#include "platform/csidl.h"
#include "platform/file_helpers.h"
#include "platform/os_version.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/system_helpers.h"
#include "runtime/setup_log.h"

namespace {

bool Fail(InstallSession& session, const char16_t* key, const cc::Str& detail) {
  session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, key, detail));
  return false;
}

// The start of a run: its state set from the results.
void BeginRun(InstallSession& session) {
  cc::KeyArr& store = session.store;
  session.overwrite_answer = 0;
  session.write_uninstaller = store.GetBool(u"s.c.chkUnins", true);
  session.uninstaller_written = false;
  session.files_in_place = false;
  session.app_folder = store.Get(u"Ret.Location.Path");
  session.app_name = PageText(store, u".s.c.Var.AppName");
  session.record.Start(session.app_folder, session.app_name);
  session.os_index = GetOsVersion(session.platform, &session.is64);
  session.start_menu_folder = cc::Str(u"");
  session.bytes_done = 0;
  session.bytes_total = std::max<int64_t>(1, store.Get(u"Ret.Location.Required").ToInt64());
}

// An earlier installation in the application folder is removed first when
// its record is one this install may act on and the user agrees. A record
// that cannot be read or that no installed-programs entry vouches for is
// treated as no installation at all (it is replaced by this run's record).
bool HandleEarlierInstallation(InstallSession& session) {
  ShowStatus(session.progress(), u"Check unins.exe.dat...");
  const cc::Str recordPath = session.app_folder + cc::Str(kRecordFileName);
  if (!FileExists(*session.platform.files, recordPath)) return true;
  if (!session.earlier_record) {
    auto record = std::make_unique<cc::KeyArr>(false, true);
    if (!ReadRecordFile(*session.platform.files, recordPath, record.get())) {
      session.log.Line(u"Earlier record not readable, treated as none:%s", recordPath);
      return true;
    }
    session.earlier_record = std::move(record);
  }
  cc::Str why;
  if (!IsVouchedRecord(*session.platform.registry, *session.earlier_record, session.app_folder,
                       recordPath, &why)) {
    session.log.Line(u"Earlier record not acted on, %s:%s", why, recordPath);
    return true;
  }
  ConfirmAnswer answer = session.prompts().AskOkCancel(
      ErrorText(session.store, u".s.i.Var.AlreadyIns", recordPath),
      PageText(session.store, u".s.c.Var.QTitle"));
  if (answer != ConfirmAnswer::kOk) return Fail(session, u".s.i.Var.AlreadyInsError", recordPath);
  if (!session.remove_earlier_installation) {
    // The user was told it would be removed; going on would install over it.
    session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, u".s.i.Var.AlreadyInsError", recordPath));
    return false;
  }
  return session.remove_earlier_installation(session, *session.earlier_record) >= 0;
}

// The program-menu folder, recorded.
bool PrepareStartMenuFolder(InstallSession& session) {
  ShowStatus(session.progress(), u"Check menu folder...");
  cc::KeyArr& store = session.store;
  if (store.GetBool(u"Ret.Menu.Skip", false)) return true;
  int csidl = store.GetBool(u"Ret.Location.AllUser", false) ? kCsidlCommonPrograms : kCsidlPrograms;
  cc::Str base = GetSpecialFolder(*session.platform.system, csidl);
  cc::Str menu = store.Get(u"Ret.Menu.Path");
  if (menu.IsEmpty()) menu = store.Get(u"Ret.Menu.InitPath");
  session.start_menu_folder = WithTrailingBackslash(base) + WithTrailingBackslash(menu);
  if (!CreateFolderRecordingParents(session, session.start_menu_folder)) {
    return Fail(session, u".s.i.Var.CreateFolderError", session.start_menu_folder);
  }
  return true;
}

// The file step, through a buffer that lives for this step only.
bool InstallFiles(InstallSession& session) {
  ShowStatus(session.progress(), u"Install/Extracting files...");
  session.transfer_buffer.assign(kTransferBufferSize, 0);
  int result = RunFileStep(session);
  session.transfer_buffer.clear();
  session.transfer_buffer.shrink_to_fit();
  if (session.Canceling()) session.store.SetBool(u"Ret.Canceled", true);
  return result >= 0;
}

void WriteRegistryStep(InstallSession& session) {
  ShowStatus(session.progress(), u"treate registry...");
  ShowDetail(session.progress(), u"");
  WriteRegistryItems(session);
}

void WriteIniStep(InstallSession& session) {
  ShowStatus(session.progress(), u"treate ini file...");
  ShowDetail(session.progress(), u"");
  WriteIniItems(session);
}

}  // namespace

bool RunInstall(InstallSession& session, int phase) {
  if (phase != kInstallPhase) return true;
  if (!session.platform.IsComplete()) {
    session.store.Set(u"Ret.ErrorInfo", u"The installer cannot reach the system services it needs.");
    return false;
  }
  BeginRun(session);
  // An empty or relative folder would put the files under the working folder.
  if (!IsFullPath(session.app_folder) || !CreateFolder(session, session.app_folder, false)) {
    return Fail(session, u".s.i.Var.CreateFolderError", session.app_folder);
  }
  if (!HandleEarlierInstallation(session)) return false;
  if (!PrepareStartMenuFolder(session)) return false;
  if (!InstallFiles(session)) return false;
  session.files_in_place = true;
  session.log.Line(u"WinVer:%d, %s", session.os_index, GetOsName(session.os_index, session.is64));
  if (!CreateShortcutsAndPins(session)) return false;
  CreateAssociationsAndServices(session);
  WriteRegistryStep(session);
  WriteIniStep(session);
  // The record goes before the entry and link that name the uninstaller.
  if (session.write_uninstaller &&
      (!WriteUninstaller(session) || !WriteRecord(session) || !RegisterUninstaller(session))) {
    return false;
  }
  if (session.Canceling()) session.store.SetBool(u"Ret.Canceled", true);
  session.store.SetBool(u"Ret.CancelEnd", true);
  return true;
}
