// What the viewer controls share: the change threshold, the grab test
// against a drawn position, the keyboard nudge step, the XOR rubber band and
// figure pens, sending a new value through SetInputs, following inputs named
// by attributes, answering which input lies under the pointer, and a
// position handle's drag, keys and release.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "qzsystem/input.h"
#include "qzsystem/previewcontrol.h"
#include "qzsystem/previewinfo.h"
#include "qzsystem/taglist.h"
#include "windows.h"

namespace qzc {

// Two viewer positions differ when a coordinate differs by more than this,
// in normalised image units.
constexpr double ChangeThreshold = 0.00001;

inline bool Differs(double a, double b) {
  return std::fabs(a - b) > ChangeThreshold;
}
inline bool PositionDiffers(double ax, double ay, double bx, double by) {
  return Differs(ax, bx) || Differs(ay, by);
}

// The host's grab tolerance in viewer pixels.
int GrabTolerance();

// Whether the pointer grabs a handle drawn at (x, y): both axes within the
// grab tolerance in viewer pixels, strictly; y is tested only when x passes.
bool GrabsHandle(const PreviewInfo& info, double x, double y);

// A key step: ten times larger with Shift held, then a tenth with Ctrl held
// (so both together keep the step).
float ModifiedStep(float step);
// One image pixel across, in normalised units, with the key modifiers.
float PixelStep(const PreviewInfo& info);

// The move of an arrow key by `step`: Left and Right along x, Up towards
// smaller y, Down towards larger y. False for any other key.
bool ArrowMove(uintptr_t key, float step, double* dx, double* dy);

// Selects the rubber-band mode: XOR with the stock white pen while
// `dragMode` is non-zero (drawing twice restores the picture), else copy
// with the viewer's pen. Returns whether it chose the XOR mode. The pen and
// raster mode stay selected.
bool SelectFigurePen(HDC hdc, const PreviewInfo& info, uint32_t dragMode);

// Draws a figure as a rubber band: while dragging, `figure(true)` first
// rubs out the old one when `erase` is set, then `figure(false)` draws the
// new one; at rest only the new one is drawn, with the viewer's pen.
template <typename Figure>
void DrawRubberBand(HDC hdc, const PreviewInfo& info, uint32_t dragMode, uint32_t erase, Figure figure) {
  if (SelectFigurePen(hdc, info, dragMode) && erase) figure(true);
  figure(false);
}

// Whether the pen SelectFigurePen selects for `dragMode` is the unbroken
// rubber-band pen (the viewer's pen at rest may be styled).
inline bool FigurePenIsSolid(uint32_t dragMode) {
  return dragMode != 0;
}

// The corners of the outline of a square with corners `half` pixels from
// (x, y) on each axis, from the top-left corner clockwise back to it.
inline std::array<POINT, 5> SquareOutline(int x, int y, int half) {
  return {POINT{x - half, y - half}, POINT{x + half, y - half}, POINT{x + half, y + half}, POINT{x - half, y + half},
          POINT{x - half, y - half}};
}
// That outline drawn side by side, so a styled pen starts its pattern again
// on each side; the current position is left at the top-left corner.
void DrawSquareOutline(HDC hdc, int x, int y, int half);
// A line from (x0, y0) up to, not including, (x1, y1).
void DrawSegment(HDC hdc, int x0, int y0, int x1, int y1);

// The document's current time, 0 without a document.
double CurrentTime(const PreviewControl& control);
// Sends a new Point / Number to the inputs of `index` through the control's
// SetInputs at the current time and releases it; nothing when it cannot be
// made.
void SendPoint(PreviewControl& control, double x, double y, uint32_t index = 0);
void SendNumber(PreviewControl& control, double value, uint32_t index);

// Inputs a control follows without being connected to them (a reference or
// centre input named by an attribute): the control joins the input's control
// list, so the host tells it of every change and of the input's going away
// (RemoveInput).

// The input a pointer attribute names; `current` when the list lacks it.
Input* InputAttribute(const TagList& tags, uint32_t tag, Input* current);
// Follows `next` instead of `followed`: leaves the old input's control list,
// joins the new one's and hands the control the new input's value at the
// current time (NotifyChanged). Nothing when they are the same input.
void FollowInput(PreviewControl& control, Input*& followed, Input* next);
// Leaves the followed input's control list and forgets the input, so the
// input keeps no pointer to a control that no longer knows it.
void UnfollowInput(PreviewControl& control, Input*& followed);
// Activates every inactive control on the input's control list, under the
// list's read lock.
void ActivateControlsOn(Input* input);

// The first connected input, or null; read under the list's read lock.
Input* FirstInput(PreviewControl& control);
// The first connected input whose viewer index (0x1003000c) is `index`, or
// null; walked under the list's read lock.
Input* InputWithIndex(PreviewControl& control, uint32_t index);
// Answers command 7 (which input lies under the pointer) with `input`; false
// (nothing answered) when there is no input or nowhere to put it, leaving
// the command to the base.
bool AnswerInputAt(void* data, Input* input);

// A position handle's drag step: sends the pointer as the new position when
// it differs from (x, y).
void SendPointerPosition(PreviewControl& control, const PreviewInfo& info, double x, double y);
// A position handle's arrow key: sends (x, y) moved by one image pixel with
// the key modifiers; other keys send nothing.
void NudgePosition(PreviewControl& control, const PreviewInfo& info, uintptr_t key, double x, double y);
// A position handle's commands: an arrow key (command 4) nudges (x, y) and
// goes on to the base; command 7 is answered with the first connected input
// when the pointer grabs the handle drawn at (drawnX, drawnY), else left to
// the base, as is every other command.
void PositionHandleCommand(PreviewControl& control, HDC hdc, PreviewInfo* info, uint32_t command, void* data, double x,
                           double y, double drawnX, double drawnY);
// A rubber-band drag's release: the base ends the drag between two draws, so
// the second one draws the figure at rest over the rubber band.
void EndRubberBandDrag(PreviewControl& control, HDC hdc, PreviewInfo* info, CPoint point);

// A one-pixel pen of `style` for one drawing of a figure, with the raster
// mode set: a white XOR pen while `dragMode` is non-zero, the viewer's
// control colour at rest. A style the platform cannot make draws solid. The
// caller selects it and deletes it after use; null on failure.
HPEN CreateFigurePen(HDC hdc, const PreviewInfo& info, uint32_t dragMode, int style);

}  // namespace qzc
