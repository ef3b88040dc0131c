#include <algorithm>
#include <cstdint>
#include <utility>

#include "strokes.h"

using namespace qz::gdi;

namespace {

// One row of the lower-right quarter of an ellipse's outline, box-relative:
// the outline pixels of that row run from column `x0` to `x1` inclusive.
struct QuarterRow {
  int64_t y;
  int64_t x0, x1;
};

// The platform's integer ellipse in a w x h box (right and bottom edges
// excluded): the outermost pixels lie on the first and last rows and columns.
// With a = w - 1 and b = h - 1 the trace starts at (w - 1, h / 2) and walks a
// midpoint error term, dx = 4b^2(1 - a), dy = 4a^2(1 + b % 2), err = dx + dy +
// a^2(b % 2), stepping x - 1 when 2err >= dx and y + 1 when 2err <= dy (both
// tested on the same 2err), until x < w / 2; the quarter is mirrored about the
// box centre. A box with a side of 2 or less is a rectangle. Where a tall,
// narrow trace stops short of the last row, its last column runs straight on
// to it, so the outline is closed and reaches every side of the box.
// Rows come out one at a time from h / 2 down, with no storage: the walk is
// as long as the box is wide and high. The error terms grow as 16 side^3:
// `Wide` holds them for the box's sides.
template <class Wide>
class EllipseQuarter {
 public:
  EllipseQuarter(int64_t w, int64_t h) : w_(w), h_(h), half_(w / 2), row_(h / 2), x_(w - 1), y_(h / 2), lastX_(w - 1) {
    rectangle_ = w <= 2 || h <= 2;
    Wide a = w - 1, b = h - 1, odd = b % 2;
    asq_ = 8 * a * a;
    bsq_ = 8 * b * b;
    dx_ = 4 * b * b * (1 - a);
    dy_ = 4 * a * a * (1 + odd);
    err_ = dx_ + dy_ + a * a * odd;
  }

  bool Next(QuarterRow* out) {
    if (row_ >= h_) return false;
    if (rectangle_) {
      *out = QuarterRow{row_, row_ == h_ - 1 ? half_ : w_ - 1, w_ - 1};
    } else if (x_ < half_) {
      *out = QuarterRow{row_, lastX_, lastX_};
    } else {
      int64_t right = x_;
      while (x_ >= half_ && y_ == row_) {
        lastX_ = x_;
        Step();
      }
      *out = QuarterRow{row_, lastX_, right};
    }
    ++row_;
    return true;
  }

 private:
  void Step() {
    Wide e2 = 2 * err_;
    if (e2 >= dx_) {
      --x_;
      dx_ += bsq_;
      err_ += dx_;
    }
    if (e2 <= dy_) {
      ++y_;
      dy_ += asq_;
      err_ += dy_;
    }
  }

