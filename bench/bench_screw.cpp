// One drag step of a thumb wheel, end to end: the mouse move reaches the
// wheel, which posts WM_HSCROLL; the control writes the value through
// SetInputs, the input stores it and tells the control (NotifyChanged,
// UpdateDisplay), and the wheel is composed off screen and copied out.
// Reports the time and the allocations per step, for steps that write a value
// and for steps below the precision that write nothing.
#include "bench/panel_drag.h"
#include "frame/tags.h"

namespace {

constexpr int WheelId = 1001;
constexpr int WheelRow = 8;
constexpr int PressX = 100;

// A screw control on a panel with its wheel pressed. The warm-up also makes
// the glyphs.
void RunSteps(benchmark::State& state, const TagList& attributes, int first, int second) {
  if (!qzb::ModuleReady(state)) return;
  qzb::PanelDrag drag;
  Input* input = drag.session.AddNumberInput(drag.tool, "Angle", 0.0);
  if (!drag.Press(drag.session.AddPanelControl("ScrewControl", attributes, {input}), WheelId, PressX, WheelRow)) {
    state.SkipWithError("cannot open a screw control");
    return;
  }
  qzb::MeasureSteps(state, drag, 8, first, second);
  state.counters["value"] = drag.session.NumberValue(input);
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
