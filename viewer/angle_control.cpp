#include "viewer/angle_control.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/parameter.h"
#include "viewer/viewer_tools.h"

namespace qzc {
namespace {

// DragMode while the handle is dragged (the angle is edited), and while the
// centre's own control is dragged (the line only follows it).
constexpr uint32_t DraggingHandle = 2;
constexpr uint32_t FollowingCentre = 1;

constexpr double DegreesToRadians = 0.017453292519943295;
constexpr double RadiansToDegrees = 57.29577951308232;
constexpr double FullTurn = 360.0;
constexpr double HalfTurn = 180.0;

// The round handle is drawn 4 pixels around the line's end and can be
// grabbed at least that far away, however small the host's tolerance.
constexpr int HandleRadius = 4;
constexpr int MinimumGrabRadius = 4;
// Closer to the vertical than this (in normalised units across), the
// pointer counts as straight above or below the centre.
constexpr float VerticalBand = 0.0005f;
// A drag sends a new angle only when it turns by more than this, in degrees.
constexpr double TurnDeadBand = 0.01;
// The length is compared ten times finer than positions.
constexpr double LengthThreshold = 0.000001;
constexpr float KeyStepDegrees = 1.0f;

struct Pixel {
  int X;
  int Y;
};

// `value` as a float; false when it is not finite or beyond a float's range.
bool NarrowToFloat(double value, float* out) {
  if (!(std::fabs(value) <= FLT_MAX)) return false;
  *out = static_cast<float>(value);
  return true;
}

const Number* AsNumber(const Parameter* value) {
  return value && value->ID == Number::ClassID ? static_cast<const Number*>(value) : nullptr;
}
const Point* AsPoint(const Parameter* value) {
  return value && value->ID == Point::ClassID ? static_cast<const Point*>(value) : nullptr;
}

// The viewer pixel of the line's end: angles run anticlockwise on the
// screen from the x axis, lengths are measured in image widths.
Pixel LineEnd(const PreviewInfo& info, float cx, float cy, float angle, float length) {
  const double radians = angle * DegreesToRadians;
  const float ex = cx + info.AspectScaleXOut(static_cast<float>(length * std::cos(radians)));
  const float ey = cy - info.AspectScaleYOut(static_cast<float>(length * std::sin(radians)));
  return Pixel{info.TransformXOut(ex), info.TransformYOut(ey)};
}

void DrawFigure(HDC hdc, const PreviewInfo& info, float cx, float cy, float angle, float length, HGDIOBJ linePen,
                HGDIOBJ handlePen) {
  const Pixel end = LineEnd(info, cx, cy, angle, length);
  SelectObject(hdc, linePen);
  DrawSegment(hdc, info.TransformXOut(cx), info.TransformYOut(cy), end.X, end.Y);
  SelectObject(hdc, handlePen);
  Ellipse(hdc, end.X - HandleRadius, end.Y - HandleRadius, end.X + HandleRadius, end.Y + HandleRadius);
}

// The pointer's direction from the centre in degrees, in [0, 360), from
// its offset (dx, dy) in image widths with y running down.
double PointerDirection(float dx, float dy) {
  if (!(std::fabs(dx) > VerticalBand)) return dy < 0.0f ? 90.0 : 270.0;
  double direction = std::atan(-static_cast<double>(dy) / dx) * RadiansToDegrees;
  direction += dx < 0.0f ? HalfTurn : FullTurn;
  return std::fmod(direction, FullTurn);
}

// The angle folded into [0, 360), whatever its sign or number of turns.
double FoldedAngle(double angle) {
  const double folded = std::fmod(angle, FullTurn);
  return folded < 0.0 ? folded + FullTurn : folded;
}

// The shorter turn from `from` to `to`, both in [0, 360): within half a
// turn either way, so a drag across 0 degrees keeps counting.
double ShortestTurn(double from, double to) {
  double turn = to - from;
  if (turn > HalfTurn)
    turn -= FullTurn;
  else if (turn < -HalfTurn)
    turn += FullTurn;
  return std::fmod(turn, FullTurn);
}

}  // namespace

const Registration AngleControlRegistration{"AngleControl", CreatorAddress(&NewAngleControl), MakeID("AngC"),
                                            ViewerControlType};

PreviewControl* NewAngleControl() {
  return Create<AngleControl, PreviewControl>();
}

AngleControl::AngleControl() {
  ID = MakeID("AngC");
}

AngleControl::~AngleControl() {
  UnfollowInput(*this, CentreInput);
  UnfollowInput(*this, LengthInput);
}

// A new minimum and scale apply from the next length notification on; they
// are read first, so a length input joined by the same list is measured
// with them.
uint32_t AngleControl::SetAttrsTagList(TagList& tags) {
  NarrowToFloat(tags.GetDouble(tag::AngleMinimumLength, MinimumLength), &MinimumLength);
  NarrowToFloat(tags.GetDouble(tag::AngleLengthScale, LengthScale), &LengthScale);
  FollowInput(*this, CentreInput, InputAttribute(tags, tag::AngleCentreInput, CentreInput));
  FollowInput(*this, LengthInput, InputAttribute(tags, tag::AngleLengthInput, LengthInput));
  return PreviewControl::SetAttrsTagList(tags);
}

// The centre and length inputs are followed, not connected: forgetting one
// leaves its control list, so the input keeps no pointer to this control.
uint32_t AngleControl::RemoveInput(Input* input) {
  bool followed = false;
  if (input && input == CentreInput) {
    UnfollowInput(*this, CentreInput);
    followed = true;
  }
  if (input && input == LengthInput) {
    UnfollowInput(*this, LengthInput);
    followed = true;
  }
  return followed ? 1 : PreviewControl::RemoveInput(input);
}

// Values that cannot be drawn (not finite, or beyond a float) are not taken.
void AngleControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) return;
  bool changed;
  if (input && input == CentreInput)
    changed = TakeCentre(AsPoint(value));
  else if (input && input == LengthInput)
    changed = TakeLength(AsNumber(value));
  else
    changed = TakeAngle(AsNumber(value));
  if (changed) PreviewControl::NotifyChanged(input, value);
}

