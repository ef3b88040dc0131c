#include "viewer/circle_control.h"

#include <cmath>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while the ring is being dragged.
constexpr uint32_t DraggingRing = 2;

// The circle of diameter `size` (in image widths, so round on the viewer)
// around (x, y). Ellipse leaves out the right and bottom edge of its box, so
// the box reaches one pixel beyond the transformed edge.
void DrawCircle(HDC hdc, const PreviewInfo& info, float x, float y, float size) {
  const float halfX = info.AspectScaleXOut(size) * 0.5f;
  const float halfY = info.AspectScaleYOut(size) * 0.5f;
  Ellipse(hdc, info.TransformXOut(x - halfX), info.TransformYOut(y - halfY), info.TransformXOut(x + halfX) + 1,
          info.TransformYOut(y + halfY) + 1);
}

bool Finite(double x, double y) {
  return std::isfinite(x) && std::isfinite(y);
}

}  // namespace

const Registration CircleControlRegistration{"CircleControl", CreatorAddress(&NewCircleControl), MakeID("CirC"),
                                             ViewerControlType};

PreviewControl* NewCircleControl() {
  return Create<CircleControl, PreviewControl>();
}

CircleControl::CircleControl() {
  ID = MakeID("CirC");
}

CircleControl::~CircleControl() {
  UnfollowInput(*this, CentreInput);
}

// A fixed centre that is not a finite position is not taken.
uint32_t CircleControl::SetAttrsTagList(TagList& tags) {
  FollowInput(*this, CentreInput, InputAttribute(tags, tag::CircleCentreInput, CentreInput));
  if (!CentreInput) {
    const double x = tags.GetDouble(tag::CircleCentreX, CentreX);
    const double y = tags.GetDouble(tag::CircleCentreY, CentreY);
    if (Finite(x, y) && PositionDiffers(x, y, CentreX, CentreY)) {
      CentreX = static_cast<float>(x);
      CentreY = static_cast<float>(y);
      UpdateDisplay(nullptr);
    }
  }
  return PreviewControl::SetAttrsTagList(tags);
}

// Forgetting the centre input also leaves its control list; the circle
// stays at the last centre.
uint32_t CircleControl::RemoveInput(Input* input) {
  if (input && input == CentreInput) UnfollowInput(*this, CentreInput);
  return PreviewControl::RemoveInput(input);
}

// Values of the wrong kind, and positions and sizes that cannot be drawn
// (NaN, infinite), change nothing.
void CircleControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) return;
  if (input && input == CentreInput) {
    if (value->ID != Point::ClassID) return;
    const auto* point = static_cast<const Point*>(value);
    if (!Finite(point->X, point->Y) || !PositionDiffers(point->X, point->Y, CentreX, CentreY)) return;
    CentreX = point->X;
    CentreY = point->Y;
  } else {
    if (value->ID != Number::ClassID) return;
    const double size = static_cast<const Number*>(value)->Value;
    if (!std::isfinite(size) || !Differs(size, Size)) return;
    Size = static_cast<float>(size);
  }
  PreviewControl::NotifyChanged(input, value);
}

// The hollow brush and the pen stay selected.
void CircleControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (!hdc || !info) return;
  SelectObject(hdc, GetStockObject(NULL_BRUSH));
  DrawRubberBand(hdc, *info, DragMode, erase, [&](bool old) {
    if (old)
      DrawCircle(hdc, *info, DrawnCentreX, DrawnCentreY, DrawnSize);
    else
      DrawCircle(hdc, *info, CentreX, CentreY, Size);
  });
  DrawnCentreX = CentreX;
  DrawnCentreY = CentreY;
  DrawnSize = Size;
}

// Only the ring is a handle: the pointer's distance from the centre, in
// viewer pixels, within the grab tolerance of the radius on either side.
bool CircleControl::RingHit(const PreviewInfo& info) const {
  const double x = (static_cast<double>(info.MouseX) - CentreX) * info.ImageWidth;
  const double y = (static_cast<double>(info.MouseY) - CentreY) * info.ImageHeight;
  const double radius = static_cast<double>(Size) * info.ImageWidth * 0.5;
  return std::fabs(std::sqrt(x * x + y * y) - radius) <= GrabTolerance();
}

uint32_t CircleControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info && RingHit(*info)) DragMode = DraggingRing;
  return PreviewControl::ControlDown(hdc, info, point);
}

// The new diameter is twice the pointer's aspect-corrected distance from the
// centre, so the ring passes under the pointer.
void CircleControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  if (DragMode == DraggingRing) {
    const float x = info->AspectScaleXIn(info->MouseX - CentreX);
    const float y = info->AspectScaleYIn(info->MouseY - CentreY);
    const float size = 2.0f * std::sqrt(x * x + y * y);
    if (Differs(size, Size)) SendNumber(*this, size, 0);
  }
  DrawControls(hdc, info, 1);
}

void CircleControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  EndRubberBandDrag(*this, hdc, info, point);
}

void CircleControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  if (command == PreviewCommandInputAt && info && RingHit(*info) && AnswerInputAt(data, FirstInput(*this))) return;
  PreviewControl::ControlCommand(hdc, info, command, data);
}

}  // namespace qzc
