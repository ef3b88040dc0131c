#include "viewer/point_control.h"

#include <array>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while the handle is being dragged.
constexpr uint32_t DraggingHandle = 2;
// The square's corners lie this many pixels from the point on each axis.
constexpr int HandleHalfSize = 2;

// The unbroken rubber-band pen has no pattern to start again on each side,
// so its outline goes in one Polyline; the line then leaves the current
// position where the side-by-side drawing leaves it.
void DrawHandle(HDC hdc, int x, int y, int referenceX, int referenceY, bool solidPen) {
  if (solidPen) {
    const std::array<POINT, 5> corners = SquareOutline(x, y, HandleHalfSize);
    Polyline(hdc, corners.data(), static_cast<int>(corners.size()));
  } else {
    DrawSquareOutline(hdc, x, y, HandleHalfSize);
  }
  DrawSegment(hdc, x, y, referenceX, referenceY);
}

}  // namespace

const Registration PointControlRegistration{"PointControl", CreatorAddress(&NewPointControl), MakeID("PntC"),
                                            ViewerControlType};

PreviewControl* NewPointControl() {
  return Create<PointControl, PreviewControl>();
}

PointControl::PointControl() {
  ID = MakeID("PntC");
}

PointControl::~PointControl() {
  UnfollowInput(*this, ReferenceInput);
}

uint32_t PointControl::SetAttrsTagList(TagList& tags) {
  FollowInput(*this, ReferenceInput, InputAttribute(tags, tag::ReferenceInput, ReferenceInput));
  UpdateDisplay(nullptr);
  return PreviewControl::SetAttrsTagList(tags);
}

// Forgetting the reference input also leaves its control list: the input
// must not keep a pointer to this control once it no longer knows it.
uint32_t PointControl::RemoveInput(Input* input) {
  if (input && input == ReferenceInput) UnfollowInput(*this, ReferenceInput);
  return PreviewControl::RemoveInput(input);
}

void PointControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value || value->ID != Point::ClassID) return;
  const auto* point = static_cast<const Point*>(value);
  const double x = point->X;
  const double y = point->Y;
  const bool fromReference = input && input == ReferenceInput;
  double& storedX = fromReference ? ReferenceX : CurrentX;
  double& storedY = fromReference ? ReferenceY : CurrentY;
  if (!PositionDiffers(x, y, storedX, storedY)) return;
  storedX = x;
  storedY = y;
  PreviewControl::NotifyChanged(input, value);
}

void PointControl::UpdateDisplay(Input* input) {
  PreviewControl::UpdateDisplay(input);
}

void PointControl::OnDisconnect(Input*) {}

void PointControl::SetActive(int mode) {
  PreviewControl::SetActive(mode);
  ActivateControlsOn(ReferenceInput);
}

void PointControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (hdc && info) {
    const int ox = info->TransformXOut(static_cast<float>(DrawnX));
    const int oy = info->TransformYOut(static_cast<float>(DrawnY));
    const int nx = info->TransformXOut(static_cast<float>(CurrentX));
    const int ny = info->TransformYOut(static_cast<float>(CurrentY));
    const int orx = info->TransformXOut(static_cast<float>(DrawnReferenceX));
    const int ory = info->TransformYOut(static_cast<float>(DrawnReferenceY));
    // A drag moves the handle, seldom its reference: the same position
    // lands on the same pixel.
    const int rx = ReferenceX == DrawnReferenceX ? orx : info->TransformXOut(static_cast<float>(ReferenceX));
    const int ry = ReferenceY == DrawnReferenceY ? ory : info->TransformYOut(static_cast<float>(ReferenceY));
    DrawnX = CurrentX;
    DrawnY = CurrentY;
    DrawnReferenceX = ReferenceX;
    DrawnReferenceY = ReferenceY;
    const bool solidPen = FigurePenIsSolid(DragMode);
    DrawRubberBand(hdc, *info, DragMode, erase, [&](bool old) {
      if (old)
        DrawHandle(hdc, ox, oy, orx, ory, solidPen);
      else
        DrawHandle(hdc, nx, ny, rx, ry, solidPen);
    });
  }
  PreviewControl::DrawControls(hdc, info, erase);
}

uint32_t PointControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info && GrabsHandle(*info, DrawnX, DrawnY)) DragMode = DraggingHandle;
  return PreviewControl::ControlDown(hdc, info, point);
}

void PointControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  if (DragMode == DraggingHandle) SendPointerPosition(*this, *info, CurrentX, CurrentY);
  if (PositionDiffers(CurrentX, CurrentY, DrawnX, DrawnY)) DrawControls(hdc, info, 1);
}

void PointControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  EndRubberBandDrag(*this, hdc, info, point);
}

void PointControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  PositionHandleCommand(*this, hdc, info, command, data, CurrentX, CurrentY, DrawnX, DrawnY);
}

}  // namespace qzc
