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
  MoveToEx(hdc, x - half, y - half, nullptr);
  LineTo(hdc, x + half, y - half);
  LineTo(hdc, x + half, y + half);
  LineTo(hdc, x - half, y + half);
  LineTo(hdc, x - half, y - half);
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

void SendNumber(PreviewControl& control, double value, uint32_t index) {
  AutoNumber number(new (std::nothrow) Number(value));
  if (number) control.SetInputs(number, CurrentTime(control), index);
}

}  // namespace qzc