// The base asks the viewer to redraw (not while this control drags), so a
// key step or a change from the host shows at once.
void AngleControl::UpdateDisplay(Input* input) {
  PreviewControl::UpdateDisplay(input);
}

void AngleControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (!hdc || !info) return;
  SetBkMode(hdc, TRANSPARENT);
  HPEN dotted = CreateFigurePen(hdc, *info, DragMode, PS_DOT);
  if (!dotted) return;
  HGDIOBJ previous = SelectObject(hdc, dotted);
  SelectObject(hdc, GetStockObject(NULL_BRUSH));
  const bool rubberBand = DragMode != 0;
  HGDIOBJ handlePen = rubberBand ? GetStockObject(WHITE_PEN) : info->ControlPen;
  if (rubberBand && erase)
    DrawFigure(hdc, *info, DrawnCentreX, DrawnCentreY, DrawnAngle, DrawnLength, dotted, handlePen);
  DrawFigure(hdc, *info, CentreX, CentreY, Angle, Length, dotted, handlePen);
  DrawnCentreX = CentreX;
  DrawnCentreY = CentreY;
  DrawnAngle = Angle;
  DrawnLength = Length;
  SelectObject(hdc, previous);
  DeleteObject(dotted);
}

uint32_t AngleControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  if (info && HandleUnderPointer(*info))
    DragMode = DraggingHandle;
  else if (FollowsDraggedCentre())
    DragMode = FollowingCentre;
  return PreviewControl::ControlDown(hdc, info, point);
}

