#include "commctrl.h"
#include "control_base.h"
#include "trackbar.h"

namespace qz::controls {
namespace {

constexpr int kMargin = 8;        // from the client edge to the first thumb centre
constexpr int kThumbLength = 11;  // along the track
constexpr int kMaxThumbBreadth = 20;
constexpr int kThumbInset = 4;  // from the client edge to the thumb, across the track
constexpr int kChannelBreadth = 4;
constexpr int kTickLength = 3;

void PaintTicks(HDC hdc, const TrackBarState& s, const TrackGeometry& g, DWORD style) {
  if (style & TBS_NOTICKS) return;
  HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
  bool before = (style & TBS_BOTH) != 0;
  auto tick = [&](int pos) {
    RECT after = g.TickRect(pos, true);
    FillRect(hdc, &after, ink);
    if (before) {
      RECT other = g.TickRect(pos, false);
      FillRect(hdc, &other, ink);
    }
  };
  tick(s.min);
  tick(s.max);
  if (!(style & TBS_AUTOTICKS) || s.ticFrequency <= 0) return;
  for (int pos = s.min + s.ticFrequency; pos < s.max; pos += s.ticFrequency) tick(pos);
}

}  // namespace

TrackGeometry::TrackGeometry(HWND hwnd, const TrackBarState& s) : s_(s), vertical_((StyleOf(hwnd) & TBS_VERT) != 0) {
  RECT client{};
  GetClientRect(hwnd, &client);
  length_ = vertical_ ? client.bottom : client.right;
  int breadth = vertical_ ? client.right : client.bottom;
  thumbTop_ = kThumbInset;
  thumbBreadth_ = breadth - 2 * kThumbInset - kTickLength - 1;
  if (thumbBreadth_ > kMaxThumbBreadth) thumbBreadth_ = kMaxThumbBreadth;
  if (thumbBreadth_ < 6) thumbBreadth_ = breadth > 6 ? 6 : breadth;
}

RECT TrackGeometry::Rect(int axisStart, int axisEnd, int crossStart, int crossEnd) const {
  if (vertical_) return RECT{crossStart, axisStart, crossEnd, axisEnd};
  return RECT{axisStart, crossStart, axisEnd, crossEnd};
}

int TrackGeometry::CenterFor(int pos) const {
  int span = length_ - 2 * kMargin - 1;
  if (s_.max <= s_.min || span <= 0) return kMargin;
  return kMargin + MulDiv(pos - s_.min, span, s_.max - s_.min);
}

int TrackGeometry::PosFor(int axis) const {
  int span = length_ - 2 * kMargin - 1;
  if (s_.max <= s_.min || span <= 0) return s_.min;
  int offset = axis - kMargin;
  if (offset < 0) offset = 0;
  if (offset > span) offset = span;
  return s_.min + MulDiv(offset, s_.max - s_.min, span);
}

RECT TrackGeometry::ThumbRect(int pos) const {
  int center = CenterFor(pos);
  return Rect(center - kThumbLength / 2, center + kThumbLength / 2 + 1, thumbTop_, thumbTop_ + thumbBreadth_);
}

RECT TrackGeometry::ChannelRect() const {
  int cross = thumbTop_ + (thumbBreadth_ - kChannelBreadth) / 2;
  return Rect(kMargin - 2, length_ - kMargin + 2, cross, cross + kChannelBreadth);
}

RECT TrackGeometry::TickRect(int pos, bool after) const {
  int center = CenterFor(pos);
  int cross = after ? thumbTop_ + thumbBreadth_ + 1 : thumbTop_ - 1 - kTickLength;
  return Rect(center, center + 1, cross, cross + kTickLength);
}

void PaintTrackBar(HWND hwnd, HDC hdc, const TrackBarState& s) {
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  if (brush) FillRect(hdc, &client, brush);
  TrackGeometry g(hwnd, s);
  RECT channel = g.ChannelRect();
  DrawEdge(hdc, &channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(hdc, &channel, GetSysColorBrush(COLOR_WINDOW));
  PaintTicks(hdc, s, g, StyleOf(hwnd));
  RECT thumb = g.ThumbRect(s.pos);
  DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  if (s.focused) {
    Inset(client, 1, 1);
    DrawFocusRect(hdc, &client);
  }
}

}  // namespace qz::controls
