#include "qzsystem/lock.h"

int LockableObject::ReaderOf(std::thread::id thread) const {
  if (ReaderCount == 0) return -1;
  for (int i = 0; i < ReaderSlots; ++i) {
    if (Readers[i].Depth > 0 && Readers[i].Thread == thread) return i;
  }
  return -1;
}

int LockableObject::FreeReaderSlot() const {
  for (int i = 0; i < ReaderSlots; ++i) {
    if (Readers[i].Depth == 0) return i;
  }
  return -1;
}

bool LockableObject::OnlyReaderIs(std::thread::id thread) const {
  return ReaderCount == 1 && ReaderOf(thread) >= 0;
}

void LockableObject::WakeWaiters() {
  if (Waiting > 0) Released.notify_all();
}

void LockableObject::ObtainLock() {
  const std::thread::id me = std::this_thread::get_id();
  std::unique_lock<std::mutex> guard(Mutex);
  if (Writer == me) {
    ++WriterDepth;
    return;
  }
  auto free = [&] { return Writer == std::thread::id() && (ReaderCount == 0 || OnlyReaderIs(me)); };
  if (!free()) {
    ++WritersWaiting;
    ++Waiting;
    Released.wait(guard, free);
    --Waiting;
    --WritersWaiting;
  }
  Writer = me;
  WriterDepth = 1;
}

void LockableObject::ReleaseLock() {
  const std::thread::id me = std::this_thread::get_id();
  std::lock_guard<std::mutex> guard(Mutex);
  if (Writer != me) return;
  if (--WriterDepth > 0) return;
  Writer = std::thread::id();
  if (WriterReads > 0) {
    // Read locks taken while writing outlive the write lock: they become an
    // ordinary read hold. Nobody else can hold a slot while we wrote, so one
    // is free.
    int slot = ReaderOf(me);
    if (slot < 0) {
      slot = FreeReaderSlot();
      Readers[slot].Thread = me;
      ++ReaderCount;
    }
    Readers[slot].Depth += WriterReads;
    WriterReads = 0;
  }
  WakeWaiters();
}

void LockableObject::ObtainReadLock() {
  const std::thread::id me = std::this_thread::get_id();
  std::unique_lock<std::mutex> guard(Mutex);
  if (Writer == me) {
    ++WriterReads;
    return;
  }
  int slot = ReaderOf(me);
  if (slot >= 0) {
    ++Readers[slot].Depth;
    return;
  }
  auto free = [&] { return Writer == std::thread::id() && WritersWaiting == 0 && ReaderCount < ReaderSlots; };
  if (!free()) {
    ++Waiting;
    Released.wait(guard, free);
    --Waiting;
  }
  slot = FreeReaderSlot();
  Readers[slot].Thread = me;
  Readers[slot].Depth = 1;
  ++ReaderCount;
}

void LockableObject::ReleaseReadLock() {
  const std::thread::id me = std::this_thread::get_id();
  std::lock_guard<std::mutex> guard(Mutex);
  if (Writer == me && WriterReads > 0) {
    --WriterReads;
    return;
  }
  const int slot = ReaderOf(me);
  if (slot < 0) return;
  if (--Readers[slot].Depth > 0) return;
  Readers[slot].Thread = std::thread::id();
  --ReaderCount;
  WakeWaiters();
}

bool LockableObject::HoldsLock() const {
  std::lock_guard<std::mutex> guard(Mutex);
  return Writer == std::this_thread::get_id();
}

int LockableObject::Waiters() const {
  std::lock_guard<std::mutex> guard(Mutex);
  return Waiting;
}
