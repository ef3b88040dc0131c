// One drag step of a slider thumb, end to end: the mouse move reaches the
// slider window, which posts WM_HSCROLL; the control commits the value
// through SetInputs, the input stores it and tells the control
// (NotifyChanged, UpdateDisplay), and the thumb is repainted. Reports the
// time and the allocations per step, for steps that change the value and for
// steps that do not.
#include "bench/panel_drag.h"
#include "frame/tags.h"

namespace {

constexpr int SliderId = 1001;
constexpr int ThumbRow = 9;
constexpr int TrackCentre = 113;

// A slider control on a panel with its thumb (at the middle of the track)
// pressed.
void RunSteps(benchmark::State& state, const TagList& attributes, double middle, int first, int second) {
  if (!qzb::ModuleReady(state)) return;
  qzb::PanelDrag drag;
  Input* input = drag.session.AddNumberInput(drag.tool, "Gain", middle);
  if (!drag.Press(drag.session.AddPanelControl("SliderControl", attributes, {input}), SliderId, TrackCentre,
                  ThumbRow)) {
    state.SkipWithError("cannot open a slider control");
    return;
  }
  qzb::MeasureSteps(state, drag, 8, first, second);
  state.counters["value"] = drag.session.NumberValue(input);
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
