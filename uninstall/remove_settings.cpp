#include "uninstall/remove_settings.h"

#include <memory>

#include "install/associations.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "runtime/setup_log.h"
#include "uninstall/uninstall_run.h"

void RemoveAssociations(UninstallRun& run) {
  for (int i = 0; i < run.counts[kKindAssoc]; ++i) {
    const cc::Str extension = run.Text(u"Log.Assoc%d", i);
    run.BeginItem();
    run.Show(u"Removing File Association", extension);
    run.log.Line(u"Remove Associations, File:%s", extension);
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
      run.log.Line(u"Reg DeleteValue:%s", name);
      key->SetValue(name, kRegSz, std::string_view());
      key->DeleteValue(name);
    }
    run.log.Line(u"Reg Try DeleteSubKey:%s", keyPath);
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
    run.log.Line(u"Ini Remove:%s, File:%s", key, file);
    run.platform.profile->WriteString(section, key, cc::Str(), file);
  }
}
