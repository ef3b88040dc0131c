// One drag step of a point handle on a full-HD viewer: the move reaches the
// control, which sends the new Point through SetInputs, is told of it
// (NotifyChanged) and redraws its rubber band with XOR. Reports the time and
// the allocations per move.
#include <benchmark/benchmark.h>

#include <atomic>
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

// A document with one point input, a full-HD viewer zoomed to fill it, and
// a press on the handle in progress.
struct DragScene {
  DragScene() {
    qz::ResetPlatform();
    app = std::make_unique<CWinApp>("bench");
    tool = new Operator("Bench");
    doc.AddTool(tool);
    input = tool->AddInput("Position");
    AutoParameter start(new Point(0.5f, 0.5f));
    input->SetValue(start, 0.0, 1);
    viewer = std::make_unique<qzh::Viewer>(doc, ViewerWidth, ViewerHeight, POINT{0, 0});
    viewer->SetZoom(4.5f);
    control = viewer->AddViewerControl("PointControl", {input});
    qz::Pump();
    centre = viewer->PixelOf(0.5, 0.5);
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONDOWN, centre.x, centre.y);
    qz::Pump();
  }
  ~DragScene() {
    qz::InjectMouseAt(viewer->Window(), WM_LBUTTONUP, centre.x, centre.y);
    qz::Pump();
    viewer.reset();
    app.reset();
    qz::ResetPlatform();
  }
  // Every move lands on another pixel, so each one sends a value and draws.
  POINT Step(long i) const {
    return POINT{centre.x + static_cast<int>(i % 200) - 100, centre.y + static_cast<int>(i % 7)};
  }

  std::unique_ptr<CWinApp> app;
  CPipelineDoc doc;
  Operator* tool = nullptr;
  Input* input = nullptr;
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
void BM_PointDragMove(benchmark::State& state) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene;
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
BENCHMARK(BM_PointDragMove);

// The host's path: a WM_MOUSEMOVE sent to the viewer window.
void BM_PointDragMoveMessage(benchmark::State& state) {
  if (!LoadedModule().Loaded()) {
    state.SkipWithError("cannot load the controls module");
    return;
  }
  DragScene scene;
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
BENCHMARK(BM_PointDragMoveMessage);

}  // namespace

BENCHMARK_MAIN();
