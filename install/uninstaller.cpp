#include "install/uninstaller.h"

#include <string>

#include "install/install_session.h"
#include "install/page_text.h"
#include "install/status.h"
#include "install/uninstall_record.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"

namespace {

// Values of the installed-programs entry: always written.
const char16_t kDisplayName[] = u"DisplayName";
const char16_t kDisplayIcon[] = u"DisplayIcon";
const char16_t kUninstallString[] = u"UninstallString";

// Values written only when the project gives them.
struct OptionalValue {
  const char16_t* name;
  const char16_t* key;
};
const OptionalValue kOptionalValues[] = {
    {u"DisplayVersion", u"s.c.u.DispVersion"},
    {u"Publisher", u"s.c.u.Publisher"},
    {u"HelpLink", u"s.c.u.HelpLink"},
    {u"URLUpdateInfo", u"s.c.u.URLUpdateInfo"},
};

bool SetString(RegistryKey& key, const char16_t* name, const cc::Str& text) {
  return key.SetValue(name, kRegSz, RegStringData(text));
}

bool FailWith(InstallSession& session, const cc::Str& text) {
  session.store.Set(u"Ret.ErrorInfo", text);
  return false;
}

// As FailWith, and the system's reason goes to the log.
bool FailWith(InstallSession& session, const cc::Str& text, OsErrorSource& reason) {
  session.log.WriteOsError(reason);
  return FailWith(session, text);
}

// The key name of the installed-programs entry ("[Velmora]" + id), empty
// when the project has none.
cc::Str EntryKeyName(const InstallSession& session) {
  cc::Str id = session.store.Get(u"s.c.u.UninsKey");
  if (id.IsEmpty()) return cc::Str(u"");
  return cc::Str(kUninstallKeyPrefix) + id;
}

cc::Str UninstallLinkPath(const InstallSession& session) {
  return session.start_menu_folder + PageText(session.store, u".s.c.u.Menu") + cc::Str(u".lnk");
}

bool WriteInstalledProgramsEntry(InstallSession& session, const cc::Str& keyName,
                                 const cc::Str& uninstaller) {
  const cc::Str keyPath = cc::Str(kUninstallKeyParent) + keyName;
  // A reason logged on failure is this entry's, not an earlier call's.
  session.platform.registry->ClearLastError();
  auto key = session.platform.registry->CreateKey(RegRoot::kLocalMachine, keyPath);
  const cc::Str failure = cc::Str(u"Cannot write the installed-programs entry:\r\n\r\n") + keyPath;
  if (!key) return FailWith(session, failure, *session.platform.registry);
  const cc::Str quoted = cc::Str(u"\"") + uninstaller + cc::Str(u"\"");
  bool ok = SetString(*key, kDisplayName, PageText(session.store, u".s.c.u.DispName"));
  ok = SetString(*key, kDisplayIcon, quoted) && ok;
  ok = SetString(*key, kUninstallString, quoted) && ok;
  for (const OptionalValue& value : kOptionalValues) {
    cc::Str text = session.store.Get(value.key);
    if (!text.IsEmpty()) ok = SetString(*key, value.name, text) && ok;
  }
  return ok || FailWith(session, failure, *session.platform.registry);
}

void CreateUninstallLink(InstallSession& session, const cc::Str& uninstaller) {
  ShellLinkSpec link;
  link.description = PageText(session.store, u".s.c.u.Menu");
  link.link_path = UninstallLinkPath(session);
  link.target = uninstaller;
  link.icon_path = uninstaller;
  link.icon_index = 0;
  link.show_command = kShowNormal;
  session.platform.shell->CreateLink(link);
}

}  // namespace

bool WriteUninstaller(InstallSession& session) {
  const cc::Str path = session.app_folder + cc::Str(kUninstallerFileName);
  ShowStatus(session.progress(), u"write unins.exe.");
  ShowDetail(session.progress(), path);
  std::string bytes;
  if (!LoadPayloadFile(session.archive, session.platform, &session.store, kUninstallerFileName,
                       &bytes) ||
      bytes.empty()) {
    return true;
  }
  session.platform.files->ClearLastError();
  if (!WriteFileBytes(*session.platform.files, path, bytes, cc::kCodePageAnsi, false, false)) {
    return FailWith(session, ErrorText(session.store, u".s.i.Var.CreateFileError", path),
                    *session.platform.files);
  }
  session.uninstaller_written = true;
  session.record.AddLine(u"Unins?=", path);
  const cc::Str keyName = EntryKeyName(session);
  if (!keyName.IsEmpty()) session.record.AddLine(u"UninsKey=", keyName);
  if (!session.store.GetBool(u"Ret.Menu.Skip", false)) {
    session.record.AddLine(u"Short?=", UninstallLinkPath(session));
  }
  return true;
}

bool RegisterUninstaller(InstallSession& session) {
  if (!session.uninstaller_written) return true;
  const cc::Str path = session.app_folder + cc::Str(kUninstallerFileName);
  const cc::Str keyName = EntryKeyName(session);
  if (!keyName.IsEmpty() && !WriteInstalledProgramsEntry(session, keyName, path)) return false;
  if (!session.store.GetBool(u"Ret.Menu.Skip", false)) CreateUninstallLink(session, path);
  ShowStatusLine(session.progress(), session.log, u"create uninstall link.\r\n");
  return true;
}

bool WriteRecord(InstallSession& session) {
  const cc::Str path = session.app_folder + cc::Str(kRecordFileName);
  ShowStatus(session.progress(), u"write unins.exe.dat.");
  ShowDetail(session.progress(), path);
  session.record.AddLine(u"UninsData=", path);
  session.platform.files->ClearLastError();
  if (WriteRecordFile(*session.platform.files, path, session.record)) return true;
  return FailWith(session, ErrorText(session.store, u".s.i.Var.CreateFileError", path),
                  *session.platform.files);
}
