// The vertical scroll bar that lists draw inside their own client area.
#pragma once

#include "windows.h"

namespace qz::controls {

constexpr int kScrollBarWidth = 16;

enum class ScrollHit { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// Geometry of a bar showing `visible` of `total` rows with `first` at the top.
struct ScrollBarLayout {
  RECT bar{};
  RECT up{};
  RECT down{};
  RECT track{};
  RECT thumb{};
  int maxFirst = 0;

  static ScrollBarLayout Make(const RECT& bar, int first, int visible, int total);
  ScrollHit HitTest(int x, int y) const;
  // The first row for a thumb whose top is dragged to `thumbTop`.
  int FirstForThumbTop(int thumbTop) const;
};

void PaintScrollBar(HDC hdc, const ScrollBarLayout& layout, bool enabled);

}  // namespace qz::controls
