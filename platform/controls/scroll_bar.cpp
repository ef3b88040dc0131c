#include "scroll_bar.h"

#include "control_base.h"
#include "glyphs.h"

namespace qz::controls {
namespace {

constexpr int kMinimumThumb = 8;
constexpr int kArrowWidth = 7;

}  // namespace

ScrollBarLayout ScrollBarLayout::Make(const RECT& bar, int first, int visible, int total) {
  ScrollBarLayout l;
  l.bar = bar;
  int height = bar.bottom - bar.top;
  int button = kScrollBarWidth;
  if (2 * button > height) button = height / 2;
  l.up = {bar.left, bar.top, bar.right, bar.top + button};
  l.down = {bar.left, bar.bottom - button, bar.right, bar.bottom};
  l.track = {bar.left, l.up.bottom, bar.right, l.down.top};
  l.maxFirst = total > visible ? total - visible : 0;
  int trackHeight = l.track.bottom - l.track.top;
  if (l.maxFirst == 0 || trackHeight <= 0) {
    l.thumb = {bar.left, l.track.top, bar.right, l.track.top};
    return l;
  }
  int thumbHeight = total > 0 ? MulDiv(trackHeight, visible, total) : trackHeight;
  if (thumbHeight < kMinimumThumb) thumbHeight = kMinimumThumb;
  if (thumbHeight > trackHeight) thumbHeight = trackHeight;
  int top = l.track.top + MulDiv(trackHeight - thumbHeight, first, l.maxFirst);
  l.thumb = {bar.left, top, bar.right, top + thumbHeight};
  return l;
}

ScrollHit ScrollBarLayout::HitTest(int x, int y) const {
  if (!PointIn(bar, x, y)) return ScrollHit::None;
  if (PointIn(up, x, y)) return ScrollHit::LineUp;
  if (PointIn(down, x, y)) return ScrollHit::LineDown;
  if (maxFirst == 0) return ScrollHit::None;
  if (y < thumb.top) return ScrollHit::PageUp;
  if (y >= thumb.bottom) return ScrollHit::PageDown;
  return ScrollHit::Thumb;
}

int ScrollBarLayout::FirstForThumbTop(int thumbTop) const {
  int range = (track.bottom - track.top) - (thumb.bottom - thumb.top);
  if (range <= 0) return 0;
  int offset = thumbTop - track.top;
  if (offset < 0) offset = 0;
  if (offset > range) offset = range;
  return MulDiv(offset, maxFirst, range);
}

void PaintScrollBar(HDC hdc, const ScrollBarLayout& l, bool enabled) {
  FillRect(hdc, &l.track, GetSysColorBrush(COLOR_SCROLLBAR));
  HBRUSH arrow = GetSysColorBrush(enabled && l.maxFirst > 0 ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  for (const RECT* button : {&l.up, &l.down}) {
    RECT r = *button;
    DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    int cx = (r.left + r.right) / 2;
    int cy = (r.top + r.bottom) / 2;
    PaintArrow(hdc, cx, cy, kArrowWidth, button == &l.up ? ArrowDirection::Up : ArrowDirection::Down, arrow);
  }
  if (l.thumb.bottom > l.thumb.top) {
    RECT thumb = l.thumb;
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

}  // namespace qz::controls
