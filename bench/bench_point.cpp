// One drag step of a viewer handle on a full-HD viewer: the move reaches the
// control, which sends its new value through SetInputs (a Point; an angle;
// an x and a y offset), is told of it (NotifyChanged) and redraws its rubber
// band with XOR. Reports the time and the allocations per move.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "afxwin.h"
#include "harness/module.h"
#include "harness/viewer.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/operator.h"

#include "harness/counting_allocator.h"

namespace {

constexpr int ViewerWidth = 1920;
constexpr int ViewerHeight = 1080;
// The angle handle is dragged round the centre on this circle, in steps of
// 360 / TurnSteps degrees.
constexpr int TurnRadius = 300;
constexpr int TurnSteps = 512;

enum class Handle { Point, Angle, XYOffset };

// A document with the handle's inputs, a full-HD viewer zoomed to fill it,
// and a press on the handle in progress.
struct DragScene {
  explicit DragScene(Handle dragged) : handle(dragged) {
    qz::ResetPlatform();
    app = std::make_unique<CWinApp>("bench");
    tool = new Operator("Bench");
    doc.AddTool(tool);
    viewer = std::make_unique<qzh::Viewer>(doc, ViewerWidth, ViewerHeight, POINT{0, 0});
    viewer->SetZoom(4.5f);
    centre = viewer->PixelOf(0.5, 0.5);
    POINT press = centre;
    switch (handle) {
      case Handle::Point:
        control = viewer->AddViewerControl("PointControl", {AddInput("Position", new Point(0.5f, 0.5f), 0)});
        break;
      case Handle::Angle:
        // At 0 degrees, the default length of 0.1 to the right of the centre.
        control = viewer->AddViewerControl("AngleControl", {AddInput("Angle", new Number(0.0), 0)});
        press = viewer->PixelOf(0.6, 0.5);
        break;
      case Handle::XYOffset:
        control = viewer->AddViewerControl(
            "XYOffsetControl", {AddInput("Offset X", new Number(0.0), 0), AddInput("Offset Y", new Number(0.0), 1)});
        break;
    }
    qz::Pump();
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONDOWN, press.x, press.y);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONUP, centre.x, centre.y);
    qz::Pump();
    viewer.reset();
    app.reset();
    qz::ResetPlatform();
  }
  // An input holding `value` (taken over), under `viewerIndex`.
  Input* AddInput(const char* name, Parameter* value, int viewerIndex) {
    Input* input = tool->AddInput(name);
    input->Attrs.Set(ViewerIndexTag, viewerIndex);
    input->SetValue(value, 0.0, 1);
    value->Recycle();
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
    return POINT{centre.x + static_cast<int>(i % 200) - 100, centre.y + static_cast<int>(i % 7)};
  }

  Handle handle;
  std::unique_ptr<CWinApp> app;
  CPipelineDoc doc;
  Operator* tool = nullptr;
  std::unique_ptr<qzh::Viewer> viewer;
  PreviewControl* control = nullptr;
  POINT centre{};
};

qzh::Module& LoadedModule() {
  static qzh::Module module;
  if (!module.Loaded()) module.Load();
  return module;
}

// The control's own path: ControlMove with the viewer's drag DC.
void ControlMoves(benchmark::State& state, Handle handle) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(handle);
  PreviewInfo& info = scene.viewer->Info();
  HDC dc = scene.viewer->DragDC();
  long i = 0;
  const long before = qzh::AllocationCount().load();
  for (auto _ : state) {
    const POINT p = scene.Step(++i);
    info.SetMouse(p.x, p.y);
    scene.control->ControlMove(dc, &info, CPoint(p));
  }
  state.counters["allocs_per_move"] = benchmark::Counter(static_cast<double>(qzh::AllocationCount().load() - before),
                                                         benchmark::Counter::kAvgIterations);
}

// The host's path: a WM_MOUSEMOVE sent to the viewer window.
void MessageMoves(benchmark::State& state, Handle handle) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene(handle);
  HWND hwnd = scene.viewer->Window();
  long i = 0;
  const long before = qzh::AllocationCount().load();
  for (auto _ : state) {
    const POINT p = scene.Step(++i);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
  state.counters["allocs_per_move"] = benchmark::Counter(static_cast<double>(qzh::AllocationCount().load() - before),
                                                         benchmark::Counter::kAvgIterations);
}

void BM_PointDragMove(benchmark::State& state) {
  ControlMoves(state, Handle::Point);
}
BENCHMARK(BM_PointDragMove);
void BM_PointDragMoveMessage(benchmark::State& state) {
  MessageMoves(state, Handle::Point);
}
BENCHMARK(BM_PointDragMoveMessage);

void BM_AngleDragMove(benchmark::State& state) {
  ControlMoves(state, Handle::Angle);
}
BENCHMARK(BM_AngleDragMove);
void BM_AngleDragMoveMessage(benchmark::State& state) {
  MessageMoves(state, Handle::Angle);
}
BENCHMARK(BM_AngleDragMoveMessage);

void BM_XYOffsetDragMove(benchmark::State& state) {
  ControlMoves(state, Handle::XYOffset);
}
BENCHMARK(BM_XYOffsetDragMove);
void BM_XYOffsetDragMoveMessage(benchmark::State& state) {
  MessageMoves(state, Handle::XYOffset);
}
BENCHMARK(BM_XYOffsetDragMoveMessage);

}  // namespace

BENCHMARK_MAIN();
