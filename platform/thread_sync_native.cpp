#include <condition_variable>

#include "platform/thread_sync.h"

struct Mutex::State {
  std::mutex mutex;
};

struct ConditionVariable::State {
  std::condition_variable condition;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { state_->mutex.lock(); }
void Mutex::unlock() { state_->mutex.unlock(); }

namespace {

// The standard condition variable waits on a lock of its own mutex type: the
// caller's lock is lent to it for the wait and taken back after.
std::unique_lock<std::mutex> Borrow(std::mutex& mutex) {
  return std::unique_lock<std::mutex>(mutex, std::adopt_lock);
}

}  // namespace

ConditionVariable::ConditionVariable() : state_(std::make_unique<State>()) {}
ConditionVariable::~ConditionVariable() = default;

void ConditionVariable::Wait(std::unique_lock<Mutex>& lock) {
  std::unique_lock<std::mutex> inner = Borrow(lock.mutex()->state_->mutex);
  state_->condition.wait(inner);
  inner.release();
}

bool ConditionVariable::WaitFor(std::unique_lock<Mutex>& lock, int ms) {
  std::unique_lock<std::mutex> inner = Borrow(lock.mutex()->state_->mutex);
  const bool woken = state_->condition.wait_for(inner, std::chrono::milliseconds(ms)) ==
                     std::cv_status::no_timeout;
  inner.release();
  return woken;
}

void ConditionVariable::NotifyOne() { state_->condition.notify_one(); }
void ConditionVariable::NotifyAll() { state_->condition.notify_all(); }
