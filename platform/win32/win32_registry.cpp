#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <utility>

#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace {

// The key's name as the registry editor shows it, for error reports.
cc::Str KeyName(RegRoot root, const cc::Str& path) {
  const char16_t* name = root == RegRoot::kClassesRoot   ? u"HKEY_CLASSES_ROOT"
                         : root == RegRoot::kCurrentUser  ? u"HKEY_CURRENT_USER"
                         : root == RegRoot::kLocalMachine ? u"HKEY_LOCAL_MACHINE"
                                                          : u"HKEY_USERS";
  return path.IsEmpty() ? cc::Str(name) : cc::Str(name) + cc::Str(u"\\") + path;
}

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
  Win32Key(HKEY key, Win32Registry* owner, cc::Str name) : key_(key), owner_(owner), name_(std::move(name)) {}
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
    return owner_->Checked(RegSetValueExW(key_, Wide(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                          static_cast<DWORD>(data.size())),
                           ValueName(name));
  }

  bool DeleteValue(const cc::Str& name) override {
    return owner_->Checked(RegDeleteValueW(key_, Wide(name)), ValueName(name));
  }

 private:
  cc::Str ValueName(const cc::Str& name) const { return name_ + cc::Str(u", value ") + name; }

  HKEY key_;
  Win32Registry* owner_;
  cc::Str name_;
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
  if (!Checked(RegOpenKeyExW(RootHandle(root), Wide(path), 0, sam, &key), KeyName(root, path))) return nullptr;
  return std::make_unique<Win32Key>(key, this, KeyName(root, path));
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegRoot root, const cc::Str& path, RegView view) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(RootHandle(root), Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr);
  if (!Checked(status, KeyName(root, path))) return nullptr;
  return std::make_unique<Win32Key>(key, this, KeyName(root, path));
}

bool Win32Registry::DeleteKey(RegRoot root, const cc::Str& path, RegView view) {
  if (path.IsEmpty()) return false;
  static DeleteKeyExFn deleteKeyEx = FindDeleteKeyEx();
  const LONG status = view == RegView::kDefault || !deleteKeyEx
                          ? RegDeleteKeyW(RootHandle(root), Wide(path))
                          : deleteKeyEx(RootHandle(root), Wide(path), ViewFlag(view), 0);
  return Checked(status, KeyName(root, path));
}

bool Win32Registry::Checked(long status, const cc::Str& object) {
  if (status == ERROR_SUCCESS) return true;
  const DWORD code = static_cast<DWORD>(status);
  RecordError(code, object, Win32ErrorText(code));
  return false;
}
