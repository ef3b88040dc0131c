// One drag step of a colour control's channel slider, end to end: the mouse
// move reaches the red slider, which posts WM_HSCROLL; the control writes the
// channel through SetInputs, the input stores it and tells the control
// (NotifyChanged, UpdateDisplay), and the slider, the field and the swatch
// are repainted. Reports the time and the allocations per step, for steps
// that write a value and for steps that write nothing.
#include <vector>

#include "bench/panel_drag.h"
#include "frame/tags.h"

namespace {

constexpr int RedSliderId = 1001;
// The red thumb sits at the middle of its track (x 87 to 207 by default).
constexpr double RedValue = 0.5;
constexpr int RedThumbX = 147;

// A colour control with its four channels in one group, connected before it
// opens as for a tool whose panel is opened, its red thumb pressed.
void RunSteps(benchmark::State& state, int first, int second) {
  if (!qzb::ModuleReady(state)) return;
  qzb::PanelDrag drag;
  const TagList group{{qzc::tag::ControlGroup, 1}};
  const char* names[] = {"Tint Red", "Tint Green", "Tint Blue", "Tint Alpha"};
  const double values[] = {RedValue, 0.45, 0.8, 1.0};
  std::vector<Input*> channels;
  for (int c = 0; c < 4; ++c)
    channels.push_back(drag.session.AddInput(drag.tool, names[c], new Number(values[c]), c, group));
  InputControl* control =
      drag.session.AddConnectedPanelControl("ColourControl", TagList{{qzc::tag::ControlName, "Tint"}}, channels);
  // The slider is as high as its thumb: press at half its height.
  HWND slider = control ? GetDlgItem(control->Wnd->m_hWnd, RedSliderId) : nullptr;
  RECT client{};
  if (slider) GetClientRect(slider, &client);
  if (!drag.Press(control, RedSliderId, RedThumbX, client.bottom / 2)) {
    state.SkipWithError("cannot open a colour control");
    return;
  }
  qzb::MeasureSteps(state, drag, 8, first, second);
  state.counters["value"] = drag.session.NumberValue(channels[0]);
}

// Each step lands on another pixel and so writes a new red value.
void BM_ColourDragStepWritingTheValue(benchmark::State& state) {
  RunSteps(state, RedThumbX + 20, RedThumbX + 30);
}
BENCHMARK(BM_ColourDragStepWritingTheValue);

// Both pixels lie beyond the end of the track and so mean full red, written
// once in the warm-up: each step reaches the slider, which finds its value
// unchanged, reports nothing, and nothing is written.
void BM_ColourDragStepWritingNothing(benchmark::State& state) {
  RunSteps(state, RedThumbX + 100, RedThumbX + 110);
}
BENCHMARK(BM_ColourDragStepWritingNothing);

}  // namespace

BENCHMARK_MAIN();
