#include <windows.h>

#include "platform/thread_sync.h"

struct Mutex::State {
  SRWLOCK lock = SRWLOCK_INIT;
};

struct ConditionVariable::State {
  CONDITION_VARIABLE condition = CONDITION_VARIABLE_INIT;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { AcquireSRWLockExclusive(&state_->lock); }
void Mutex::unlock() { ReleaseSRWLockExclusive(&state_->lock); }

ConditionVariable::ConditionVariable() : state_(std::make_unique<State>()) {}
ConditionVariable::~ConditionVariable() = default;

void ConditionVariable::Wait(std::unique_lock<Mutex>& lock) {
  SleepConditionVariableSRW(&state_->condition, &lock.mutex()->state_->lock, INFINITE, 0);
}

bool ConditionVariable::WaitFor(std::unique_lock<Mutex>& lock, int ms) {
  return SleepConditionVariableSRW(&state_->condition, &lock.mutex()->state_->lock,
                                   static_cast<DWORD>(ms), 0) != FALSE;
}

void ConditionVariable::NotifyOne() { WakeConditionVariable(&state_->condition); }
void ConditionVariable::NotifyAll() { WakeAllConditionVariable(&state_->condition); }
