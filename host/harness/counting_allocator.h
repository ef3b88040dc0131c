// Counts every heap allocation of a program, the module's included, by
// replacing the global allocation functions. Include it in exactly one
// source file of a test or benchmark program. Every form of new and delete
// is replaced, so that no block of one allocator is freed by the other.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace qzh {

inline std::atomic<long>& AllocationCount() {
  static std::atomic<long> count{0};
  return count;
}

// While set, the allocations that may fail (the nothrow forms) fail, as
// when memory is exhausted.
inline std::atomic<bool>& FailNothrowAllocations() {
  static std::atomic<bool> failing{false};
  return failing;
}

}  // namespace qzh

namespace qzh::detail {

[[gnu::noinline]] inline void* CountedAllocation(std::size_t size) noexcept {
  AllocationCount().fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}

}  // namespace qzh::detail

// The replacements pair malloc with free on purpose; g++ cannot see that
// every operator new of the program is one of these.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (void* p = qzh::detail::CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (qzh::FailNothrowAllocations().load(std::memory_order_relaxed)) return nullptr;
  return qzh::detail::CountedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return ::operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
