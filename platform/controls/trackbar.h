// State and geometry of the "msctls_trackbar32" class.
#pragma once

#include "windows.h"

namespace qz::controls {

struct TrackBarState {
  int min = 0;
  int max = 100;
  int pos = 0;
  int lineSize = 1;
  int pageSize = 20;
  int ticFrequency = 1;
  bool focused = false;
  bool dragging = false;  // the thumb follows the pointer, under capture
  int grabOffset = 0;     // pointer offset from the thumb's centre along the track
  bool paging = false;    // the button is held beside the thumb, paging towards the pointer
  int pageTarget = 0;     // the pointer's position along the track while paging
  int pageCode = 0;       // TB_PAGEUP or TB_PAGEDOWN
};

// Geometry along the track ("axis") and across it, the same for both
// orientations; Rect() turns it into client coordinates.
class TrackGeometry {
 public:
  TrackGeometry(HWND hwnd, const TrackBarState& s);

  bool Vertical() const { return vertical_; }
  int AxisOf(int x, int y) const { return vertical_ ? y : x; }
  int CenterFor(int pos) const;
  int PosFor(int axis) const;
  RECT ThumbRect(int pos) const;
  RECT ChannelRect() const;
  // A tick mark at `pos`, `after` = on the right/bottom side of the thumb.
  RECT TickRect(int pos, bool after) const;

 private:
  RECT Rect(int axisStart, int axisEnd, int crossStart, int crossEnd) const;

  const TrackBarState& s_;
  bool vertical_;
  int length_ = 0;    // client extent along the axis
  int thumbTop_ = 0;  // across the axis
  int thumbBreadth_ = 0;
};

void PaintTrackBar(HWND hwnd, HDC hdc, const TrackBarState& s);

}  // namespace qz::controls
