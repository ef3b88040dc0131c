#include "viewer/rectangle_control.h"

#include <algorithm>
#include <cmath>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while edges are being dragged.
constexpr uint32_t DraggingEdges = 2;
// The viewer indices of the two edited inputs.
constexpr uint32_t WidthIndex = 0;
constexpr uint32_t HeightIndex = 1;
constexpr double RadiansPerDegree = 0.017453292519943295;

// Where and how a rectangle is drawn.
struct Geometry {
  float CentreX, CentreY;
  float Angle;  // degrees
  float Width, Height;
};

// The outline, from corner 1 round to it again. A positive angle turns the
// rectangle counter-clockwise on the viewer (y running down); the corners
// are truncated toward zero.
void DrawOutline(HDC hdc, const PreviewInfo& info, const Geometry& g) {
  const double a = g.Angle * RadiansPerDegree;
  const float s = static_cast<float>(std::sin(a));
  const float c = static_cast<float>(std::cos(a));
  const float hw = info.ImageWidth * g.Width * 0.5f;
  const float hh = info.ImageHeight * g.Height * 0.5f;
  const float px = static_cast<float>(info.TransformXOut(g.CentreX));
  const float py = static_cast<float>(info.TransformYOut(g.CentreY));
  const POINT corners[] = {
      {static_cast<LONG>(px + hw * c + hh * s), static_cast<LONG>(py + hh * c - hw * s)},
      {static_cast<LONG>(px + hw * c - hh * s), static_cast<LONG>(py - hw * s - hh * c)},
      {static_cast<LONG>(px - hw * c - hh * s), static_cast<LONG>(py + hw * s - hh * c)},
      {static_cast<LONG>(px - hw * c + hh * s), static_cast<LONG>(py + hw * s + hh * c)},
  };
  MoveToEx(hdc, corners[0].x, corners[0].y, nullptr);
  for (int i = 1; i <= 4; ++i) LineTo(hdc, corners[i % 4].x, corners[i % 4].y);
}

bool Finite(double x, double y) {
  return std::isfinite(x) && std::isfinite(y);
}

}  // namespace

const Registration RectangleControlRegistration{"RectangleControl", CreatorAddress(&NewRectangleControl),
                                                MakeID("RecC"), ViewerControlType};

PreviewControl* NewRectangleControl() {
  return Create<RectangleControl, PreviewControl>();
}

RectangleControl::RectangleControl() {
  ID = MakeID("RecC");
}

RectangleControl::~RectangleControl() {
  UnfollowInput(*this, CentreInput);
  UnfollowInput(*this, AngleInput);
}

// The centre and angle inputs are followed (their control lists joined) so
// that the host can tell the rectangle when they go away; their values are
// read at every drawing. Fixed values that are not finite, and an aspect
// ratio that is not a positive finite number, are not taken.
uint32_t RectangleControl::SetAttrsTagList(TagList& tags) {
  FollowInput(*this, CentreInput, InputAttribute(tags, tag::RectangleCentreInput, CentreInput));
  if (!CentreInput) {
    const double x = tags.GetDouble(tag::RectangleCentreX, CentreX);
    const double y = tags.GetDouble(tag::RectangleCentreY, CentreY);
    if (Finite(x, y)) {
      CentreX = static_cast<float>(x);
      CentreY = static_cast<float>(y);
    }
  }
  PenStyle = static_cast<int>(tags.GetLong(tag::RectanglePenStyle, PenStyle));
  FollowInput(*this, AngleInput, InputAttribute(tags, tag::RectangleAngleInput, AngleInput));
  if (!AngleInput) {
    const double degrees = tags.GetDouble(tag::RectangleAngle, Angle);
    if (std::isfinite(degrees)) Angle = static_cast<float>(degrees);
  }
  if (tags.Find(tag::RectangleAspectRatio)) {
    const double ratio = tags.GetDouble(tag::RectangleAspectRatio, AspectRatio);
    if (std::isfinite(ratio) && ratio > 0.0) {
      AspectLocked = 1;
      AspectRatio = static_cast<float>(ratio);
    }
  }
  return PreviewControl::SetAttrsTagList(tags);
}

// A centre or angle input that goes away is forgotten (leaving its control
// list); the rectangle keeps the centre and angle it last drew.
uint32_t RectangleControl::RemoveInput(Input* input) {
  if (input && input == CentreInput) UnfollowInput(*this, CentreInput);
  if (input && input == AngleInput) UnfollowInput(*this, AngleInput);
  return PreviewControl::RemoveInput(input);
}

// A change of the centre or angle input only asks for a redraw. Of the
// edited inputs, the width is index 0 and the height index 1; the aspect
// lock keeps the other size at the ratio.
void RectangleControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value || !input) return;
  if (input == CentreInput || input == AngleInput) {
    PreviewControl::NotifyChanged(input, value);
    return;
  }
  if (value->ID != Number::ClassID) return;
  const double number = static_cast<const Number*>(value)->Value;
  if (!std::isfinite(number)) return;
  const float v = static_cast<float>(number);
  switch (static_cast<uint32_t>(input->GetAttr(tag::ViewerIndex))) {
    case WidthIndex:
      if (!Differs(v, Width)) return;
      Width = v;
      if (AspectLocked) Height = v / AspectRatio;
      break;
    case HeightIndex:
      if (!Differs(v, Height)) return;
      Height = v;
      if (AspectLocked) Width = AspectRatio * v;
      break;
    default:
      return;
  }
  PreviewControl::NotifyChanged(input, value);
}

