// Opening a tool's panel of 20 controls and painting it the first time, as
// the host does when a tool is selected (Session::OpenPanel): every control is
// created, given its attributes, opened below the others and connected to its
// inputs, and the queue is then pumped until the panel has been painted.
//
// Outside the timing: the session (platform, panel window, document), the
// tool and its inputs, made afresh for each open, and the session's teardown.
// Inside: creating, opening and connecting the 20 controls and the pump that
// paints them. Reports the time per open, "allocations_per_open", and from
// one open made before the timed ones with the message recorder on (it also
// loads the controls' pictures, which later opens find loaded)
// "paints_per_open", the WM_PAINT messages the platform delivered, and
// "snapshot_paints", those a control sent itself with a DC to paint its
// parent's background into a bitmap.
#include <memory>
#include <utility>
#include <vector>

#include "bench/instructions.h"
#include "bench/panel_drag.h"
#include "frame/tags.h"

namespace {

// As the reference host sizes its panel: as tall as its controls, one below
// another (661 pixels for these 20), and a margin.
constexpr int PanelHeight = 670;

// One input of the tool: a number, a text or a point (a text when `Text` is
// set, a point when `PointX` is not negative), in the control's slot
// `PanelIndex`, with the attributes `Attributes`.
struct InputSpec {
  const char* Name;
  double Value = 0.0;
  const char* Text = nullptr;
  float PointX = -1.0f;
  float PointY = 0.0f;
  int PanelIndex = 0;
  TagList Attributes{};
};

// One control of the panel. A control whose inputs are known before it opens
// (the colour control's alpha row) is connected first, as the gallery does.
struct ControlSpec {
  const char* ClassName;
  TagList Attributes;
  std::vector<InputSpec> Inputs;
  bool ConnectFirst = false;
};

InputSpec NumberInput(const char* name, double value, int panelIndex = 0, TagList attributes = {}) {
  InputSpec spec{name};
  spec.Value = value;
  spec.PanelIndex = panelIndex;
  spec.Attributes = std::move(attributes);
  return spec;
}

InputSpec TextInput(const char* name, const char* text) {
  InputSpec spec{name};
  spec.Text = text;
  return spec;
}

InputSpec PointInput(const char* name, float x, float y) {
  InputSpec spec{name};
  spec.PointX = x;
  spec.PointY = y;
  return spec;
}

// A colour-correction tool's panel: sliders, check boxes, choices, a range,
// a screw, a colour, buttons, number and text fields, with the attribute
// lists of the gallery's recipes.
const std::vector<ControlSpec>& PanelOfTwenty() {
  using namespace qzc::tag;
  const TagList group{{ControlGroup, 1}};
  static const std::vector<ControlSpec> panel = {
      {"SliderControl",
       {{SliderLeftLabel, "Blend"}, {SliderRightLabel, "mix"}, {DefaultValue, 0.5}},
       {NumberInput("Blend", 0.25)}},
      {"SliderControl", {{ControlName, "Gain"}, {RangeMax, 4.0}, {DefaultValue, 1.0}}, {NumberInput("Gain", 1.2)}},
      {"SliderControl", {{ControlName, "Lift"}, {RangeMin, -1.0}, {DefaultValue, 0.0}}, {NumberInput("Lift", 0.1)}},
      {"SliderControl", {{ControlName, "Gamma"}, {RangeMax, 5.0}, {DefaultValue, 1.0}}, {NumberInput("Gamma", 0.8)}},
      {"SliderControl", {{ControlName, "Saturation"}, {RangeMax, 2.0}}, {NumberInput("Saturation", 1.0)}},
      {"SliderControl",
       {{ControlName, "Blur"}, {RangeMax, 100.0}, {Integer, 1}, {Snap, 1}},
       {NumberInput("Blur Size", 12.0)}},
      {"CheckBoxControl", {{ControlName, "Invert Mask"}, {CheckBoxThreeState, 1}}, {NumberInput("Invert", 1.0)}},
      {"CheckBoxControl", {{ControlName, "Clip Black"}}, {NumberInput("Clip Black", 1.0)}},
      {"CheckBoxControl", {{ControlName, "Clip White"}}, {NumberInput("Clip White", 0.0)}},
      {"ComboControl",
       {{ControlName, "Apply Mode"}, {ComboEntry, "Normal"}, {ComboEntry, "Screen"}, {ComboEntry, "Multiply"}},
       {NumberInput("Apply Mode", 2.0)}},
      {"ComboControl",
       {{ControlName, "Filter"}, {ComboEntry, "Box"}, {ComboEntry, "Gaussian"}, {ComboEntry, "Bartlett"}},
       {NumberInput("Filter", 1.0)}},
      {"RangeControl",
       {{DisplayMin, 0.0},
        {DisplayMax, 100.0},
        {Integer, 1},
        {RangeInnerLow, 8.0},
        {RangeInnerHigh, 8.0},
        {RangeTextFlags, 5}},
       {NumberInput("Start", 20.0, 0), NumberInput("End", 60.0, 1)}},
      {"ScrewControl",
       {{ControlName, "Angle"},
        {RangeMin, 0.0},
        {RangeMax, 360.0},
        {StepCount, 361},
        {ScrewDivisions, 16},
        {Decimals, 1}},
       {NumberInput("Angle", 30.0)}},
      {"ColourControl",
       {{ControlName, "Tint"}},
       {NumberInput("Tint Red", 0.2, 0, group), NumberInput("Tint Green", 0.45, 1, group),
        NumberInput("Tint Blue", 0.8, 2, group), NumberInput("Tint Alpha", 1.0, 3, group)},
       true},
      {"ButtonControl", {{ControlName, "Reset Pulse"}}, {NumberInput("Pulse", 0.0)}},
      {"ButtonControl", {{ControlName, "Set Key"}}, {NumberInput("Key", 0.0)}},
      {"OffsetControl", {{ControlName, "Center"}, {Decimals, 3}}, {PointInput("Center", 0.5f, 0.5f)}},
      {"TextEditControl",
       {{ControlName, "Caption"}, {TextEditLines, 5}},
       {TextInput("Caption", "Shot 42, take 3\r\nGraded warm for the dusk plates\r\nReviewed 12/03, ")}},
      {"FileControl",
       {{ControlName, "Texture"}, {FileFilter, "Textures (*.tif;*.exr)|*.tif;*.exr|All Files (*.*)|*.*||"}},
       {TextInput("Texture", "/shots/plate/grain.tif")}},
      {"SliderControl", {{ControlName, "Softness"}, {DefaultValue, 0.0}}, {NumberInput("Softness", 0.3)}},
  };
  return panel;
}

// A fresh session with the tool "Grade" and the inputs of every control.
struct Prepared {
  Prepared() : session(qzh::Session::DefaultPanelWidth, PanelHeight) {
    Operator* tool = session.AddTool("Grade");
    for (const ControlSpec& control : PanelOfTwenty()) {
      std::vector<Input*>& made = inputs.emplace_back();
      for (const InputSpec& spec : control.Inputs) {
        Parameter* value = spec.Text             ? static_cast<Parameter*>(new Text(spec.Text))
                           : spec.PointX >= 0.0f ? static_cast<Parameter*>(new Point(spec.PointX, spec.PointY))
                                                 : static_cast<Parameter*>(new Number(spec.Value));
        made.push_back(session.AddInput(tool, spec.Name, value, spec.PanelIndex, spec.Attributes));
      }
    }
  }
  qzh::Session session;
  std::vector<std::vector<Input*>> inputs;
};

// The open itself: every control made, opened and connected, then the pump
// that paints the panel. Kept out of line so that a profile counts it by its
// calls. False when a control does not open.
[[gnu::noinline]] bool OpenPanel(Prepared& prepared) {
  qzh::Session& session = prepared.session;
  const std::vector<ControlSpec>& panel = PanelOfTwenty();
  bool opened = true;
  session.OpenPanel([&] {
    for (size_t i = 0; i < panel.size(); ++i) {
      const ControlSpec& spec = panel[i];
      InputControl* control =
          spec.ConnectFirst ? session.AddConnectedPanelControl(spec.ClassName, spec.Attributes, prepared.inputs[i])
                            : session.AddPanelControl(spec.ClassName, spec.Attributes, prepared.inputs[i]);
      opened = opened && control;
    }
  });
  session.Pump();
  return opened;
}

// The opens the loop times, apart from the one that counts paints, so that a
// profile can tell them from it.
[[gnu::noinline]] bool TimedOpen(Prepared& prepared) {
  return OpenPanel(prepared);
}

// The platform's paints of one open, and the paints with a DC a control sent.
void CountPaints(benchmark::State& state) {
  Prepared prepared;
  qz::StartRecording();
  OpenPanel(prepared);
  long paints = 0;
  long snapshots = 0;
  for (const qz::RecordedMessage& message : qz::StopRecording()) {
    if (message.message != WM_PAINT) continue;
    ++(message.wParam ? snapshots : paints);
  }
  state.counters["paints_per_open"] = static_cast<double>(paints);
  state.counters["snapshot_paints"] = static_cast<double>(snapshots);
}

void BM_PanelOpenAndFirstPaint(benchmark::State& state) {
  if (!qzb::ModuleReady(state)) return;
  // Also the warm-up: the first open loads the controls' pictures, which
  // later opens find loaded.
  CountPaints(state);
  long opens = 0;
  long allocations = 0;
  uint64_t ran = 0;
  qzb::InstructionCounter instructions;
  for (auto _ : state) {
    state.PauseTiming();
    auto prepared = std::make_unique<Prepared>();
    const long before = qzh::AllocationCount().load();
    state.ResumeTiming();
    instructions.Start();
    const bool opened = TimedOpen(*prepared);
    ran += instructions.Stop();
    state.PauseTiming();
    allocations += qzh::AllocationCount().load() - before;
    ++opens;
    prepared.reset();
    state.ResumeTiming();
    if (!opened) {
      state.SkipWithError("a control of the panel did not open");
      return;
    }
  }
  state.counters["allocations_per_open"] = opens ? static_cast<double>(allocations) / opens : 0.0;
  instructions.Report(state, "instructions_per_open", ran, opens);
}
BENCHMARK(BM_PanelOpenAndFirstPaint);

}  // namespace

BENCHMARK_MAIN();
