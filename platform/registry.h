// The registry as the engines see it: open, create, query, set and delete
// values and keys under the four roots, in the default, 32-bit or 64-bit view.
// platform/win32 maps it onto the Reg* calls; platform/fake keeps a tree in
// memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/str.h"
#include "platform/os_error.h"

// The four roots a project can name.
enum class RegRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// Root key index of the configuration: 0 HKEY_CLASSES_ROOT, 1
// HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, any other value HKEY_USERS.
RegRoot RegRootFromIndex(int index);

// Which registry view a key is opened in. kDefault is the view of the
// running program (a 32-bit program on 64-bit Windows sees the 32-bit view).
enum class RegView { kDefault, k32, k64 };

// kRead is query access; kAll is full access.
enum class RegAccess { kRead, kAll };

// Value types, numbered as Windows numbers them.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// A value as stored: its type and its raw data bytes (a string value holds
// UTF-16LE units, normally including the terminating zero).
struct RegValue {
  uint32_t type = kRegNone;
  std::string data;
};

// The data of a value read as text: the bytes taken as UTF-16LE units up to
// the first zero unit (so a string value loses its terminator and any other
// type reads as its raw bytes). A lone last byte is ignored. Never null.
cc::Str RegDataAsText(std::string_view data);
// The data bytes of a REG_SZ value holding `text`, terminator included.
std::string RegStringData(const cc::Str& text);
// The data bytes of a REG_DWORD value (little-endian).
std::string RegDwordData(uint32_t value);

// An open key; closed when the object is destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // True with `value` filled when the value exists and could be read; false
  // when it does not exist or cannot be read. An empty or null `name` is the
  // key's default value.
  virtual bool QueryValue(const cc::Str& name, RegValue* value) = 0;
  // Creates or replaces the value. False when the key was opened for reading
  // only or the system refuses.
  virtual bool SetValue(const cc::Str& name, uint32_t type, std::string_view data) = 0;
  // False when the value does not exist or cannot be deleted.
  virtual bool DeleteValue(const cc::Str& name) = 0;
};

// A failed call also records the system's reason (LastError()).
class Registry : public OsErrorSource {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; null when it does not exist or access is refused.
  // An empty path opens the root itself.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const cc::Str& path, RegAccess access,
                                               RegView view = RegView::kDefault) = 0;
  // Opens the key with full access, creating it and its missing parents
  // first; null when it can be neither opened nor created.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const cc::Str& path,
                                                 RegView view = RegView::kDefault) = 0;
  // Deletes a key that has no subkeys, together with its values. False when
  // it does not exist, has subkeys, or the path is empty.
  virtual bool DeleteKey(RegRoot root, const cc::Str& path, RegView view = RegView::kDefault) = 0;
};
