#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace {

HKEY RootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::kUsers:
    default:
      return HKEY_USERS;
  }
}

REGSAM ViewFlag(RegView view) {
  switch (view) {
    case RegView::k32:
      return KEY_WOW64_32KEY;
    case RegView::k64:
      return KEY_WOW64_64KEY;
    case RegView::kDefault:
    default:
      return 0;
  }
}

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  bool QueryValue(const cc::Str& name, RegValue* value) override {
    // The size can change between the two calls; retry while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExW(key_, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
      std::string data(size, '\0');
      LONG status = RegQueryValueExW(key_, Wide(name), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) return false;
      data.resize(size);
      value->type = type;
      value->data = std::move(data);
      return true;
    }
    return false;
  }

  bool SetValue(const cc::Str& name, uint32_t type, std::string_view data) override {
    return RegSetValueExW(key_, Wide(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(const cc::Str& name) override {
    return RegDeleteValueW(key_, Wide(name)) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// RegDeleteKeyExW is missing on 32-bit Windows XP; look it up so that the
// program still starts there.
DeleteKeyExFn FindDeleteKeyEx() {
  HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
  if (!advapi) return nullptr;
  return reinterpret_cast<DeleteKeyExFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyExW")));
}

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegRoot root, const cc::Str& path,
                                                    RegAccess access, RegView view) {
  REGSAM sam = (access == RegAccess::kAll ? KEY_ALL_ACCESS : KEY_QUERY_VALUE) | ViewFlag(view);
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), Wide(path), 0, sam, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegRoot root, const cc::Str& path, RegView view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(RootHandle(root), Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

bool Win32Registry::DeleteKey(RegRoot root, const cc::Str& path, RegView view) {
  if (path.IsEmpty()) return false;
  if (view == RegView::kDefault) return RegDeleteKeyW(RootHandle(root), Wide(path)) == ERROR_SUCCESS;
  static DeleteKeyExFn deleteKeyEx = FindDeleteKeyEx();
  if (!deleteKeyEx) return RegDeleteKeyW(RootHandle(root), Wide(path)) == ERROR_SUCCESS;
  return deleteKeyEx(RootHandle(root), Wide(path), ViewFlag(view), 0) == ERROR_SUCCESS;
}
