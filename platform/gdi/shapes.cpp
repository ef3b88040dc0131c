#include <algorithm>
#include <utility>
#include <vector>

#include "strokes.h"

using namespace qz::gdi;

namespace {

bool BrushFills(const Dc& dc) {
  return dc.brush && !dc.brush->hollow;
}

// A solid pen frames the box from the inside, `width` pixels deep, each pixel once.
void FrameInside(const Raster& raster, const RECT& b, int width, uint32_t pixel, int rop) {
  if (b.right - b.left <= 2 * width || b.bottom - b.top <= 2 * width) {
    FillBox(raster, b, pixel, rop);
    return;
  }
  FillBox(raster, RECT{b.left, b.top, b.right, b.top + width}, pixel, rop);
  FillBox(raster, RECT{b.left, b.bottom - width, b.right, b.bottom}, pixel, rop);
  FillBox(raster, RECT{b.left, b.top + width, b.left + width, b.bottom - width}, pixel, rop);
  FillBox(raster, RECT{b.right - width, b.top + width, b.right, b.bottom - width}, pixel, rop);
}

// A styled pen walks the outline as one closed path, so each pixel is drawn
// once and the pattern runs on round the corners.
void FrameStyled(const Raster& raster, const Dc& dc, const RECT& b) {
  int r = b.right - 1, btm = b.bottom - 1;
  if (b.left == r || b.top == btm) {
    StrokeSegment(raster, dc, b.left, b.top, b.left == r ? r : r + 1, b.left == r ? btm + 1 : btm);
    return;
  }
  long long phase = StrokeSegment(raster, dc, b.left, b.top, r, b.top);
  phase = StrokeSegment(raster, dc, r, b.top, r, btm, phase);
  phase = StrokeSegment(raster, dc, r, btm, b.left, btm, phase);
  StrokeSegment(raster, dc, b.left, btm, b.left, b.top, phase);
}

long long FloorDiv(long long a, long long b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Even-odd fill sampling each pixel at its top-left corner: a polygon with
// integer vertices fills its left/top edges and leaves its right/bottom ones.
void FillPolygon(const Raster& raster, const POINT* points, int count, uint32_t pixel, int rop) {
  static std::vector<int>* crossings = new std::vector<int>;
  POINT o = raster.offset;
  long long minY = INT32_MAX, maxY = INT32_MIN;
  for (int i = 0; i < count; ++i) {
    minY = std::min<long long>(minY, points[i].y + o.y);
    maxY = std::max<long long>(maxY, points[i].y + o.y);
  }
  int top = static_cast<int>(std::max<long long>(minY, raster.limit.top));
  int bottom = static_cast<int>(std::min<long long>(maxY, raster.limit.bottom));
  for (int y = top; y < bottom; ++y) {
    crossings->clear();
    for (int i = 0; i < count; ++i) {
      POINT a = points[i], b = points[(i + 1) % count];
      long long ax = a.x + o.x, ay = a.y + o.y, bx = b.x + o.x, by = b.y + o.y;
      if (ay == by) continue;
      if (ay > by) {
        std::swap(ax, bx);
        std::swap(ay, by);
      }
      if (y < ay || y >= by) continue;
      // The first pixel at or right of the crossing: ceil of an exact fraction.
      long long num = ax * (by - ay) + (y - ay) * (bx - ax);
      crossings->push_back(static_cast<int>(-FloorDiv(-num, by - ay)));
    }
    std::sort(crossings->begin(), crossings->end());
    for (size_t k = 0; k + 1 < crossings->size(); k += 2)
      FillBox(raster, RECT{(*crossings)[k], y, (*crossings)[k + 1], y + 1}, pixel, rop);
  }
}

}  // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  Raster raster;
  if (!MakeRaster(*dc, &raster)) return TRUE;
  RECT b = NormalizedBox(raster.offset, left, top, right, bottom);
  if (qz::IsEmptyRect(b)) return TRUE;
  int rop = dc->state.rop2;
  if (!PenDraws(*dc)) {
    // Without a pen the fill stops one pixel short of the right and bottom edges.
    if (BrushFills(*dc)) FillBox(raster, RECT{b.left, b.top, b.right - 1, b.bottom - 1}, dc->brush->pixel, rop);
    return TRUE;
  }
  bool styled = dc->pen->width == 1 && dc->pen->style >= PS_DASH && dc->pen->style <= PS_DASHDOTDOT;
  int width = styled ? 1 : dc->pen->width;
  if (BrushFills(*dc))
    FillBox(raster, RECT{b.left + width, b.top + width, b.right - width, b.bottom - width}, dc->brush->pixel, rop);
  if (styled)
    FrameStyled(raster, *dc, b);
  else
    FrameInside(raster, b, width, dc->pen->pixel, rop);
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  Dc* dc = DcOf(hdc);
  if (!dc || !points || count < 2) return FALSE;
  Raster raster;
  if (!MakeRaster(*dc, &raster)) return TRUE;
  if (BrushFills(*dc) && count >= 3) FillPolygon(raster, points, count, dc->brush->pixel, dc->state.rop2);
  POINT o = raster.offset;
  long long phase = 0;
  for (int i = 0; i < count; ++i) {
    const POINT& a = points[i];
    const POINT& b = points[(i + 1) % count];
    phase = StrokeSegment(raster, *dc, a.x + o.x, a.y + o.y, b.x + o.x, b.y + o.y, phase);
  }
  return TRUE;
}