// The figure is redrawn only when it changed: rubbing out and drawing the
// same figure again would leave the same pixels.
void AngleControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  PreviewControl::ControlMove(hdc, info, point);
  if (!info) return;
  if (DragMode == DraggingHandle) TurnTowardsPointer(*info);
  if (CentreX != DrawnCentreX || CentreY != DrawnCentreY || Angle != DrawnAngle || Length != DrawnLength)
    DrawControls(hdc, info, 1);
}

void AngleControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  EndRubberBandDrag(*this, hdc, info, point);
}

void AngleControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  switch (command) {
    case PreviewCommandKey:
      Step(reinterpret_cast<uintptr_t>(data));
      break;
    case PreviewCommandInputAt:
      if (info && HandleUnderPointer(*info) && AnswerInputAt(data, FirstInput(*this))) return;
      break;
    default:
      break;
  }
  PreviewControl::ControlCommand(hdc, info, command, data);
}

// Within the grab radius of the line's end as it now stands, edge included.
bool AngleControl::HandleUnderPointer(const PreviewInfo& info) const {
  const Pixel end = LineEnd(info, CentreX, CentreY, Angle, Length);
  const double dx = static_cast<double>(info.TransformXOut(info.MouseX)) - end.X;
  const double dy = static_cast<double>(info.TransformYOut(info.MouseY)) - end.Y;
  const int radius = std::max(GrabTolerance(), MinimumGrabRadius);
  return std::hypot(dx, dy) <= radius;
}

bool AngleControl::TakeCentre(const Point* point) {
  float x, y;
  if (!point || !NarrowToFloat(point->X, &x) || !NarrowToFloat(point->Y, &y)) return false;
  if (!PositionDiffers(x, y, CentreX, CentreY)) return false;
  CentreX = x;
  CentreY = y;
  return true;
}

// The scaled value, but at least the minimum.
bool AngleControl::TakeLength(const Number* number) {
  if (!number || !std::isfinite(number->Value)) return false;
  double candidate = number->Value * LengthScale;
  if (!(candidate > MinimumLength)) candidate = MinimumLength;
  float length;
  if (!NarrowToFloat(candidate, &length) || !(std::fabs(length - Length) > LengthThreshold)) return false;
  Length = length;
  return true;
}

bool AngleControl::TakeAngle(const Number* number) {
  float angle;
  if (!number || !NarrowToFloat(number->Value, &angle) || !Differs(angle, Angle)) return false;
  Angle = angle;
  return true;
}

// Whether the first control on the centre input's list (typically the one
// that edits the centre, grabbed by the same press) is dragging.
bool AngleControl::FollowsDraggedCentre() {
  if (!CentreInput) return false;
  List& controls = CentreInput->Controls;
  controls.ObtainReadLock();
  ListNode* first = controls.GetFirst();
  const auto* control = first ? static_cast<const PreviewControl*>(first->Obj()) : nullptr;
  const bool dragging = control && control->DragMode != 0;
  controls.ReleaseReadLock();
  return dragging;
}

// Turns the angle by the shorter way to the pointer's direction, so it
// counts on past a full turn (350 degrees and a pointer at 10 give 370).
void AngleControl::TurnTowardsPointer(const PreviewInfo& info) {
  const float dx = info.AspectScaleXIn(info.MouseX - CentreX);
  const float dy = info.AspectScaleYIn(info.MouseY - CentreY);
  const double turn = ShortestTurn(FoldedAngle(Angle), PointerDirection(dx, dy));
  if (std::fabs(turn) > TurnDeadBand) SendNumber(*this, Angle + turn, 0);
}

// Left turns anticlockwise, Right clockwise.
void AngleControl::Step(uintptr_t key) {
  const float step = ModifiedStep(KeyStepDegrees);
  if (key == VK_LEFT)
    SendNumber(*this, static_cast<double>(Angle) + step, 0);
  else if (key == VK_RIGHT)
    SendNumber(*this, static_cast<double>(Angle) - step, 0);
}

}  // namespace qzc
