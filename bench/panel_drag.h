// What the panel drag-step benchmarks share: the controls module loaded
// once, a session with one tool, a panel control whose child window is
// pressed with the session's write log detached (so that only the path
// itself is measured), and the measuring loop that moves the pointer back
// and forth between two pixels and reports the allocations per step.
// Brings in the counting allocator, so include it in the one source file of
// a benchmark program.
#pragma once

#include <benchmark/benchmark.h>

#include "bench/instructions.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace qzb {

inline qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load(QZ_MODULE_PATH);
  return module;
}

// Loads the module; false (and the benchmark skipped) when it cannot.
inline bool ModuleReady(benchmark::State& state) {
  if (LoadedModule().Loaded()) return true;
  state.SkipWithError("cannot load the controls module");
  return false;
}

// A session with the tool "Bench"; once a control is opened with Press, the
// child window `Target` is held pressed until the drag ends.
struct PanelDrag {
  PanelDrag() { tool = session.AddTool("Bench"); }
  ~PanelDrag() {
    if (!Target) return;
    qz::InjectMouseAt(Target, WM_LBUTTONUP, PressedAt, Row);
    qz::Pump();
  }
  PanelDrag(const PanelDrag&) = delete;
  PanelDrag& operator=(const PanelDrag&) = delete;

  // Finds the control's child `childId`, detaches the write log and presses
  // the child at (x, row). False when the control or the child is missing.
  bool Press(InputControl* opened, int childId, int x, int row) {
    control = opened;
    Target = control ? GetDlgItem(control->Wnd->m_hWnd, childId) : nullptr;
    session.Doc.SetWriteListener(nullptr);
    session.Pump();
    PressedAt = x;
    Row = row;
    if (!Target) return false;
    qz::InjectMouseAt(Target, WM_LBUTTONDOWN, x, row);
    qz::Pump();
    return true;
  }
  void MoveTo(int x) {
    qz::InjectMouseAt(Target, WM_MOUSEMOVE, x, Row);
    qz::Pump();
  }

  qzh::Session session;
  Operator* tool = nullptr;
  InputControl* control = nullptr;
  HWND Target = nullptr;
  int PressedAt = 0;
  int Row = 0;
};

// Moves `warmUp` times first (so that the undo step, its records and every
// buffer on the path exist), then measures one step per iteration, between
// `first` and `second`, and reports "allocations_per_step" (and
// "instructions_per_step" where the machine has counters).
inline void MeasureSteps(benchmark::State& state, PanelDrag& drag, int warmUp, int first, int second) {
  for (int i = 0; i < warmUp; ++i) drag.MoveTo(i % 2 ? second : first);
  long steps = 0;
  InstructionCounter instructions;
  const long before = qzh::AllocationCount().load();
  instructions.Start();
  for (auto _ : state) {
    drag.MoveTo(steps % 2 ? second : first);
    ++steps;
  }
  const uint64_t ran = instructions.Stop();
  const long allocations = qzh::AllocationCount().load() - before;
  state.counters["allocations_per_step"] = steps ? static_cast<double>(allocations) / steps : 0.0;
  instructions.Report(state, "instructions_per_step", ran, steps);
}

}  // namespace qzb
