// What the viewer controls share: the change threshold, the grab test
// against a drawn position, the keyboard nudge step, the XOR rubber band and
// sending a new value through SetInputs.
#pragma once

#include <cmath>
#include <cstdint>

#include "qzsystem/input.h"
#include "qzsystem/previewcontrol.h"
#include "qzsystem/previewinfo.h"
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

// The outline of a square with corners `half` pixels from (x, y) on each
// axis, from the top-left corner clockwise back to it.
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

// Follows an input the control is not connected to (a reference or centre
// input): joins its Controls list, so the host tells the control of its
// changes and of its going away (RemoveInput), and tells the control its
// value now. The input followed so far is left first; following the same
// input again does nothing.
void FollowInput(PreviewControl& control, Input*& followed, Input* next);
// Leaves the followed input's Controls list and forgets it, so the input
// keeps no pointer to a control that no longer knows it.
void UnfollowInput(PreviewControl& control, Input*& followed);

// The first connected input, or null.
Input* FirstInput(PreviewControl& control);
// The first connected input whose viewer index (0x1003000c) is `index`, or
// null; walked under the list's read lock.
Input* InputWithIndex(PreviewControl& control, uint32_t index);
// Answers command 7 with `input`; false (nothing answered) when there is no
// input or nowhere to put it, leaving the command to the base.
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

// A pen kept between drawings, so a drag step makes no GDI object; it is
// made again only when its style or colour changes. Null when the platform
// cannot make it.
class KeptPen {
 public:
  KeptPen() = default;
  ~KeptPen();
  KeptPen(const KeptPen&) = delete;
  KeptPen& operator=(const KeptPen&) = delete;

  HPEN Get(int style, COLORREF colour);

 private:
  HPEN Pen = nullptr;
  int Style = 0;
  COLORREF Colour = 0;
};

// The pens of a figure drawn in a style of its own (dotted, dashed): the
// rubber band's and the one at rest.
struct StyledFigurePens {
  KeptPen RubberBand;
  KeptPen AtRest;

  // Selects the mode as SelectFigurePen does, with a one-pixel pen of
  // `style` in white or the viewer's colour; a style the platform cannot
  // make draws solid. Returns the pen selected before, to be put back
  // before the pens go.
  HGDIOBJ Select(HDC hdc, const PreviewInfo& info, uint32_t dragMode, int style);
};

}  // namespace qzc
