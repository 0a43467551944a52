#include "platform/fake/fake_process.h"

namespace {

class FakeSharedMemory : public SharedMemory {
 public:
  explicit FakeSharedMemory(std::shared_ptr<std::vector<uint8_t>> bytes) : bytes_(std::move(bytes)) {}
  uint8_t* Data() override { return bytes_->data(); }
  int Size() const override { return static_cast<int>(bytes_->size()); }

 private:
  std::shared_ptr<std::vector<uint8_t>> bytes_;
};

}  // namespace

bool FakeProcess::EnablePrivilege(const cc::Str& name) {
  privileges_.push_back(name);
  return !refuse_privileges_;
}

std::unique_ptr<SharedMemory> FakeProcess::CreateSharedMemory(const cc::Str& name, int size) {
  if (size <= 0) return nullptr;
  auto& block = blocks_[std::u16string(name.View())];
  if (!block) block = std::make_shared<std::vector<uint8_t>>(size, 0);
  return std::make_unique<FakeSharedMemory>(block);
}

const std::vector<uint8_t>* FakeProcess::Block(const cc::Str& name) const {
  auto it = blocks_.find(std::u16string(name.View()));
  return it == blocks_.end() ? nullptr : it->second.get();
}
