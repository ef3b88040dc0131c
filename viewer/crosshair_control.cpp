#include "viewer/crosshair_control.h"

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while the marker is being dragged.
constexpr uint32_t DraggingMarker = 2;

enum MarkerShapes : long { Plus = 0, DiagonalCross = 1, Square = 2, Dot = 3 };

// Arm lengths in pixels; LineTo leaves out its end point, so the plus
// reaches 16 pixels up and left and 15 down and right, and each diagonal
// paints the 23 pixels from -11 to +11.
constexpr int PlusArm = 16;
constexpr int CrossArm = 11;
constexpr int SquareHalfSize = 2;
constexpr int DotRadius = 3;

// The dot is filled with whatever brush the device context holds.
void DrawMarker(HDC hdc, long shape, int x, int y) {
  switch (shape) {
    case Plus:
      DrawSegment(hdc, x, y - PlusArm, x, y + PlusArm);
      DrawSegment(hdc, x - PlusArm, y, x + PlusArm, y);
      break;
    case DiagonalCross:
      DrawSegment(hdc, x - CrossArm, y - CrossArm, x + CrossArm + 1, y + CrossArm + 1);
      DrawSegment(hdc, x - CrossArm, y + CrossArm, x + CrossArm + 1, y - CrossArm - 1);
      break;
    case Square:
      DrawSquareOutline(hdc, x, y, SquareHalfSize);
      break;
    case Dot:
      Ellipse(hdc, x - DotRadius, y - DotRadius, x + DotRadius, y + DotRadius);
      break;
    default:
      break;
  }
}

}  // namespace

const Registration CrosshairControlRegistration{"CrosshairControl", CreatorAddress(&NewCrosshairControl),
                                                MakeID("XHrC"), ViewerControlType};

PreviewControl* NewCrosshairControl() {
  return Create<CrosshairControl, PreviewControl>();
}

CrosshairControl::CrosshairControl() {
  ID = MakeID("XHrC");
}

CrosshairControl::~CrosshairControl() = default;

uint32_t CrosshairControl::SetAttrsTagList(TagList& tags) {
  MarkerShape = static_cast<long>(tags.GetLong(tag::MarkerShape, MarkerShape));
  UpdateDisplay(nullptr);
  return PreviewControl::SetAttrsTagList(tags);
}

// Every connected input is the edited position.
void CrosshairControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value || value->ID != Point::ClassID) return;
  const auto* point = static_cast<const Point*>(value);
  const double x = point->X;
  const double y = point->Y;
  if (!PositionDiffers(x, y, CurrentX, CurrentY)) return;
  CurrentX = x;
  CurrentY = y;
  PreviewControl::NotifyChanged(input, value);
}

void CrosshairControl::UpdateDisplay(Input* input) {
  PreviewControl::UpdateDisplay(input);
}

void CrosshairControl::OnDisconnect(Input*) {}

// A move within one device pixel while dragging leaves the rubber band as it
// stands: it is already drawn there, and drawing it once more in XOR would
// rub it out and leave the next erase drawing a stray marker instead.
void CrosshairControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (hdc && info) {
    const int ox = info->TransformXOut(static_cast<float>(DrawnX));
    const int oy = info->TransformYOut(static_cast<float>(DrawnY));
    DrawnX = CurrentX;
    DrawnY = CurrentY;
    const int nx = info->TransformXOut(static_cast<float>(CurrentX));
    const int ny = info->TransformYOut(static_cast<float>(CurrentY));
    const bool samePixel = nx == ox && ny == oy;
    if (!(DragMode != 0 && erase && samePixel)) {
      DrawRubberBand(hdc, *info, DragMode, erase, [&](bool old) {
        if (old)
          DrawMarker(hdc, MarkerShape, ox, oy);
        else
          DrawMarker(hdc, MarkerShape, nx, ny);
      });
    }
  }
  PreviewControl::DrawControls(hdc, info, erase);
}

uint32_t CrosshairControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info && GrabsHandle(*info, DrawnX, DrawnY)) DragMode = DraggingMarker;
  return PreviewControl::ControlDown(hdc, info, point);
}

void CrosshairControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  if (DragMode == DraggingMarker) SendPointerPosition(*this, *info, CurrentX, CurrentY);
  if (PositionDiffers(CurrentX, CurrentY, DrawnX, DrawnY)) DrawControls(hdc, info, 1);
}

void CrosshairControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  EndRubberBandDrag(*this, hdc, info, point);
}

void CrosshairControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  PositionHandleCommand(*this, hdc, info, command, data, CurrentX, CurrentY, DrawnX, DrawnY);
}

}  // namespace qzc