// The viewer draws the rectangle again when a size changes from elsewhere
// (the base asks only while no drag is drawing it).
void RectangleControl::UpdateDisplay(Input* input) {
  PreviewControl::UpdateDisplay(input);
}

void RectangleControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (!hdc || !info) return;
  Geometry next{CentreX, CentreY, Angle, Width, Height};
  const double time = CurrentTime(*this);
  if (Parameter* value = CentreInput ? CentreInput->GetValue(time) : nullptr) {
    const auto* point = static_cast<const Point*>(value);
    if (value->ID == Point::ClassID && Finite(point->X, point->Y)) {
      next.CentreX = point->X;
      next.CentreY = point->Y;
    }
    value->Recycle();
  }
  if (Parameter* value = AngleInput ? AngleInput->GetValue(time) : nullptr) {
    const double degrees = value->ID == Number::ClassID ? static_cast<const Number*>(value)->Value : NAN;
    if (std::isfinite(degrees)) next.Angle = static_cast<float>(degrees);
    value->Recycle();
  }
  HPEN pen = CreateFigurePen(hdc, *info, DragMode, PenStyle);
  if (!pen) return;
  SetBkMode(hdc, TRANSPARENT);
  HGDIOBJ previousPen = SelectObject(hdc, pen);
  SelectObject(hdc, GetStockObject(NULL_BRUSH));
  if (DragMode != 0 && erase) DrawOutline(hdc, *info, Geometry{CentreX, CentreY, Angle, DrawnWidth, DrawnHeight});
  CentreX = next.CentreX;
  CentreY = next.CentreY;
  Angle = next.Angle;
  DrawnWidth = next.Width;
  DrawnHeight = next.Height;
  DrawOutline(hdc, *info, next);
  SelectObject(hdc, previousPen);
  DeleteObject(pen);
}

void RectangleControl::PointerAlongAxes(const PreviewInfo& info, float* u, float* v) const {
  const double a = Angle * RadiansPerDegree;
  const float s = static_cast<float>(std::sin(a));
  const float c = static_cast<float>(std::cos(a));
  const float x = (info.MouseX - CentreX) * info.ImageWidth;
  const float y = (info.MouseY - CentreY) * info.ImageHeight;
  *u = std::fabs(x * c - y * s);
  *v = std::fabs(x * s + y * c);
}

// An edge is under the pointer within the grab tolerance across it and
// along its length up to the tolerance past the corners, so a press near a
// corner finds both edges.
RectangleControl::Edges RectangleControl::EdgesAt(const PreviewInfo& info) const {
  float u, v;
  PointerAlongAxes(info, &u, &v);
  const float tolerance = static_cast<float>(GrabTolerance());
  const float hw = info.ImageWidth * DrawnWidth * 0.5f;
  const float hh = info.ImageHeight * DrawnHeight * 0.5f;
  return Edges{std::fabs(u - hw) < tolerance && v <= hh + tolerance,
               std::fabs(v - hh) < tolerance && u <= hw + tolerance};
}

uint32_t RectangleControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info) {
    const Edges edges = EdgesAt(*info);
    if (edges.Width || edges.Height) DragMode = DraggingEdges;
    const bool either = edges.Width || edges.Height;
    WidthGrabbed = AspectLocked ? either : edges.Width;
    HeightGrabbed = AspectLocked ? either : edges.Height;
  }
  return PreviewControl::ControlDown(hdc, info, point);
}

// The pointer's distance from the centre along each axis is the new half
// size. Locked, only the width is sent (the larger of the two sizes the
// pointer asks for, in width terms), and the height follows it.
void RectangleControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  if (DragMode == DraggingEdges) {
    float u, v;
    PointerAlongAxes(*info, &u, &v);
    const float halfWidth = u / info->ImageWidth;
    const float halfHeight = v / info->ImageHeight;
    if (AspectLocked) {
      SendNumber(*this, 2.0f * std::max(halfWidth, AspectRatio * halfHeight), WidthIndex);
    } else {
      if (WidthGrabbed && Differs(halfWidth, Width / 2.0f)) SendNumber(*this, 2.0f * halfWidth, WidthIndex);
      if (HeightGrabbed && Differs(halfHeight, Height / 2.0f)) SendNumber(*this, 2.0f * halfHeight, HeightIndex);
    }
  }
  DrawControls(hdc, info, 1);
}

void RectangleControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  WidthGrabbed = 0;
  HeightGrabbed = 0;
  EndRubberBandDrag(*this, hdc, info, point);
}

// Near a corner the height input answers.
void RectangleControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  if (command == PreviewCommandInputAt && info) {
    const Edges edges = EdgesAt(*info);
    if (edges.Width || edges.Height) {
      if (AnswerInputAt(data, InputWithIndex(*this, edges.Height ? HeightIndex : WidthIndex))) return;
    }
  }
  PreviewControl::ControlCommand(hdc, info, command, data);
}

}  // namespace qzc
