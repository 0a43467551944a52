#include "install/associations.h"

#include <memory>

#include "platform/registry.h"

namespace {

constexpr char16_t kDefaultIconKey[] = u"\\DefaultIcon";
constexpr char16_t kOpenCommandKey[] = u"\\shell\\open\\command";
constexpr char16_t kOpenKey[] = u"\\shell\\open";
constexpr char16_t kShellKey[] = u"\\shell";

// Sets the default value of `path` under HKEY_CLASSES_ROOT, creating the key.
bool SetDefault(Registry& registry, const cc::Str& path, const cc::Str& text) {
  std::unique_ptr<RegistryKey> key = registry.CreateKey(RegRoot::kClassesRoot, path);
  return key && key->SetValue(u"", kRegSz, RegStringData(text));
}

}  // namespace

bool IsAssociableExtension(const cc::Str& extension) {
  return extension.GetLength() >= 2 && extension.StartsWith(u".") && extension.IndexOf(u'\\') < 0;
}

cc::Str ProgramIdentifier(const cc::Str& appName, const cc::Str& extension) {
  return appName + extension;
}

bool Associate(Registry& registry, const cc::Str& extension, const cc::Str& program, int iconIndex,
               const cc::Str& description, const cc::Str& appName) {
  if (!IsAssociableExtension(extension)) return false;
  const cc::Str progId = ProgramIdentifier(appName, extension);
  std::unique_ptr<RegistryKey> extensionKey = registry.CreateKey(RegRoot::kClassesRoot, extension);
  if (!extensionKey) return false;
  std::unique_ptr<RegistryKey> progIdKey = registry.CreateKey(RegRoot::kClassesRoot, progId);
  if (!progIdKey) return false;
  bool ok = extensionKey->SetValue(u"", kRegSz, RegStringData(progId));
  ok = progIdKey->SetValue(u"", kRegSz, RegStringData(description)) && ok;
  const cc::Str icon = cc::Str::Formatted(u"%s,%d", program.GetBuffer(), iconIndex);
  ok = SetDefault(registry, progId + cc::Str(kDefaultIconKey), icon) && ok;
  const cc::Str command = cc::Str::Formatted(u"\"%s\" \"%%1\"", program.GetBuffer());
  ok = SetDefault(registry, progId + cc::Str(kOpenCommandKey), command) && ok;
  return ok;
}

bool RemoveAssociation(Registry& registry, const cc::Str& extension, const cc::Str& appName) {
  if (!IsAssociableExtension(extension)) return false;
  registry.DeleteKey(RegRoot::kClassesRoot, extension);
  const cc::Str progId = ProgramIdentifier(appName, extension);
  if (!registry.OpenKey(RegRoot::kClassesRoot, progId, RegAccess::kAll)) return false;
  for (const char16_t* sub : {kDefaultIconKey, kOpenCommandKey, kOpenKey, kShellKey}) {
    registry.DeleteKey(RegRoot::kClassesRoot, progId + cc::Str(sub));
  }
  registry.DeleteKey(RegRoot::kClassesRoot, progId);
  return true;
}
