#include <algorithm>
#include <cmath>
#include <utility>

#include "strokes.h"

using namespace qz::gdi;

namespace {

// The digital ellipse inscribed in a half-open box: a pixel belongs to it when
// its centre lies inside the ellipse through the box's outer edges. Worked in
// doubled coordinates from the centre so that it is exact and symmetric.
class EllipseRows {
 public:
  explicit EllipseRows(const RECT& box)
      : box_(box), w_(box.right - box.left), h_(box.bottom - box.top), sum_x_(int64_t{box.left} + box.right) {}

  // Boxes beyond 2^28 pixels would overflow the exact arithmetic; they draw nothing.
  bool Empty() const { return w_ <= 0 || h_ <= 0 || w_ > (1 << 28) || h_ > (1 << 28); }

  // The pixels [*x0, *x1) of row y inside the ellipse; false if none.
  bool Span(int y, int* x0, int* x1) const {
    if (Empty() || y < box_.top || y >= box_.bottom) return false;
    int64_t Y = 2 * int64_t{y} + 1 - (int64_t{box_.top} + box_.bottom);
    using Wide = __int128;
    Wide w2 = Wide(w_) * w_, h2 = Wide(h_) * h_;
    Wide room = w2 * h2 - Wide(Y) * Y * w2;  // X^2 * h^2 must not exceed this
    if (room < 0) return false;
    int64_t X = static_cast<int64_t>(std::sqrt(static_cast<double>(room) / static_cast<double>(h2)));
    while (X > 0 && Wide(X) * X * h2 > room) --X;
    while (Wide(X + 1) * (X + 1) * h2 <= room) ++X;
    // Pixel centres sit at offsets of the box width's opposite parity.
    if ((X & 1) == (w_ & 1)) --X;
    if (X < 0) return false;
    *x0 = static_cast<int>((sum_x_ - X - 1) / 2);
    *x1 = static_cast<int>((sum_x_ + X - 1) / 2) + 1;
    return true;
  }

  // The pixels of row y whose four neighbours are all inside: the fill.
  bool Interior(int y, int* x0, int* x1) const {
    int a0, a1, b0, b1, c0, c1;
    if (!Span(y, &a0, &a1) || !Span(y - 1, &b0, &b1) || !Span(y + 1, &c0, &c1)) return false;
    *x0 = std::max({a0 + 1, b0, c0});
    *x1 = std::min({a1 - 1, b1, c1});
    return *x0 < *x1;
  }

 private:
  RECT box_;
  int64_t w_, h_;
  int64_t sum_x_;
};

void FillSpan(const Raster& raster, int y, int x0, int x1, uint32_t pixel, int rop) {
  if (x0 < x1) FillBox(raster, RECT{x0, y, x1, y + 1}, pixel, rop);
}

}  // namespace

// A pen wider than one pixel draws inside the box, as PS_INSIDEFRAME does.
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  Raster raster;
  if (!MakeRaster(*dc, &raster)) return TRUE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  RECT box{static_cast<LONG>(left + raster.offset.x), static_cast<LONG>(top + raster.offset.y),
           static_cast<LONG>(right + raster.offset.x), static_cast<LONG>(bottom + raster.offset.y)};
  EllipseRows outer(box);
  if (outer.Empty()) return TRUE;
  bool pen = PenDraws(*dc);
  bool brush = dc->brush && !dc->brush->hollow;
  int inset = pen ? dc->pen->width - 1 : 0;
  EllipseRows inner(RECT{box.left + inset, box.top + inset, box.right - inset, box.bottom - inset});
  int rop = dc->state.rop2;
  int y0 = std::max(box.top, raster.limit.top), y1 = std::min(box.bottom, raster.limit.bottom);
  for (int y = y0; y < y1; ++y) {
    int o0, o1;
    if (!outer.Span(y, &o0, &o1)) continue;
    int i0 = o1, i1 = o1;
    if (!pen) {
      i0 = o0;
    } else if (!inner.Interior(y, &i0, &i1)) {
      i0 = i1 = o1;
    }
    if (brush) FillSpan(raster, y, i0, i1, dc->brush->pixel, rop);
    if (pen) {
      FillSpan(raster, y, o0, i0, dc->pen->pixel, rop);
      FillSpan(raster, y, std::max(i1, i0), o1, dc->pen->pixel, rop);
    }
  }
  return TRUE;
}
