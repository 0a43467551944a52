// Process services for tests: records the privileges asked for, keeps shared
// memory blocks by name (a second open sees the same bytes), and adds up the
// time it was asked to sleep instead of sleeping.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/process.h"

class FakeProcess : public ProcessServices {
 public:
  bool EnablePrivilege(const cc::Str& name) override;
  std::unique_ptr<SharedMemory> CreateSharedMemory(const cc::Str& name, int size) override;
  void Sleep(int milliseconds) override { slept_ms_ += milliseconds; }

  // Privileges in the order they were asked for (refused ones included).
  const std::vector<cc::Str>& Privileges() const { return privileges_; }
  // Makes EnablePrivilege refuse every privilege.
  void SetRefusePrivileges(bool refuse) { refuse_privileges_ = refuse; }
  // The bytes of a block, or null when no block of that name exists.
  const std::vector<uint8_t>* Block(const cc::Str& name) const;
  int SleptMs() const { return slept_ms_; }

 private:
  std::vector<cc::Str> privileges_;
  bool refuse_privileges_ = false;
  std::map<std::u16string, std::shared_ptr<std::vector<uint8_t>>> blocks_;
  int slept_ms_ = 0;
};
