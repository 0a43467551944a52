// Services of the running process: privileges on its token, named shared
// memory, and waiting.
#pragma once

#include <cstdint>
#include <memory>

#include "core/str.h"

// A mapped block of named shared memory; unmapped and closed on destruction.
class SharedMemory {
 public:
  virtual ~SharedMemory() = default;
  virtual uint8_t* Data() = 0;
  virtual int Size() const = 0;
};

class ProcessServices {
 public:
  virtual ~ProcessServices() = default;
  // Enables the named privilege ("SeShutdownPrivilege") on the process token.
  // False when the token cannot be opened, the name is unknown or the
  // adjustment is refused.
  virtual bool EnablePrivilege(const cc::Str& name) = 0;
  // Creates the named block of `size` bytes, or opens it when another process
  // made it already; null when neither works or `size` is not positive.
  virtual std::unique_ptr<SharedMemory> CreateSharedMemory(const cc::Str& name, int size) = 0;
  // Blocks the calling thread.
  virtual void Sleep(int milliseconds) = 0;
};
