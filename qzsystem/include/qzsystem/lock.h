// A reader/writer lock carried by host objects (lists, registries).
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "qzsystem/object.h"

// Exclusive and shared locking that excludes across threads and is
// re-entrant on one thread: the exclusive owner may lock again and take read
// locks; a reader may read-lock again, and may take the exclusive lock when
// it is the only reader. New readers wait while a writer waits, so writers
// are not starved; a thread that already reads is never made to wait for
// its own further read locks. Two readers upgrading at once deadlock, as
// with any upgradable lock. Releasing a lock the thread does not hold does
// nothing. At most ReaderSlots threads read at once; more wait for a slot.
class LockableObject : public Object {
 public:
  using Object::Object;

  void ObtainLock();
  void ReleaseLock();
  void ObtainReadLock();
  void ReleaseReadLock();

  // Whether the calling thread holds the exclusive lock.
  bool HoldsLock() const;
  // How many threads are waiting for this lock (a diagnostic for hosts and
  // tests that must know a thread is blocked).
  int Waiters() const;

 private:
  static constexpr int ReaderSlots = 16;
  struct Reader {
    std::thread::id Thread;
    int Depth = 0;
  };

  int ReaderOf(std::thread::id thread) const;
  int FreeReaderSlot() const;
  bool OnlyReaderIs(std::thread::id thread) const;
  void WakeWaiters();

  mutable std::mutex Mutex;
  std::condition_variable Released;
  std::thread::id Writer;
  int WriterDepth = 0;
  int WriterReads = 0;
  int WritersWaiting = 0;
  int Waiting = 0;
  int ReaderCount = 0;
  Reader Readers[ReaderSlots];
};
