#include "harness/polyline_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "qzsystem/autoparameter.h"
#include "qzsystem/menu.h"
#include "qzsystem/parameter.h"
#include "qzsystem/prefs.h"
#include "qzsystem/previewcontrol.h"
#include "qzsystem/previewinfo.h"
#include "qzsystem/previewview.h"

namespace qzh {
namespace {

// Tips are short: the host's tip text holds at least this much.
constexpr size_t TipSize = 32;

}  // namespace

PolylineTool* PolylineTool::AddTo(CPipelineDoc& doc, const char* name,
                                  const std::vector<std::pair<float, float>>& points) {
  auto* tool = new PolylineTool(name);
  tool->StartPoints = points;
  for (size_t i = 0; i < points.size(); ++i) {
    const std::string inputName = "Point " + std::to_string(i + 1);
    auto* input = new Input(inputName.c_str());
    AutoParameter value(new Point(points[i].first, points[i].second));
    input->SetValue(value, doc.CurrentTime, 1);
    tool->Points.push_back(tool->AddInput(input));
  }
  doc.AddTool(tool);
  return tool;
}

std::pair<float, float> PolylineTool::PointAt(size_t index) const {
  if (index >= Points.size()) return {NAN, NAN};
  AutoParameter value(Points[index]->GetValue(Doc ? Doc->CurrentTime : 0.0));
  if (!value || value->ID != Point::ClassID) return {NAN, NAN};
  const auto* point = static_cast<const Point*>(value.Get());
  return {point->X, point->Y};
}

void PolylineTool::AddToMenu(QZMenu* menu, TagList&) {
  menu->AddItem(Closed ? "Open Shape" : "Close Shape", this, MenuToggleClosed);
  menu->AddItem("Reset Points", this, MenuResetPoints);
}

uint32_t PolylineTool::HandleMenu(QZMenu*, uint32_t item) {
  MenuChoices.push_back(item);
  switch (item) {
    case MenuToggleClosed:
      Closed = !Closed;
      break;
    case MenuResetPoints:
      if (Doc) Doc->StartUndo("Reset Points");
      for (size_t i = 0; i < Points.size() && i < StartPoints.size(); ++i)
        MovePoint(i, StartPoints[i].first, StartPoints[i].second);
      if (Doc) Doc->EndUndo(1);
      break;
    default:
      return 0;
  }
  RedrawOverlays();
  return 1;
}

// The overlay is drawn whole on every paint: a drag asks the viewer to
// repaint rather than rubbing out the old figure.
void PolylineTool::PreviewDraw(PreviewControl*, HDC hdc, PreviewInfo* info, uint32_t) {
  if (!hdc || !info || Points.empty()) return;
  SetROP2(hdc, R2_COPYPEN);
  SelectObject(hdc, info->ControlPen);
  std::vector<POINT> pixels;
  pixels.reserve(Points.size() + 1);
  for (size_t i = 0; i < Points.size(); ++i) {
    const auto [x, y] = PointAt(i);
    if (std::isnan(x)) continue;
    pixels.push_back(POINT{info->TransformXOut(x), info->TransformYOut(y)});
  }
  if (pixels.empty()) return;
  if (Closed && pixels.size() > 2) pixels.push_back(pixels.front());
  MoveToEx(hdc, pixels.front().x, pixels.front().y, nullptr);
  for (size_t i = 1; i < pixels.size(); ++i) LineTo(hdc, pixels[i].x, pixels[i].y);
  HBRUSH fill = CreateSolidBrush(info->ControlColour);
  for (size_t i = 0; i < Points.size() && i < pixels.size(); ++i) {
    const RECT square{pixels[i].x - PointHalfSize, pixels[i].y - PointHalfSize, pixels[i].x + PointHalfSize + 1,
                      pixels[i].y + PointHalfSize + 1};
    if (fill && static_cast<int>(i) == Grabbed)
      FillRect(hdc, &square, fill);
    else
      FrameRect(hdc, &square, fill);
  }
  if (fill) DeleteObject(fill);
}

int PolylineTool::PointUnderPointer(const PreviewInfo& info) const {
  const intptr_t tolerance = GetPrefLong(PrefGrabTolerance);
  const int mx = info.TransformXOut(info.MouseX);
  const int my = info.TransformYOut(info.MouseY);
  for (size_t i = 0; i < Points.size(); ++i) {
    const auto [x, y] = PointAt(i);
    if (std::isnan(x)) continue;
    if (std::abs(info.TransformXOut(x) - mx) < tolerance && std::abs(info.TransformYOut(y) - my) < tolerance)
      return static_cast<int>(i);
  }
  return -1;
}

uint32_t PolylineTool::PreviewDown(PreviewControl*, HDC, PreviewInfo* info, POINT) {
  Grabbed = info ? PointUnderPointer(*info) : -1;
  if (Grabbed < 0) return 0;
  RedrawOverlays();
  return 1;
}

void PolylineTool::PreviewMove(PreviewControl* control, HDC, PreviewInfo* info, POINT) {
  if (Grabbed < 0 || !info || !control || control->DragMode == 0) return;
  MovePoint(static_cast<size_t>(Grabbed), info->MouseX, info->MouseY);
  RedrawOverlays();
}

void PolylineTool::PreviewUp(PreviewControl*, HDC, PreviewInfo*, POINT) {
  Grabbed = -1;
  RedrawOverlays();
}

void PolylineTool::PreviewCommand(PreviewControl* control, HDC, PreviewInfo* info, uint32_t command, void* data) {
  switch (command) {
    case PreviewCommandAttach:
      if (std::find(Overlays.begin(), Overlays.end(), control) == Overlays.end()) Overlays.push_back(control);
      break;
    case PreviewCommandDetach:
      std::erase(Overlays, control);
      break;
    case PreviewCommandInputAt:
      if (info && data) {
        const int index = PointUnderPointer(*info);
        if (index >= 0) *static_cast<Input**>(data) = Points[static_cast<size_t>(index)];
      }
      break;
    default:
      break;
  }
}

uint32_t PolylineTool::PreviewGetTip(PreviewControl*, HDC, PreviewInfo* info, char* text) {
  if (!info || !text) return 0;
  const int index = PointUnderPointer(*info);
  if (index < 0) return 0;
  std::snprintf(text, TipSize, "Point %d", index + 1);
  return 1;
}

void PolylineTool::PreviewDragDone() {
  ++DragsDone;
}

void PolylineTool::MovePoint(size_t index, float x, float y) {
  AutoParameter value(new Point(x, y));
  Points[index]->SetValue(value, Doc ? Doc->CurrentTime : 0.0, 1);
}

void PolylineTool::RedrawOverlays() {
  for (PreviewControl* overlay : Overlays)
    if (overlay->View) overlay->View->RedrawControls();
}

}  // namespace qzh
