// Process services through the token, file-mapping and Sleep calls.
#pragma once

#include "platform/process.h"

class Win32Process : public ProcessServices {
 public:
  bool EnablePrivilege(const cc::Str& name) override;
  std::unique_ptr<SharedMemory> CreateSharedMemory(const cc::Str& name, int size) override;
  void Sleep(int milliseconds) override;
};
