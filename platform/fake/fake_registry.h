// An in-memory registry for tests: keys and value names compare without
// regard to ASCII letter case, creating a key creates its parents, and a key
// with subkeys cannot be deleted, as on Windows. With the 32-bit-on-64-bit
// redirection switched on, HKEY_LOCAL_MACHINE\Software seen through the
// default or 32-bit view lands in Software\Wow6432Node, as it does for the
// 32-bit setup program on 64-bit Windows.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"

class FakeRegistry : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  // Simulates a 32-bit program on 64-bit Windows (off by default).
  void SetRedirect32(bool on) { redirect32_ = on; }

  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const cc::Str& path, RegAccess access,
                                       RegView view = RegView::kDefault) override;
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const cc::Str& path,
                                         RegView view = RegView::kDefault) override;
  bool DeleteKey(RegRoot root, const cc::Str& path, RegView view = RegView::kDefault) override;

  // Test helpers. Paths here are as the default view sees them.
  bool HasKey(RegRoot root, const cc::Str& path, RegView view = RegView::kDefault) const;
  // Creates the key when needed and stores a REG_SZ or REG_DWORD value.
  void PutString(RegRoot root, const cc::Str& path, const cc::Str& name, const cc::Str& text,
                 RegView view = RegView::kDefault);
  void PutDword(RegRoot root, const cc::Str& path, const cc::Str& name, uint32_t value,
                RegView view = RegView::kDefault);
  // The value as stored; false when the key or the value is missing.
  bool GetValue(RegRoot root, const cc::Str& path, const cc::Str& name, RegValue* value,
                RegView view = RegView::kDefault) const;
  // How many keys exist (for checking that nothing was written).
  int KeyCount() const { return static_cast<int>(keys_.size()); }

  struct Key {
    std::u16string name;  // spelling of its first creation
    // folded value name -> (spelling, value)
    std::map<std::u16string, std::pair<std::u16string, RegValue>> values;
  };

 private:
  std::u16string Resolve(RegRoot root, const cc::Str& path, RegView view) const;
  Key* Find(const std::u16string& folded);
  const Key* Find(const std::u16string& folded) const;
  Key* Create(const std::u16string& resolved);

  bool redirect32_ = false;
  // folded full path ("2\software\x") -> key
  std::map<std::u16string, Key> keys_;
};
