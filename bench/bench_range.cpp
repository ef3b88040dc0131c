// One drag step on a range bar, end to end: the mouse move reaches the bar,
// which posts WM_HSCROLL; the range control sends the changed ends through
// SetInputs with their change kind, the inputs store them and tell the
// control, and the bar is repainted. Reports the time and the allocations
// per step for a step that moves one end, one that moves the whole span
// (both ends sent) and one that changes nothing the inputs hold.
#include <benchmark/benchmark.h>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace {

constexpr int BarId = 1001;
constexpr int HandleRow = 9;

qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load(QZ_MODULE_PATH);
  return module;
}

// A range control, by default from 0 to 151 (a unit per pixel of the bar,
// x 62 to 213), with its ends at `low` and `high`, pressed at `press`, the
// session's write log detached so that only the path itself is measured.
struct DragScene {
  DragScene(const TagList& attributes, double low, double high, int press) {
    tool = session.AddTool("Bench");
    Input* start = session.AddNumberInput(tool, "Start", low, 0);
    Input* end = session.AddNumberInput(tool, "End", high, 1);
    TagList tags{{qzc::tag::DisplayMin, 0.0}, {qzc::tag::DisplayMax, 151.0}};
    tags.Merge(attributes);
    control = session.AddPanelControl("RangeControl", tags, {start, end});
    bar = control ? GetDlgItem(control->Wnd->m_hWnd, BarId) : nullptr;
    session.Doc.SetWriteListener(nullptr);
    session.Pump();
    PressedAt = press;
    qz::InjectMouseAt(bar, WM_LBUTTONDOWN, press, HandleRow);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(bar, WM_LBUTTONUP, PressedAt, HandleRow);
    qz::Pump();
  }
  void MoveTo(int x) {
    qz::InjectMouseAt(bar, WM_MOUSEMOVE, x, HandleRow);
    qz::Pump();
  }

  qzh::Session session;
  Operator* tool = nullptr;
  InputControl* control = nullptr;
  HWND bar = nullptr;
  int PressedAt = 0;
};

void RunSteps(benchmark::State& state, const TagList& attributes, double low, double high, int press, int first,
              int second) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(attributes, low, high, press);
  if (!scene.bar) {
    state.SkipWithError("cannot open a range control");
    return;
  }
  // Warm up: the undo step, its records and every buffer on the path exist.
  for (int i = 0; i < 64; ++i) scene.MoveTo(i % 2 ? second : first);
  long steps = 0;
  const long before = qzh::AllocationCount().load();
  for (auto _ : state) {
    scene.MoveTo(steps % 2 ? second : first);
    ++steps;
  }
  const long allocations = qzh::AllocationCount().load() - before;
  state.counters["allocations_per_step"] = steps ? static_cast<double>(allocations) / steps : 0.0;
}

// The low end (20 at x 82), grabbed on its handle, moves between 30 and 40:
// one Number sent.
void BM_RangeDragStepMovingOneEnd(benchmark::State& state) {
  RunSteps(state, {}, 20.0, 60.0, 79, 89, 99);
}
BENCHMARK(BM_RangeDragStepMovingOneEnd);

// The whole selection moves by ten: both ends sent.
void BM_RangeDragStepMovingTheSpan(benchmark::State& state) {
  RunSteps(state, {}, 20.0, 60.0, 100, 110, 120);
}
BENCHMARK(BM_RangeDragStepMovingTheSpan);

// Whole numbers over 0 to 30.2 (0.2 a pixel): the low end (10 at x 112)
// moves between 10.2 and 10.4 on the bar, both 10, so each step is posted
// and handled but sends nothing, and the bar snaps back.
void BM_RangeDragStepChangingNothing(benchmark::State& state) {
  const TagList attributes{{qzc::tag::DisplayMax, 30.2}, {qzc::tag::Integer, 1}};
  RunSteps(state, attributes, 10.0, 20.0, 109, 110, 111);
}
BENCHMARK(BM_RangeDragStepChangingNothing);

}  // namespace

BENCHMARK_MAIN();
