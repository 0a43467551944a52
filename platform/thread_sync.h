// A mutex and a condition variable for the engine's worker threads (the copy
// pipeline's reader and writer). In the Windows build they are the system's
// slim reader/writer lock and condition variable: the C++ library's own go
// through a POSIX-threads layer whose waits and wake-ups are kernel
// semaphores and events, and under Wine each of those is a round trip to the
// Wine server — several per 100 KB block of a copy. The native build wraps
// the standard library's.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>

class ConditionVariable;

// Meets the standard's BasicLockable (hence the lower-case names), so
// std::lock_guard and std::unique_lock hold it.
class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock();
  void unlock();

 private:
  friend class ConditionVariable;
  struct State;
  std::unique_ptr<State> state_;
};

class ConditionVariable {
 public:
  ConditionVariable();
  ~ConditionVariable();
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;

  // Unlocks `lock`, waits for a notification and locks it again. May return
  // without one (spuriously); the waits with a condition below loop.
  void Wait(std::unique_lock<Mutex>& lock);
  // As Wait, for at most `ms` milliseconds. False when the time ran out.
  bool WaitFor(std::unique_lock<Mutex>& lock, int ms);

  // Returns once `done()` holds (checked under the lock).
  template <class Condition>
  void Wait(std::unique_lock<Mutex>& lock, Condition done) {
    while (!done()) Wait(lock);
  }
  // Returns `done()` once it holds or `ms` milliseconds have passed.
  template <class Condition>
  bool WaitFor(std::unique_lock<Mutex>& lock, int ms, Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return done();
      WaitFor(lock, static_cast<int>(left.count()));
    }
    return true;
  }

  void NotifyOne();
  void NotifyAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