  int64_t w_, h_;
  int64_t half_;  // w / 2: the trace stops left of it
  bool rectangle_;
  int64_t row_;  // the next row handed out
  int64_t x_, y_;
  int64_t lastX_;  // the last column traced
  Wide asq_, bsq_, dx_, dy_, err_;
};

// Half-open column ranges of one row of an ellipse, in canvas coordinates.
struct RowSpans {
  int64_t left, right;      // the whole row of the shape
  int64_t inLeft, inRight;  // inside the outline (may be empty)
};

// The row of a box at `left` whose quarter row is `q` (w wide).
RowSpans SpansOf(int64_t left, int64_t w, const QuarterRow& q) {
  return RowSpans{left + w - 1 - q.x1, left + q.x1 + 1, left + w - q.x0, left + q.x0};
}

// Boxes beyond 2^28 pixels a side draw nothing: the walk would take too long.
constexpr int64_t kLargestSide = int64_t{1} << 28;
// Up to 2^18 pixels a side the error terms stay below 2^62.
constexpr int64_t kNarrowSide = int64_t{1} << 18;

// The ellipse in the w x h box at (x, y), canvas coordinates, rows `first`
// to `last` (exclusive) only.
template <class Wide>
void DrawEllipse(const Raster& raster, const Dc& dc, int64_t x, int64_t y, int64_t w, int64_t h, int64_t first,
                 int64_t last) {
  int64_t lastQuarterRow = std::max(last - 1 - y, y + h - 1 - first);
  bool pen = PenDraws(dc);
  bool brush = dc.brush && !dc.brush->hollow;
  int64_t inset = pen ? dc.pen->width - 1 : 0;
  int64_t innerW = w - 2 * inset, innerH = h - 2 * inset;
  bool hasInner = innerW > 0 && innerH > 0;
  // A one-pixel pen's inner trace is the outline itself, whose inside
  // starts where its outline rows stop.
  bool sameInner = inset == 0;
  EllipseQuarter<Wide> outer(w, h), inner(hasInner && !sameInner ? innerW : 1, hasInner && !sameInner ? innerH : 1);
  int rop = dc.state.rop2;

  // Spans are clipped to the limit's columns once for both mirrored rows;
  // FillSpan clips them further to the clip rectangles. A rubber band's
  // spans (XOR inside a single clip rectangle, which holds the limit) are
  // mostly a pixel or two long: they are painted in place.
  struct Span {
    int64_t left, right;
  };
  const int64_t clipLeft = raster.limit.left, clipRight = raster.limit.right;
  auto clip = [&](int64_t left, int64_t right) { return Span{std::max(left, clipLeft), std::min(right, clipRight)}; };
  const bool xorInPlace = rop == R2_XORPEN && raster.count == 1;
  auto paint = [&](int row, Span span, uint32_t pixel) {
    if (span.left >= span.right) return;
    if (!xorInPlace) {
      FillSpan(raster, row, static_cast<int>(span.left), static_cast<int>(span.right), pixel, rop);
      return;
    }
    uint32_t* p = raster.canvas.Row(row);
    for (int64_t i = span.left; i < span.right; ++i) p[i] ^= pixel;
  };
  QuarterRow q, in{};
  bool innerRow = false;
  while (outer.Next(&q) && q.y <= lastQuarterRow) {
    RowSpans s = SpansOf(x, w, q);
    int64_t i0 = s.right, i1 = s.right;
    if (!pen) {
      i0 = s.left;
    } else if (sameInner) {
      if (s.inLeft < s.inRight) {
        i0 = s.inLeft;
        i1 = s.inRight;
      }
    } else {
      // The inner trace starts on the same row: (h - 2 inset) / 2 + inset = h / 2.
      if (hasInner) innerRow = inner.Next(&in);
      if (innerRow) {
        RowSpans t = SpansOf(x + inset, innerW, in);
        i0 = std::max(t.inLeft, s.left);
        i1 = std::min(t.inRight, s.right);
        if (i0 >= i1) i0 = i1 = s.right;
      }
    }
    Span inside = clip(i0, i1), left = clip(s.left, i0), right = clip(i1, s.right);
    int64_t rows[2] = {y + q.y, y + h - 1 - q.y};
    for (int k = 0; k < (rows[0] == rows[1] ? 1 : 2); ++k) {
      if (rows[k] < first || rows[k] >= last) continue;
      int row = static_cast<int>(rows[k]);
      if (brush) paint(row, inside, dc.brush->pixel);
      if (pen) {
        paint(row, left, dc.pen->pixel);
        paint(row, right, dc.pen->pixel);
      }
    }
  }
}

}  // namespace

// The brush fills inside the outline and the pen draws the outline, so each
// pixel is drawn once (an XOR ellipse drawn twice restores the picture). A pen
// wider than one pixel draws inside the box, as PS_INSIDEFRAME does: its ring
// reaches in to the outline of the box inset by the pen width less one. With
// a null pen the brush fills the whole shape.
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  Raster raster;
  if (!MakeRaster(*dc, &raster)) return TRUE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  int64_t x = int64_t{left} + raster.offset.x, y = int64_t{top} + raster.offset.y;
  int64_t w = int64_t{right} - left, h = int64_t{bottom} - top;
  if (w <= 0 || h <= 0 || w > kLargestSide || h > kLargestSide) return TRUE;
  // Only the rows inside the clip are drawn; the walk stops past the last.
  int64_t first = std::max<int64_t>(y, raster.limit.top), last = std::min<int64_t>(y + h, raster.limit.bottom);
  if (first >= last) return TRUE;
  if (w <= kNarrowSide && h <= kNarrowSide)
    DrawEllipse<int64_t>(raster, *dc, x, y, w, h, first, last);
  else
    DrawEllipse<__int128>(raster, *dc, x, y, w, h, first, last);
  return TRUE;
}
