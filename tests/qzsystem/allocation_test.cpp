#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "qzsystem/document.h"
#include "qzsystem/input.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"
#include "qzsystem/prefs.h"

namespace {

thread_local bool counting = false;
thread_local long allocations = 0;

// Counts the heap allocations made on this thread while it lives.
class AllocationCount {
 public:
  AllocationCount() {
    allocations = 0;
    counting = true;
  }
  ~AllocationCount() { counting = false; }
  long Count() const { return allocations; }
};

}  // namespace

// The replacement pairs malloc with free on purpose; g++ cannot see that
// every operator new here is this one.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (counting) ++allocations;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

struct CountingObserver : InputObserver {
  void InputChanged(Input*, Parameter*) override { ++Calls; }
  int Calls = 0;
};

TEST(HotPath, WritesDuringAGestureAllocateNothing) {
  CPipelineDoc doc;
  Input* input = doc.AddTool(new Operator("Blur1"))->AddInput("Size");
  CountingObserver observer;
  input->AddObserver(&observer);
  std::vector<Number*> values;
  for (int i = 0; i < 100; ++i) values.push_back(new Number(i));

  doc.StartUndo("Control Change");
  input->SetValue(values[0], 0, 1);
  doc.EndUndo(1);
  long count;
  {
    AllocationCount allocationsDuringDrag;
    for (int i = 1; i < 100; ++i) input->SetValue(values[i], 0, 1);
    count = allocationsDuringDrag.Count();
  }
  EXPECT_EQ(count, 0);
  EXPECT_EQ(observer.Calls, 100);
  for (Number* value : values) value->Recycle();
}

TEST(HotPath, LockedWalksAndPreferenceReadsAllocateNothing) {
  Operator tool("Merge1");
  for (int i = 0; i < 20; ++i) tool.AddInput("In");
  long count;
  intptr_t tolerance = 0;
  int seen = 0;
  {
    AllocationCount allocationsDuringWalk;
    tool.Inputs.ObtainReadLock();
    for (ListNode* node = tool.Inputs.GetNext(nullptr); node; node = tool.Inputs.GetNext(node)) ++seen;
    tool.Inputs.ReleaseReadLock();
    tool.Inputs.ObtainLock();
    tool.Inputs.ReleaseLock();
    tolerance = GetPrefLong(0x10000000);
    count = allocationsDuringWalk.Count();
  }
  EXPECT_EQ(count, 0);
  EXPECT_EQ(seen, 20);
  EXPECT_EQ(tolerance, 5);
}

}  // namespace
