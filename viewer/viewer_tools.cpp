#include "viewer/viewer_tools.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <new>

#include "frame/tags.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/prefs.h"

namespace qzc {

int GrabTolerance() {
  return static_cast<int>(GetPrefLong(tag::PrefGrabTolerance));
}

// A pointer that is no position (a view so far zoomed that it maps to NaN
// or an infinity) grabs nothing: its pixel would be the clamp limit, which
// a handle far outside the view shares.
bool GrabsHandle(const PreviewInfo& info, double x, double y) {
  if (!std::isfinite(info.MouseX) || !std::isfinite(info.MouseY)) return false;
  const int tolerance = GrabTolerance();
  const int dx = info.TransformXOut(static_cast<float>(x)) - info.TransformXOut(info.MouseX);
  if (std::abs(dx) >= tolerance) return false;
  const int dy = info.TransformYOut(static_cast<float>(y)) - info.TransformYOut(info.MouseY);
  return std::abs(dy) < tolerance;
}

float ModifiedStep(float step) {
  // The high bit of the key state (a negative value) means held now.
  if (GetAsyncKeyState(VK_SHIFT) < 0) step *= 10.0f;
  if (GetAsyncKeyState(VK_CONTROL) < 0) step *= 0.1f;
  return step;
}

float PixelStep(const PreviewInfo& info) {
  const float pixel = 1.0f / static_cast<float>(info.PixelWidth > 0 ? info.PixelWidth : 1);
  return ModifiedStep(pixel);
}

bool ArrowMove(uintptr_t key, float step, double* dx, double* dy) {
  *dx = 0.0;
  *dy = 0.0;
  switch (key) {
    case VK_LEFT:
      *dx = -step;
      return true;
    case VK_UP:
      *dy = -step;
      return true;
    case VK_RIGHT:
      *dx = step;
      return true;
    case VK_DOWN:
      *dy = step;
      return true;
    default:
      return false;
  }
}

bool SelectFigurePen(HDC hdc, const PreviewInfo& info, uint32_t dragMode) {
  if (dragMode != 0) {
    SetROP2(hdc, R2_XORPEN);
    SelectObject(hdc, GetStockObject(WHITE_PEN));
    return true;
  }
  SetROP2(hdc, R2_COPYPEN);
  SelectObject(hdc, info.ControlPen);
  return false;
}

void DrawSquareOutline(HDC hdc, int x, int y, int half) {
  const std::array<POINT, 5> corners = SquareOutline(x, y, half);
  MoveToEx(hdc, corners[0].x, corners[0].y, nullptr);
  for (size_t i = 1; i < corners.size(); ++i) LineTo(hdc, corners[i].x, corners[i].y);
}

void DrawSegment(HDC hdc, int x0, int y0, int x1, int y1) {
  MoveToEx(hdc, x0, y0, nullptr);
  LineTo(hdc, x1, y1);
}

double CurrentTime(const PreviewControl& control) {
  return control.Doc ? control.Doc->CurrentTime : 0.0;
}

// A position a float cannot hold (a nudge from the edge of the float range,
// a pointer that is no position) is not written.
void SendPoint(PreviewControl& control, double x, double y, uint32_t index) {
  if (!(std::fabs(x) <= FLT_MAX) || !(std::fabs(y) <= FLT_MAX)) return;
  AutoParameter point(new (std::nothrow) Point(static_cast<float>(x), static_cast<float>(y)));
  if (point) control.SetInputs(point, CurrentTime(control), index);
}

// A size or angle worked out from an extreme zoom can overflow; such a
// number is never sent.
void SendNumber(PreviewControl& control, double value, uint32_t index) {
  if (!std::isfinite(value)) return;
  AutoNumber number(new (std::nothrow) Number(value));
  if (number) control.SetInputs(number, CurrentTime(control), index);
}

Input* InputAttribute(const TagList& tags, uint32_t tag, Input* current) {
  return reinterpret_cast<Input*>(tags.GetLong(tag, reinterpret_cast<intptr_t>(current)));
}

void FollowInput(PreviewControl& control, Input*& followed, Input* next) {
  if (next == followed) return;
  UnfollowInput(control, followed);
  followed = next;
  if (!next) return;
  next->Controls.Add(&control, 0, 0);
  AutoParameter value(next->GetValue(CurrentTime(control)));
  control.NotifyChanged(next, value);
}

void UnfollowInput(PreviewControl& control, Input*& followed) {
  if (followed) followed->Controls.Remove(&control);
  followed = nullptr;
}

void ActivateControlsOn(Input* input) {
  if (!input) return;
  List& controls = input->Controls;
  controls.ObtainReadLock();
  for (ListNode* node = controls.GetNext(nullptr); node; node = controls.GetNext(node)) {
    auto* control = static_cast<PreviewControl*>(node->Obj());
    if (control && !control->IsActive) control->SetActive(1);
  }
  controls.ReleaseReadLock();
}

Input* FirstInput(PreviewControl& control) {
  control.Inputs.ObtainReadLock();
  ListNode* first = control.Inputs.GetFirst();
  Input* input = first ? static_cast<Input*>(first->Obj()) : nullptr;
  control.Inputs.ReleaseReadLock();
  return input;
}

Input* InputWithIndex(PreviewControl& control, uint32_t index) {
  Input* found = nullptr;
  control.Inputs.ObtainReadLock();
  for (ListNode* node = control.Inputs.GetNext(nullptr); node && !found; node = control.Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (static_cast<uint32_t>(input->GetAttr(tag::ViewerIndex)) == index) found = input;
  }
  control.Inputs.ReleaseReadLock();
  return found;
}

bool AnswerInputAt(void* data, Input* input) {
  if (!data || !input) return false;
  *static_cast<Input**>(data) = input;
  return true;
}

void SendPointerPosition(PreviewControl& control, const PreviewInfo& info, double x, double y) {
  const double mouseX = info.MouseX;
  const double mouseY = info.MouseY;
  if (PositionDiffers(mouseX, mouseY, x, y)) SendPoint(control, mouseX, mouseY);
}

void NudgePosition(PreviewControl& control, const PreviewInfo& info, uintptr_t key, double x, double y) {
  double dx, dy;
  if (ArrowMove(key, PixelStep(info), &dx, &dy)) SendPoint(control, x + dx, y + dy);
}

void PositionHandleCommand(PreviewControl& control, HDC hdc, PreviewInfo* info, uint32_t command, void* data, double x,
                           double y, double drawnX, double drawnY) {
  switch (command) {
    case PreviewCommandKey:
      if (info) NudgePosition(control, *info, reinterpret_cast<uintptr_t>(data), x, y);
      break;
    case PreviewCommandInputAt:
      if (info && GrabsHandle(*info, drawnX, drawnY) && AnswerInputAt(data, FirstInput(control))) return;
      break;
    default:
      break;
  }
  control.PreviewControl::ControlCommand(hdc, info, command, data);
}

void EndRubberBandDrag(PreviewControl& control, HDC hdc, PreviewInfo* info, CPoint point) {
  control.DrawControls(hdc, info, 1);
  control.PreviewControl::ControlUp(hdc, info, point);
  control.DrawControls(hdc, info, 1);
}

HPEN CreateFigurePen(HDC hdc, const PreviewInfo& info, uint32_t dragMode, int style) {
  const bool rubberBand = dragMode != 0;
  SetROP2(hdc, rubberBand ? R2_XORPEN : R2_COPYPEN);
  const COLORREF colour = rubberBand ? RGB(255, 255, 255) : info.ControlColour;
  HPEN pen = CreatePen(style, 1, colour);
  return pen ? pen : CreatePen(PS_SOLID, 1, colour);
}

}  // namespace qzc
