// The registry through the Reg* calls of advapi32.
#pragma once

#include "platform/registry.h"

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const cc::Str& path, RegAccess access,
                                       RegView view = RegView::kDefault) override;
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const cc::Str& path,
                                         RegView view = RegView::kDefault) override;
  bool DeleteKey(RegRoot root, const cc::Str& path, RegView view = RegView::kDefault) override;

  // Returns whether `status` is ERROR_SUCCESS; otherwise records it as the
  // failure about `object` (also for the keys this registry opened).
  bool Checked(long status, const cc::Str& object);
};
