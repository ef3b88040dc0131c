// Counts the instructions this process runs in user space, where the
// machine lets a process read its own hardware counters (Linux perf events).
// Where it does not (a virtual machine without them, or a locked-down
// kernel), the counter stays closed and the benchmarks report no
// instruction figure rather than a wrong one.
#pragma once

#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace qzb {

class InstructionCounter {
 public:
  InstructionCounter() {
    perf_event_attr attributes;
    std::memset(&attributes, 0, sizeof attributes);
    attributes.type = PERF_TYPE_HARDWARE;
    attributes.size = sizeof attributes;
    attributes.config = PERF_COUNT_HW_INSTRUCTIONS;
    attributes.exclude_kernel = 1;
    attributes.exclude_hv = 1;
    attributes.disabled = 1;
    Descriptor = static_cast<int>(syscall(SYS_perf_event_open, &attributes, 0, -1, -1, 0));
  }
  ~InstructionCounter() {
    if (Descriptor >= 0) close(Descriptor);
  }
  InstructionCounter(const InstructionCounter&) = delete;
  InstructionCounter& operator=(const InstructionCounter&) = delete;

  bool Available() const { return Descriptor >= 0; }
  void Start() {
    if (!Available()) return;
    ioctl(Descriptor, PERF_EVENT_IOC_RESET, 0);
    ioctl(Descriptor, PERF_EVENT_IOC_ENABLE, 0);
  }
  // Instructions since Start; 0 without counters.
  uint64_t Stop() {
    if (!Available()) return 0;
    ioctl(Descriptor, PERF_EVENT_IOC_DISABLE, 0);
    uint64_t count = 0;
    if (read(Descriptor, &count, sizeof count) != static_cast<ssize_t>(sizeof count)) return 0;
    return count;
  }

  // Adds "<name>" (instructions per iteration) to the benchmark's counters
  // when the machine has counters.
  void Report(benchmark::State& state, const std::string& name, uint64_t count, long iterations) const {
    if (Available() && iterations > 0) state.counters[name] = static_cast<double>(count) / iterations;
  }

 private:
  int Descriptor = -1;
};

}  // namespace qzb
