#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "qzsystem/lock.h"

namespace {

// Spins until `count` threads are blocked on the lock; false if that never
// happens within a generous bound.
bool AwaitWaiters(const LockableObject& lock, int count) {
  for (long i = 0; i < 50'000'000; ++i) {
    if (lock.Waiters() >= count) return true;
    std::this_thread::yield();
  }
  return false;
}

enum class Take { Exclusive, Shared };

// Takes the lock on another thread, then releases it; `Got` tells whether
// it has had the lock yet.
class Contender {
 public:
  Contender(LockableObject& lock, Take take)
      : Thread([this, &lock, take] {
          take == Take::Exclusive ? lock.ObtainLock() : lock.ObtainReadLock();
          Got = true;
          take == Take::Exclusive ? lock.ReleaseLock() : lock.ReleaseReadLock();
        }) {}
  ~Contender() { Finish(); }
  void Finish() {
    if (Thread.joinable()) Thread.join();
  }

  std::atomic<bool> Got{false};

 private:
  std::thread Thread;
};

// Checks that another thread's `take` blocks while this thread holds what
// it holds, and goes through once `release` has run.
void ExpectBlockedUntil(LockableObject& lock, Take take, const std::function<void()>& release) {
  Contender other(lock, take);
  ASSERT_TRUE(AwaitWaiters(lock, 1));
  EXPECT_FALSE(other.Got);
  release();
  other.Finish();
  EXPECT_TRUE(other.Got);
}

TEST(LockableObject, WriterIsExcludedWhileAReaderHolds) {
  LockableObject lock;
  lock.ObtainReadLock();
  ExpectBlockedUntil(lock, Take::Exclusive, [&] { lock.ReleaseReadLock(); });
}

TEST(LockableObject, ReaderIsExcludedWhileAWriterHolds) {
  LockableObject lock;
  lock.ObtainLock();
  ExpectBlockedUntil(lock, Take::Shared, [&] { lock.ReleaseLock(); });
}

TEST(LockableObject, ReadersShareTheLock) {
  LockableObject lock;
  lock.ObtainReadLock();
  Contender(lock, Take::Shared).Finish();
  lock.ReleaseReadLock();
}

TEST(LockableObject, NestedLockingOnOneThreadDoesNotDeadlock) {
  LockableObject lock;
  lock.ObtainLock();
  lock.ObtainLock();
  lock.ObtainReadLock();
  lock.ObtainReadLock();
  lock.ReleaseReadLock();
  lock.ReleaseReadLock();
  lock.ReleaseLock();
  EXPECT_TRUE(lock.HoldsLock());
  lock.ReleaseLock();
  EXPECT_FALSE(lock.HoldsLock());
  Contender(lock, Take::Exclusive).Finish();
}

TEST(LockableObject, NestedReadLocksNeedEveryRelease) {
  LockableObject lock;
  lock.ObtainReadLock();
  lock.ObtainReadLock();
  lock.ReleaseReadLock();
  ExpectBlockedUntil(lock, Take::Exclusive, [&] { lock.ReleaseReadLock(); });
}

TEST(LockableObject, TheOnlyReaderMayUpgrade) {
  LockableObject lock;
  lock.ObtainReadLock();
  lock.ObtainLock();
  EXPECT_TRUE(lock.HoldsLock());
  lock.ReleaseLock();
  lock.ReleaseReadLock();
  Contender(lock, Take::Exclusive).Finish();
}

TEST(LockableObject, UpgradeWaitsForTheOtherReaders) {
  LockableObject lock;
  lock.ObtainReadLock();
  std::atomic<bool> upgraded{false};
  std::thread upgrader([&] {
    lock.ObtainReadLock();
    lock.ObtainLock();
    upgraded = true;
    lock.ReleaseLock();
    lock.ReleaseReadLock();
  });
  ASSERT_TRUE(AwaitWaiters(lock, 1));
  EXPECT_FALSE(upgraded);
  lock.ReleaseReadLock();
  upgrader.join();
  EXPECT_TRUE(upgraded);
}

TEST(LockableObject, ReadLockTakenWhileWritingOutlivesTheWriteLock) {
  LockableObject lock;
  lock.ObtainLock();
  lock.ObtainReadLock();
  lock.ReleaseLock();
  ExpectBlockedUntil(lock, Take::Exclusive, [&] { lock.ReleaseReadLock(); });
}

TEST(LockableObject, AWaitingWriterGoesBeforeNewReaders) {
  LockableObject lock;
  std::string order;
  std::mutex orderMutex;
  auto note = [&](char c) {
    std::lock_guard<std::mutex> guard(orderMutex);
    order += c;
  };
  lock.ObtainReadLock();
  std::thread writer([&] {
    lock.ObtainLock();
    note('W');
    lock.ReleaseLock();
  });
  ASSERT_TRUE(AwaitWaiters(lock, 1));
  std::thread reader([&] {
    lock.ObtainReadLock();
    note('R');
    lock.ReleaseReadLock();
  });
  ASSERT_TRUE(AwaitWaiters(lock, 2));
  lock.ReleaseReadLock();
  writer.join();
  reader.join();
  EXPECT_EQ(order, "WR");
}

TEST(LockableObject, ReleasingALockNotHeldChangesNothing) {
  LockableObject lock;
  lock.ReleaseLock();
  lock.ReleaseReadLock();
  lock.ObtainLock();
  std::thread stranger([&] {
    lock.ReleaseLock();
    lock.ReleaseReadLock();
  });
  stranger.join();
  EXPECT_TRUE(lock.HoldsLock());
  lock.ReleaseLock();
}

TEST(LockableObject, WritersAndReadersNeverSeeAHalfDoneChange) {
  LockableObject lock;
  long first = 0;
  long second = 0;
  std::atomic<int> torn{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        if ((i + t) % 3 == 0) {
          lock.ObtainLock();
          lock.ObtainReadLock();
          ++first;
          ++second;
          lock.ReleaseReadLock();
          lock.ReleaseLock();
        } else {
          lock.ObtainReadLock();
          if (first != second) ++torn;
          lock.ReleaseReadLock();
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(torn, 0);
  long expected = 0;
  for (int t = 0; t < 4; ++t) {
    for (int i = 0; i < 2000; ++i) expected += (i + t) % 3 == 0;
  }
  EXPECT_EQ(first, expected);
  EXPECT_EQ(second, expected);
}

}  // namespace
