#include "platform/thread_sync.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Two threads take turns through one lock and one condition: a wake-up that
// is lost stalls the game (caught by the bounded waits), and a lock that does
// not exclude loses increments of the plain counter.
TEST(ThreadSyncTest, TwoThreadsTakeTurnsWithoutLosingAWakeUpOrAnUpdate) {
  constexpr int kTurns = 2000;
  constexpr int kIncrementsPerTurn = 50;
  Mutex mutex;
  ConditionVariable turnChanged;
  int turn = 0;  // even: the main thread's, odd: the other's
  long counter = 0;
  bool stalled = false;
  auto play = [&](int parity) {
    for (int i = 0; i < kTurns; ++i) {
      std::unique_lock<Mutex> lock(mutex);
      if (!turnChanged.WaitFor(lock, 5000, [&] { return turn % 2 == parity; })) {
        stalled = true;
        turn = -1;  // lets nobody wait on
      }
      if (turn < 0) return;
      for (int k = 0; k < kIncrementsPerTurn; ++k) {
        lock.unlock();
        lock.lock();
        ++counter;
      }
      ++turn;
      turnChanged.NotifyOne();
    }
  };
  std::thread other(play, 1);
  play(0);
  other.join();
  EXPECT_FALSE(stalled);
  EXPECT_EQ(turn, 2 * kTurns);
  EXPECT_EQ(counter, 2L * kTurns * kIncrementsPerTurn);
}

TEST(ThreadSyncTest, AWaitThatNobodyEndsReturnsWhenItsTimeIsUp) {
  Mutex mutex;
  ConditionVariable never;
  std::unique_lock<Mutex> lock(mutex);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(never.WaitFor(lock, 30, [] { return false; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
  EXPECT_TRUE(lock.owns_lock());
  EXPECT_TRUE(never.WaitFor(lock, 30, [] { return true; }));
}

TEST(ThreadSyncTest, NotifyAllWakesEveryWaiter) {
  Mutex mutex;
  ConditionVariable opened;
  bool open = false;
  int through = 0;
  std::thread waiters[3];
  for (std::thread& waiter : waiters) {
    waiter = std::thread([&] {
      std::unique_lock<Mutex> lock(mutex);
      if (opened.WaitFor(lock, 5000, [&] { return open; })) ++through;
    });
  }
  {
    std::lock_guard<Mutex> lock(mutex);
    open = true;
  }
  opened.NotifyAll();
  for (std::thread& waiter : waiters) waiter.join();
  EXPECT_EQ(through, 3);
}

}  // namespace
