#include <algorithm>
#include <vector>

#include "strokes.h"

namespace qz::gdi {
namespace {

// On/off run lengths of the styled pens.
struct DashPattern {
  int runs[6];
  int count;
  int period;
};

constexpr DashPattern kDash{{18, 6}, 2, 24};
constexpr DashPattern kDot{{3, 3}, 2, 6};
constexpr DashPattern kDashDot{{9, 6, 3, 6}, 4, 24};
constexpr DashPattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};

const DashPattern* PatternOf(int style) {
  switch (style) {
    case PS_DASH:
      return &kDash;
    case PS_DOT:
      return &kDot;
    case PS_DASHDOT:
      return &kDashDot;
    case PS_DASHDOTDOT:
      return &kDashDotDot;
    default:
      return nullptr;
  }
}

bool IsOn(const DashPattern& pattern, long long index) {
  int pos = static_cast<int>(index % pattern.period);
  for (int i = 0; i < pattern.count; ++i) {
    if (pos < pattern.runs[i]) return (i & 1) == 0;
    pos -= pattern.runs[i];
  }
  return false;
}

struct RowExtent {
  int left, right;
};

// A wide pen sweeps a width x width square along the cosmetic line; each row
// of the sweep is one span, so every pixel is written once even under XOR.
void StrokeWide(const Raster& raster, int width, uint32_t pixel, int rop, int x0, int y0, int x1, int y1) {
  static std::vector<RowExtent>* rows = new std::vector<RowExtent>;
  const RECT& l = raster.limit;
  RECT near{l.left - width, l.top - width, l.right + width, l.bottom + width};
  int half = width / 2;
  int top = std::max(std::min(y0, y1) - half, near.top);
  int bottom = std::min(std::max(y0, y1) - half + width, near.bottom);
  if (top >= bottom) return;
  rows->assign(static_cast<size_t>(bottom - top), RowExtent{INT32_MAX, INT32_MIN});
  WalkLine(x0, y0, x1, y1, near, [&](int x, int y, long long) {
    for (int row = std::max(y - half, top); row < std::min(y - half + width, bottom); ++row) {
      RowExtent& e = (*rows)[static_cast<size_t>(row - top)];
      e.left = std::min(e.left, x - half);
      e.right = std::max(e.right, x - half + width);
    }
  });
  for (int row = top; row < bottom; ++row) {
    const RowExtent& e = (*rows)[static_cast<size_t>(row - top)];
    if (e.left < e.right) FillBox(raster, RECT{e.left, row, e.right, row + 1}, pixel, rop);
  }
}

}  // namespace

bool PenDraws(const Dc& dc) {
  return dc.pen && dc.pen->style != PS_NULL;
}

long long StrokeSegment(const Raster& raster, const Dc& dc, int x0, int y0, int x1, int y1, long long phase) {
  long long steps = std::max(std::llabs(static_cast<long long>(x1) - x0), std::llabs(static_cast<long long>(y1) - y0));
  if (!PenDraws(dc)) return phase + steps;
  const Pen& pen = *dc.pen;
  int rop = dc.state.rop2;
  if (pen.width > 1) {
    StrokeWide(raster, pen.width, pen.pixel, rop, x0, y0, x1, y1);
    return phase + steps;
  }
  const DashPattern* pattern = PatternOf(pen.style);
  if (!pattern) {
    WalkLine(x0, y0, x1, y1, raster.limit, [&](int x, int y, long long) { PlotPixel(raster, x, y, pen.pixel, rop); });
    return phase + steps;
  }
  // Gaps take the background colour only in OPAQUE mode.
  bool opaque = dc.state.bkMode == OPAQUE;
  uint32_t gap = PixelFromColor(dc.state.bkColor);
  WalkLine(x0, y0, x1, y1, raster.limit, [&](int x, int y, long long i) {
    if (IsOn(*pattern, phase + i))
      PlotPixel(raster, x, y, pen.pixel, rop);
    else if (opaque)
      PlotPixel(raster, x, y, gap, rop);
  });
  return phase + steps;
}

}  // namespace qz::gdi

using namespace qz::gdi;

BOOL LineTo(HDC hdc, int x, int y) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  POINT from = dc->state.current;
  dc->state.current = POINT{x, y};
  Raster raster;
  if (MakeRaster(*dc, &raster))
    StrokeSegment(raster, *dc, from.x + raster.offset.x, from.y + raster.offset.y, x + raster.offset.x,
                  y + raster.offset.y);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  Dc* dc = DcOf(hdc);
  if (!dc || !points || count < 2) return FALSE;
  Raster raster;
  if (!MakeRaster(*dc, &raster)) return TRUE;
  POINT o = raster.offset;
  long long phase = 0;
  for (int i = 1; i < count; ++i)
    phase = StrokeSegment(raster, *dc, points[i - 1].x + o.x, points[i - 1].y + o.y, points[i].x + o.x,
                          points[i].y + o.y, phase);
  return TRUE;
}
