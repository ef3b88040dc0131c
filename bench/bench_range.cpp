// One drag step on a range bar, end to end: the mouse move reaches the bar,
// which posts WM_HSCROLL; the range control sends the changed ends through
// SetInputs with their change kind, the inputs store them and tell the
// control, and the bar is repainted. Reports the time and the allocations
// per step for a step that moves one end, one that moves the whole span
// (both ends sent) and one that changes nothing the inputs hold.
#include "bench/panel_drag.h"
#include "frame/tags.h"

namespace {

constexpr int BarId = 1001;
constexpr int HandleRow = 9;

// A range control, by default from 0 to 151 (a unit per pixel of the bar,
// x 62 to 213), with its ends at `low` and `high`, pressed at `press`.
void RunSteps(benchmark::State& state, const TagList& attributes, double low, double high, int press, int first,
              int second) {
  if (!qzb::ModuleReady(state)) return;
  qzb::PanelDrag drag;
  Input* start = drag.session.AddNumberInput(drag.tool, "Start", low, 0);
  Input* end = drag.session.AddNumberInput(drag.tool, "End", high, 1);
  TagList tags{{qzc::tag::DisplayMin, 0.0}, {qzc::tag::DisplayMax, 151.0}};
  tags.Merge(attributes);
  if (!drag.Press(drag.session.AddPanelControl("RangeControl", tags, {start, end}), BarId, press, HandleRow)) {
    state.SkipWithError("cannot open a range control");
    return;
  }
  qzb::MeasureSteps(state, drag, 64, first, second);
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
