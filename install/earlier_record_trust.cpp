#include "install/earlier_record_trust.h"

#include <memory>

#include "install/uninstall_record.h"
#include "install/uninstaller.h"
#include "platform/registry.h"

namespace {

bool Refuse(cc::Str* why, const char16_t* reason) {
  *why = reason;
  return false;
}

}  // namespace

bool IsVouchedRecord(Registry& registry, const cc::KeyArr& record, const cc::Str& appFolder,
                     const cc::Str& recordPath, cc::Str* why) {
  if (record.Get(u"Log.UninsData").Compare(recordPath) != 0) {
    return Refuse(why, u"the record names another file as its own");
  }
  const cc::Str entry = record.Get(u"Log.UninsKey");
  if (!entry.StartsWith(kUninstallKeyPrefix) || entry.IndexOf(u'\\') >= 0) {
    return Refuse(why, u"the record names no installed-programs entry");
  }
  std::unique_ptr<RegistryKey> key =
      registry.OpenKey(RegRoot::kLocalMachine, cc::Str(kUninstallKeyParent) + entry, RegAccess::kRead);
  if (!key) return Refuse(why, u"its installed-programs entry does not exist");
  RegValue value;
  if (!key->QueryValue(u"UninstallString", &value)) {
    return Refuse(why, u"its installed-programs entry names no uninstaller");
  }
  const cc::Str expected = cc::Str(u"\"") + appFolder + cc::Str(kUninstallerFileName) + cc::Str(u"\"");
  if (RegDataAsText(value.data).Compare(expected, true) != 0) {
    return Refuse(why, u"its installed-programs entry names an uninstaller in another folder");
  }
  return true;
}
