// One drag step of a thumb wheel, end to end: the mouse move reaches the
// wheel, which posts WM_HSCROLL; the control writes the value through
// SetInputs, the input stores it and tells the control (NotifyChanged,
// UpdateDisplay), and the wheel is composed off screen and copied out.
// Reports the time and the allocations per step, for steps that write a value
// and for steps below the precision that write nothing.
#include <benchmark/benchmark.h>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace {

constexpr int WheelId = 1001;
constexpr int WheelRow = 8;
constexpr int PressX = 100;

qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load(QZ_MODULE_PATH);
  return module;
}

// A screw control on a panel with its wheel pressed, the session's write log
// detached so that only the path itself is measured.
struct DragScene {
  explicit DragScene(const TagList& attributes) {
    tool = session.AddTool("Bench");
    input = session.AddNumberInput(tool, "Angle", 0.0);
    control = session.AddPanelControl("ScrewControl", attributes, {input});
    wheel = control ? GetDlgItem(control->Wnd->m_hWnd, WheelId) : nullptr;
    session.Doc.SetWriteListener(nullptr);
    session.Pump();
    qz::InjectMouseAt(wheel, WM_LBUTTONDOWN, PressX, WheelRow);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(wheel, WM_LBUTTONUP, PressX, WheelRow);
    qz::Pump();
  }
  void MoveTo(int x) {
    qz::InjectMouseAt(wheel, WM_MOUSEMOVE, x, WheelRow);
    qz::Pump();
  }

  qzh::Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND wheel = nullptr;
};

void RunSteps(benchmark::State& state, const TagList& attributes, int first, int second) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(attributes);
  if (!scene.wheel) {
    state.SkipWithError("cannot open a screw control");
    return;
  }
  // Warm up: the undo step, the write record, the glyphs and every buffer on
  // the path exist.
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
void BM_ScrewDragStepWritingTheValue(benchmark::State& state) {
  RunSteps(state, {{qzc::tag::ControlName, "Angle"}}, PressX + 20, PressX + 30);
}
BENCHMARK(BM_ScrewDragStepWritingTheValue);

// Whole numbers over a scale of 0 to 1: both pixels round to the same value,
// so each step is posted and handled but writes nothing and puts the wheel
// back.
void BM_ScrewDragStepBelowThePrecision(benchmark::State& state) {
  RunSteps(state, {{qzc::tag::ControlName, "Angle"}, {qzc::tag::Integer, 1}}, PressX + 20, PressX + 30);
}
BENCHMARK(BM_ScrewDragStepBelowThePrecision);

}  // namespace

BENCHMARK_MAIN();
