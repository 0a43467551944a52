#include "install/uninstaller.h"

#include <string>

#include "install/install_session.h"
#include "install/page_text.h"
#include "install/status.h"
#include "install/uninstall_record.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "runtime/payload_loader.h"

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

void SetString(RegistryKey& key, const char16_t* name, const cc::Str& text) {
  key.SetValue(name, kRegSz, RegStringData(text));
}

void WriteInstalledProgramsEntry(InstallSession& session, const cc::Str& uninstaller) {
  cc::Str id = session.store.Get(u"s.c.u.UninsKey");
  if (id.IsEmpty() || !session.platform.registry) return;
  cc::Str keyName = cc::Str(kUninstallKeyPrefix) + id;
  auto key = session.platform.registry->CreateKey(RegRoot::kLocalMachine,
                                                  cc::Str(kUninstallKeyParent) + keyName);
  if (!key) return;
  session.record.AddLine(u"UninsKey=", keyName);
  const cc::Str quoted = cc::Str(u"\"") + uninstaller + cc::Str(u"\"");
  SetString(*key, kDisplayName, PageText(session.store, u".s.c.u.DispName"));
  SetString(*key, kDisplayIcon, quoted);
  SetString(*key, kUninstallString, quoted);
  for (const OptionalValue& value : kOptionalValues) {
    cc::Str text = session.store.Get(value.key);
    if (!text.IsEmpty()) SetString(*key, value.name, text);
  }
}

void CreateUninstallLink(InstallSession& session, const cc::Str& uninstaller) {
  if (session.store.GetBool(u"Ret.Menu.Skip", false)) return;
  ShellLinkSpec link;
  link.description = PageText(session.store, u".s.c.u.Menu");
  link.link_path = session.start_menu_folder + link.description + cc::Str(u".lnk");
  link.target = uninstaller;
  link.icon_path = uninstaller;
  link.icon_index = 0;
  link.show_command = kShowNormal;
  if (session.platform.shell) session.platform.shell->CreateLink(link);
  session.record.AddLine(u"Short?=", link.link_path);
}

}  // namespace

void WriteUninstaller(InstallSession& session) {
  const cc::Str path = session.app_folder + cc::Str(kUninstallerFileName);
  ShowStatus(session.progress(), u"write unins.exe.");
  ShowDetail(session.progress(), path);
  std::string bytes;
  if (!LoadPayloadFile(session.archive, session.platform, &session.store, kUninstallerFileName,
                       &bytes) ||
      bytes.empty()) {
    return;
  }
  session.record.AddLine(u"Unins?=", path);
  WriteFileBytes(*session.platform.files, path, bytes, cc::kCodePageAnsi, false, false);
  WriteInstalledProgramsEntry(session, path);
  CreateUninstallLink(session, path);
  ShowStatusLine(session.progress(), u"create uninstall link.\r\n");
}

bool WriteRecord(InstallSession& session) {
  const cc::Str path = session.app_folder + cc::Str(kRecordFileName);
  ShowStatus(session.progress(), u"write unins.exe.dat.");
  ShowDetail(session.progress(), path);
  session.record.AddLine(u"UninsData=", path);
  return WriteRecordFile(*session.platform.files, path, session.record.Utf8());
}
