// Associations, registry values, INI keys, links, the uninstaller's own
// traces, directories and the shell notifications: the steps that never
// ask.
#include "install/associations.h"
#include "install/install_session.h"
#include "install/pins.h"
#include "install/uninstaller.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_helpers.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"
#include "uninstall/uninstall_steps.h"

namespace {

constexpr int kNotifyWaitMs = 50;

void DeleteNamedFile(UninstallRun& run, const cc::Str& path) {
  if (IsFullPath(path)) DeleteFileForced(*run.platform.files, path);
}

}  // namespace

void RemoveAssociations(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindAssoc]; ++i) {
    const cc::Str extension = run.Text(u"Log.Assoc%d", i);
    run.BeginItem();
    run.Show(u"Removing File Association", extension);
    LogLine(u"Remove Associations, File:%s", extension);
    RemoveAssociation(*run.platform.registry, extension, run.app_name);
  }
}

void RemoveRegistryValues(UninstallRun& run) {
  Registry& registry = *run.platform.registry;
  for (int i = run.counts[kKindReg] - 1; i >= 0; --i) {
    run.BeginItem();
    const int rootIndex = run.Number(u"Log.RegRoot%d", i, -1);
    const cc::Str keyPath = run.Text(u"Log.RegDir%d", i);
    if (rootIndex < 0 || keyPath.IsEmpty()) continue;
    run.Show(cc::Str(u"Removing registry from ") + keyPath, u"");
    const RegRoot root = RegRootFromIndex(rootIndex);
    if (std::unique_ptr<RegistryKey> key = registry.OpenKey(root, keyPath, RegAccess::kAll)) {
      const cc::Str name = run.Text(u"Log.Reg%d", i);
      LogLine(u"Reg DeleteValue:%s", name);
      key->SetValue(name, kRegSz, std::string_view());
      key->DeleteValue(name);
    }
    LogLine(u"Reg Try DeleteSubKey:%s", keyPath);
    registry.DeleteKey(root, keyPath);
  }
}

void RemoveIniEntries(UninstallRun& run) {
  for (int i = run.counts[kKindIni] - 1; i >= 0; --i) {
    run.BeginItem();
    const cc::Str file = run.Text(u"Log.IniFile%d", i);
    if (file.IsEmpty()) continue;
    run.Show(cc::Str(u"Removing Ini from ") + file, u"");
    const cc::Str key = run.Text(u"Log.Ini%d", i);
    const cc::Str section = run.Text(u"Log.IniApp%d", i);
    LogLine(u"Ini Remove:%s, File:%s", key, file);
    run.platform.profile->WriteString(section, key, cc::Str(), file);
  }
}

void RemoveLinks(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindShort]; ++i) {
    const cc::Str link = run.Text(u"Log.Short%d", i);
    run.BeginItem();
    run.Show(u"Removing ShortCut", link);
    LogLine(u"Remove Link:%s", link);
    DeleteNamedFile(run, link);
  }
}

void RemoveUninstaller(UninstallRun& run) {
  const int uninstallers = RecordCount(run.record, u"Log.Unins.Count");
  for (int i = 0; i < uninstallers; ++i) {
    const cc::Str path = run.Text(u"Log.Unins%d", i);
    LogLine(u"Remove Uninstaller:%s", path);
    DeleteNamedFile(run, path);
  }
  const cc::Str entry = run.record.Get(u"Log.UninsKey");
  if (entry.StartsWith(kUninstallKeyPrefix) && entry.IndexOf(u'\\') < 0) {
    LogLine(u"Remove Uninstall Entry:%s", entry);
    run.platform.registry->DeleteKey(RegRoot::kLocalMachine, cc::Str(kUninstallKeyParent) + entry);
  }
  const cc::Str data = run.record.Get(u"Log.UninsData");
  if (!data.IsEmpty()) {
    LogLine(u"Remove Record:%s", data);
    DeleteNamedFile(run, data);
  }
}

void RemoveDirectories(UninstallRun& run) {
  FileSystem& files = *run.platform.files;
  const int count = run.counts[kKindDir];
  for (int i = count - 1; i >= 0; --i) {
    const cc::Str dir = run.Text(u"Log.Dir%d", i);
    run.BeginItem();
    run.Show(u"Removing Directory", dir);
    LogLine(u"Remove Directory:%s", dir);
    if (IsFullPath(dir)) DeleteFolderTree(files, dir, false);
  }
  // A parent listed after its child is empty only now.
  for (int i = count - 1; i >= 0; --i) {
    const cc::Str dir = run.Text(u"Log.Dir%d", i);
    if (IsFullPath(dir)) DeleteFolderTree(files, dir, false);
    run.Pump();
  }
}

void NotifyShell(UninstallRun& run) {
  if (Shell* shell = run.platform.shell) {
    shell->NotifyChange(kChangeAssocChanged, kChangeFlagFlush, cc::Str());
    shell->NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, PinnedTaskbarFolder(run.platform));
    cc::Str installFolder = run.session.store.Get(u"Ret.Location.Path");
    if (installFolder.IsEmpty()) installFolder = GetModulePath(*run.platform.system, true);
    shell->NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, installFolder);
  }
  run.Pump();
  run.Wait(kNotifyWaitMs);
}
