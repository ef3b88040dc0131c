#include "viewer/xy_offset_control.h"

#include <new>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while the mark is being dragged.
constexpr uint32_t DraggingHandle = 2;
// The inputs' indexes under this control.
constexpr uint32_t XIndex = 0;
constexpr uint32_t YIndex = 1;
// The X mark's diagonals run from 5 pixels before the point to 6 after it,
// whose last pixel a line leaves out: 11 pixels each.
constexpr int MarkBefore = 5;
constexpr int MarkAfter = 6;

void DrawMark(HDC hdc, int x, int y) {
  DrawSegment(hdc, x - MarkBefore, y - MarkBefore, x + MarkAfter, y + MarkAfter);
  DrawSegment(hdc, x - MarkBefore, y + MarkBefore, x + MarkAfter, y - MarkAfter);
}

// The dotted line from the mark back to the reference, then the mark.
void DrawFigure(HDC hdc, int x, int y, int referenceX, int referenceY, HGDIOBJ solid, HGDIOBJ dotted) {
  SelectObject(hdc, dotted);
  DrawSegment(hdc, x, y, referenceX, referenceY);
  SelectObject(hdc, solid);
  DrawMark(hdc, x, y);
}

}  // namespace

const Registration XYOffsetControlRegistration{"XYOffsetControl", CreatorAddress(&NewXYOffsetControl), MakeID("XYOC"),
                                               ViewerControlType};

PreviewControl* NewXYOffsetControl() {
  return Create<XYOffsetControl, PreviewControl>();
}

XYOffsetControl::XYOffsetControl() {
  ID = MakeID("XYOC");
}

XYOffsetControl::~XYOffsetControl() {
  UnfollowInput(*this, ReferenceInput);
}

uint32_t XYOffsetControl::SetAttrsTagList(TagList& tags) {
  FollowInput(*this, ReferenceInput, InputAttribute(tags, tag::ReferenceInput, ReferenceInput));
  UpdateDisplay(nullptr);
  return PreviewControl::SetAttrsTagList(tags);
}

// Forgetting the reference input also leaves its control list: the input
// must not keep a pointer to this control once it no longer knows it.
uint32_t XYOffsetControl::RemoveInput(Input* input) {
  if (input && input == ReferenceInput) UnfollowInput(*this, ReferenceInput);
  return PreviewControl::RemoveInput(input);
}

// A notification for one coordinate keeps the other as it is.
void XYOffsetControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value || !input) return;
  if (input == ReferenceInput) {
    if (value->ID != Point::ClassID) return;
    const auto* point = static_cast<const Point*>(value);
    if (!PositionDiffers(point->X, point->Y, ReferenceX, ReferenceY)) return;
    ReferenceX = point->X;
    ReferenceY = point->Y;
  } else {
    if (value->ID != Number::ClassID) return;
    const double number = static_cast<const Number*>(value)->Value;
    const auto index = static_cast<uint32_t>(input->GetAttr(tag::ViewerIndex));
    if (index != XIndex && index != YIndex) return;
    const double x = index == XIndex ? number : OffsetX;
    const double y = index == YIndex ? number : OffsetY;
    if (!PositionDiffers(x, y, OffsetX, OffsetY)) return;
    OffsetX = x;
    OffsetY = y;
  }
  PreviewControl::NotifyChanged(input, value);
}

void XYOffsetControl::UpdateDisplay(Input* input) {
  PreviewControl::UpdateDisplay(input);
}

void XYOffsetControl::OnDisconnect(Input*) {}

void XYOffsetControl::SetActive(int mode) {
  PreviewControl::SetActive(mode);
  ActivateControlsOn(ReferenceInput);
}

// Two pens for each drawing, both deleted before it returns. Dotted lines
// leave their gaps alone, so the picture shows between the dots.
void XYOffsetControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (!hdc || !info) return;
  HPEN solid = CreateFigurePen(hdc, *info, DragMode, PS_SOLID);
  HPEN dotted = CreateFigurePen(hdc, *info, DragMode, PS_DOT);
  if (solid && dotted) {
    const int ox = info->TransformXOut(static_cast<float>(DrawnReferenceX + DrawnOffsetX));
    const int oy = info->TransformYOut(static_cast<float>(DrawnReferenceY + DrawnOffsetY));
    const int nx = info->TransformXOut(static_cast<float>(ReferenceX + OffsetX));
    const int ny = info->TransformYOut(static_cast<float>(ReferenceY + OffsetY));
    const int orx = info->TransformXOut(static_cast<float>(DrawnReferenceX));
    const int ory = info->TransformYOut(static_cast<float>(DrawnReferenceY));
    const int rx = info->TransformXOut(static_cast<float>(ReferenceX));
    const int ry = info->TransformYOut(static_cast<float>(ReferenceY));
    DrawnOffsetX = OffsetX;
    DrawnOffsetY = OffsetY;
    DrawnReferenceX = ReferenceX;
    DrawnReferenceY = ReferenceY;
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(hdc, solid);
    SelectObject(hdc, GetStockObject(NULL_BRUSH));
    if (DragMode != 0 && erase) DrawFigure(hdc, ox, oy, orx, ory, solid, dotted);
    DrawFigure(hdc, nx, ny, rx, ry, solid, dotted);
    SelectObject(hdc, previous);
  }
  if (solid) DeleteObject(solid);
  if (dotted) DeleteObject(dotted);
}

uint32_t XYOffsetControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info && HandleUnderPointer(*info)) DragMode = DraggingHandle;
  return PreviewControl::ControlDown(hdc, info, point);
}

void XYOffsetControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  const auto x = static_cast<float>(info->MouseX - ReferenceX);
  const auto y = static_cast<float>(info->MouseY - ReferenceY);
  if (DragMode == DraggingHandle && PositionDiffers(x, y, OffsetX, OffsetY)) SendOffset(x, y);
  if (PositionDiffers(OffsetX, OffsetY, DrawnOffsetX, DrawnOffsetY)) DrawControls(hdc, info, 1);
}

void XYOffsetControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  EndRubberBandDrag(*this, hdc, info, point);
}

void XYOffsetControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  switch (command) {
    case PreviewCommandKey:
      if (info) Nudge(*info, reinterpret_cast<uintptr_t>(data));
      break;
    case PreviewCommandInputAt:
      if (info && HandleUnderPointer(*info) && AnswerInputAt(data, FirstInput(*this))) return;
      break;
    default:
      break;
  }
  PreviewControl::ControlCommand(hdc, info, command, data);
}

// The mark is grabbed where it was last drawn relative to the reference.
bool XYOffsetControl::HandleUnderPointer(const PreviewInfo& info) const {
  return GrabsHandle(info, ReferenceX + DrawnOffsetX, ReferenceY + DrawnOffsetY);
}

// Both coordinates go out together, x first, or neither when one of the
// numbers cannot be made.
void XYOffsetControl::SendOffset(float x, float y) {
  AutoNumber numberX(new (std::nothrow) Number(x));
  AutoNumber numberY(new (std::nothrow) Number(y));
  if (!numberX || !numberY) return;
  const double time = CurrentTime(*this);
  SetInputs(numberX, time, XIndex);
  SetInputs(numberY, time, YIndex);
}

void XYOffsetControl::Nudge(const PreviewInfo& info, uintptr_t key) {
  double dx, dy;
  if (!ArrowMove(key, PixelStep(info), &dx, &dy)) return;
  if (dx != 0.0)
    SendNumber(*this, OffsetX + dx, XIndex);
  else
    SendNumber(*this, OffsetY + dy, YIndex);
}

}  // namespace qzc
