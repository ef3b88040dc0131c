// One drag step of each viewer handle on a full-HD viewer: the move reaches
// the control, which sends its new value through SetInputs (a Point; an
// angle; an x and a y offset; a size), is told of it (NotifyChanged) and
// redraws its rubber band with XOR. Reports the time and the allocations per
// move.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "afxwin.h"
#include "frame/tags.h"
#include "harness/module.h"
#include "harness/viewer.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/operator.h"

#include "bench/instructions.h"
#include "harness/counting_allocator.h"

namespace {

constexpr int ViewerWidth = 1920;
constexpr int ViewerHeight = 1080;
constexpr float Zoom = 4.5f;  // the 320-pixel sample picture fills the viewer
// The angle handle is dragged round the centre on this circle, in steps of
// 360 / TurnSteps degrees.
constexpr int TurnRadius = 300;
constexpr int TurnSteps = 512;

// Which handle a scene drags, and where it is pressed.
enum class Handle { Point, Angle, XYOffset, Crosshair, Circle, Rectangle };

// A document with the handle's inputs, a full-HD viewer zoomed to fill it,
// and a press on the handle in progress.
struct DragScene {
  explicit DragScene(Handle dragged) : handle(dragged) {
    qz::ResetPlatform();
    app = std::make_unique<CWinApp>("bench");
    tool = new Operator("Bench");
    doc.AddTool(tool);
    viewer = std::make_unique<qzh::Viewer>(doc, ViewerWidth, ViewerHeight, POINT{0, 0});
    viewer->SetZoom(Zoom);
    centre = viewer->PixelOf(0.5, 0.5);
    // Sizes of 0.25 image widths (and heights) put the ring and the right
    // edge a quarter of the shown width from the centre.
    const int quarter = static_cast<int>(viewer->Info().ImageWidth * 0.25f);
    press = centre;
    switch (handle) {
      case Handle::Point:
        control = viewer->AddViewerControl("PointControl", {AddInput("Position", new Point(0.5f, 0.5f))});
        break;
      case Handle::Angle:
        // At 0 degrees, the default length of 0.1 to the right of the centre.
        control = viewer->AddViewerControl("AngleControl", {AddInput("Angle", new Number(0.0))});
        press = viewer->PixelOf(0.6, 0.5);
        break;
      case Handle::XYOffset:
        control = viewer->AddViewerControl(
            "XYOffsetControl", {AddInput("Offset X", new Number(0.0), 0), AddInput("Offset Y", new Number(0.0), 1)});
        break;
      case Handle::Crosshair:
        control = viewer->AddViewerControl("CrosshairControl", {AddInput("Position", new Point(0.5f, 0.5f))},
                                           TagList{{qzc::tag::MarkerShape, 0}});
        break;
      case Handle::Circle:
        control = viewer->AddViewerControl("CircleControl", {AddInput("Size", new Number(0.5))});
        press.x += quarter;
        break;
      case Handle::Rectangle:
        control = viewer->AddViewerControl(
            "RectangleControl", {AddInput("Width", new Number(0.5), 0), AddInput("Height", new Number(0.5), 1)},
            TagList{{qzc::tag::RectangleAngle, 20.0}, {qzc::tag::RectanglePenStyle, PS_DOT}});
        press = viewer->PixelOf(0.5 + 0.25 * 0.9396926, 0.5 - 0.25 * 0.3420201 * 320 / 240);
        break;
    }
    qz::Pump();
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONDOWN, press.x, press.y);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONUP, press.x, press.y);
    qz::Pump();
    viewer.reset();
    app.reset();
    qz::ResetPlatform();
  }
  // An input holding `value` (taken over), under `viewerIndex`.
  Input* AddInput(const char* name, Parameter* value, int viewerIndex = 0) {
    Input* input = tool->AddInput(name);
    TagList attributes{{ViewerIndexTag, static_cast<intptr_t>(viewerIndex)}};
    input->SetAttrsTagList(attributes);
    AutoParameter held(value);
    input->SetValue(value, 0.0, 1);
    return input;
  }
  // Every move lands on another pixel (for the angle, in another
  // direction), so each one sends a value and draws.
  POINT Step(long i) const {
    if (handle == Handle::Angle) {
      const double turn = 2.0 * M_PI * static_cast<double>(i % TurnSteps) / TurnSteps;
      return POINT{centre.x + static_cast<int>(std::lround(TurnRadius * std::cos(turn))),
                   centre.y - static_cast<int>(std::lround(TurnRadius * std::sin(turn)))};
    }
    return POINT{press.x + static_cast<int>(i % 200) - 100, press.y + static_cast<int>(i % 7)};
  }

  Handle handle;
  std::unique_ptr<CWinApp> app;
  CPipelineDoc doc;
  Operator* tool = nullptr;
  std::unique_ptr<qzh::Viewer> viewer;
  PreviewControl* control = nullptr;
  POINT centre{};
  POINT press{};
};

qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load();
  return module;
}

// The control's own path: ControlMove with the viewer's drag DC.
void BM_DragMove(benchmark::State& state, Handle handle) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(handle);
  if (!scene.control || scene.control->DragMode == 0) {
    state.SkipWithError("the press did not grab the handle");
    return;
  }
  PreviewInfo& info = scene.viewer->Info();
  HDC dc = scene.viewer->DragDC();
  long i = 0;
  qzb::InstructionCounter instructions;
  const long before = qzh::AllocationCount().load();
  instructions.Start();
  for (auto _ : state) {
    const POINT p = scene.Step(++i);
    info.SetMouse(p.x, p.y);
    scene.control->ControlMove(dc, &info, CPoint(p));
  }
  const uint64_t ran = instructions.Stop();
  state.counters["allocs_per_move"] = benchmark::Counter(static_cast<double>(qzh::AllocationCount().load() - before),
                                                         benchmark::Counter::kAvgIterations);
  instructions.Report(state, "instructions_per_move", ran, i);
}
BENCHMARK_CAPTURE(BM_DragMove, Point, Handle::Point);
BENCHMARK_CAPTURE(BM_DragMove, Angle, Handle::Angle);
BENCHMARK_CAPTURE(BM_DragMove, XYOffset, Handle::XYOffset);
BENCHMARK_CAPTURE(BM_DragMove, Crosshair, Handle::Crosshair);
BENCHMARK_CAPTURE(BM_DragMove, Circle, Handle::Circle);
BENCHMARK_CAPTURE(BM_DragMove, Rectangle, Handle::Rectangle);

// The host's path: a WM_MOUSEMOVE sent to the viewer window.
void BM_DragMoveMessage(benchmark::State& state, Handle handle) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(handle);
  HWND hwnd = scene.viewer->Window();
  long i = 0;
  qzb::InstructionCounter instructions;
  const long before = qzh::AllocationCount().load();
  instructions.Start();
  for (auto _ : state) {
    const POINT p = scene.Step(++i);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
  const uint64_t ran = instructions.Stop();
  state.counters["allocs_per_move"] = benchmark::Counter(static_cast<double>(qzh::AllocationCount().load() - before),
                                                         benchmark::Counter::kAvgIterations);
  instructions.Report(state, "instructions_per_move", ran, i);
}
BENCHMARK_CAPTURE(BM_DragMoveMessage, Point, Handle::Point);
BENCHMARK_CAPTURE(BM_DragMoveMessage, Angle, Handle::Angle);
BENCHMARK_CAPTURE(BM_DragMoveMessage, XYOffset, Handle::XYOffset);
BENCHMARK_CAPTURE(BM_DragMoveMessage, Circle, Handle::Circle);

}  // namespace

BENCHMARK_MAIN();
