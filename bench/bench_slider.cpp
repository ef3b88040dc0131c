// One drag step of a slider thumb, end to end: the mouse move reaches the
// slider window, which posts WM_HSCROLL; the control commits the value
// through SetInputs, the input stores it and tells the control
// (NotifyChanged, UpdateDisplay), and the thumb is repainted. Reports the
// time and the allocations per step, for steps that change the value and for
// steps that do not.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

#include "harness/counting_allocator.h"

namespace {

constexpr int SliderId = 1001;
constexpr int ThumbRow = 9;
constexpr int TrackCentre = 113;

qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load(QZ_MODULE_PATH);
  return module;
}

// A slider control on a panel with its thumb (at the middle of the track)
// pressed, the session's write
// log detached so that only the path itself is measured.
struct DragScene {
  DragScene(const TagList& attributes, double value) {
    tool = session.AddTool("Bench");
    input = session.AddNumberInput(tool, "Gain", value);
    control = session.AddPanelControl("SliderControl", attributes, {input});
    slider = control ? GetDlgItem(control->Wnd->m_hWnd, SliderId) : nullptr;
    session.Doc.SetWriteListener(nullptr);
    session.Pump();
    qz::InjectMouseAt(slider, WM_LBUTTONDOWN, TrackCentre, ThumbRow);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(slider, WM_LBUTTONUP, TrackCentre, ThumbRow);
    qz::Pump();
  }
  void MoveTo(int x) {
    qz::InjectMouseAt(slider, WM_MOUSEMOVE, x, ThumbRow);
    qz::Pump();
  }

  qzh::Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND slider = nullptr;
};

void RunSteps(benchmark::State& state, const TagList& attributes, double middle, int first, int second) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(attributes, middle);
  if (!scene.slider) {
    state.SkipWithError("cannot open a slider control");
    return;
  }
  // Warm up: the undo step, the write record and every buffer on the path exist.
  for (int i = 0; i < 8; ++i) scene.MoveTo(i % 2 ? second : first);
  long steps = 0;
  const long before = qzh::AllocationCount().load();
  for (auto _ : state) {
    scene.MoveTo(steps % 2 ? second : first);
    ++steps;
  }
  const long allocations = qzh::AllocationCount().load() - before;
  state.counters["allocations_per_step"] = steps ? static_cast<double>(allocations) / steps : 0.0;
  state.counters["value"] = scene.session.NumberValue(scene.input);
}

// Each step lands on another pixel and so writes a new value.
void BM_SliderDragStepChangingTheValue(benchmark::State& state) {
  RunSteps(state, {}, 0.5, TrackCentre + 20, TrackCentre + 30);
}
BENCHMARK(BM_SliderDragStepChangingTheValue);

// A whole-number slider snapping to its steps: both pixels snap to 5, so each
// step is reported and committed but writes nothing and leaves the thumb.
void BM_SliderDragStepKeepingTheValue(benchmark::State& state) {
  const TagList attributes{{qzc::tag::RangeMax, 10.0}, {qzc::tag::Integer, 1}, {qzc::tag::Snap, 1}};
  RunSteps(state, attributes, 5.0, TrackCentre + 1, TrackCentre + 5);
}
BENCHMARK(BM_SliderDragStepKeepingTheValue);

}  // namespace

BENCHMARK_MAIN();
