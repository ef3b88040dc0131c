#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "strokes.h"

namespace qz::gdi {
namespace {

using Wide = __int128;  // 2 steps x minor needs up to 65 bits

// floor(num / den) for den > 0; in 64 bits when num fits.
long long FloorDiv(Wide num, long long den) {
  if (num >= INT64_MIN && num <= INT64_MAX) {
    long long n = static_cast<long long>(num);
    return n / den - (n % den < 0);
  }
  return static_cast<long long>(num / den - (num % den < 0));
}

}  // namespace

bool CosmeticLine::ClipMinor(long long low, long long high, long long* first, long long* last) const {
  if (high < 0 || low > minor || low > high) return false;
  // Step i is at least `low` across once 2 i minor + bias >= 2 steps low,
  // and at most `high` while 2 i minor + bias < 2 steps (high + 1).
  if (low > 0) *first = std::max(*first, -FloorDiv(bias - Wide{2 * steps} * low, 2 * minor));
  if (high < minor) *last = std::min(*last, FloorDiv(Wide{2 * steps} * (high + 1) - bias - 1, 2 * minor));
  return *first <= *last;
}

long long CosmeticLine::MinorAtFar(long long i, long long* remainder) const {
  Wide num = Wide{2 * i} * minor + bias;
  long long m = FloorDiv(num, 2 * steps);
  *remainder = static_cast<long long>(num - Wide{m} * (2 * steps));
  return m;
}

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

// Where a styled pen is in its pattern: the run it is in and the pixels
// left in that run. Even runs draw with the pen, odd ones are gaps.
class DashCursor {
 public:
  DashCursor(const DashPattern& pattern, long long index) : pattern_(pattern) {
    int pos = static_cast<int>(index % pattern.period);
    while (pos >= pattern.runs[run_]) pos -= pattern.runs[run_++];
    left_ = pattern.runs[run_] - pos;
  }
  bool On() const { return (run_ & 1) == 0; }
  int Left() const { return left_; }
  // Moves on by `n` pixels, at most the ones left in the run.
  void Skip(int n) {
    left_ -= n;
    if (left_ > 0) return;
    run_ = run_ + 1 == pattern_.count ? 0 : run_ + 1;
    left_ = pattern_.runs[run_];
  }

 private:
  const DashPattern& pattern_;
  int run_ = 0;
  int left_ = 0;
};

// A pen colour combined with the destination by a binary raster operation.
// Every R2_ code is a bitwise function of pen and destination, so for one pen
// colour it is d' = set ^ (d & keep). As for a single pixel, the result
// keeps only the RGB bits.
struct PenOp {
  PenOp(uint32_t pen, int rop) {
    // Bit 2p + d of rop - 1 is the result for pen bit p and destination bit d.
    uint32_t t = static_cast<uint32_t>(rop - 1);
    uint32_t whereZero = (~pen & (0u - (t & 1))) | (pen & (0u - (t >> 2 & 1)));
    uint32_t whereOne = (~pen & (0u - (t >> 1 & 1))) | (pen & (0u - (t >> 3 & 1)));
    set = whereZero & kRgbBits;
    keep = (whereOne ^ whereZero) & kRgbBits;
  }
  uint32_t operator()(uint32_t d) const { return set ^ (d & keep); }

  static constexpr uint32_t kRgbBits = 0xFFFFFF;
  uint32_t set, keep;
};

// `n` pixels from `at` on, `along` apart: one run of a horizontal or
// vertical line, or of a piece of its pattern.
void PaintRun(uint32_t* base, ptrdiff_t at, ptrdiff_t along, long long n, const PenOp& op) {
  if (along == -1) {
    at -= n - 1;
    along = 1;
  }
  uint32_t* p = base + at;
  if (along != 1) {
    for (long long k = 0; k < n; ++k, p += along) *p = op(*p);
    return;
  }
  // Two pixels a word: the operation is bitwise.
  uint64_t set = uint64_t{op.set} << 32 | op.set, keep = uint64_t{op.keep} << 32 | op.keep;
  uint32_t* end = p + n;
  for (; p + 2 <= end; p += 2) {
    uint64_t pair;
    std::memcpy(&pair, p, sizeof(pair));
    pair = set ^ (pair & keep);
    std::memcpy(p, &pair, sizeof(pair));
  }
  if (p < end) *p = op(*p);
}

// Paints steps [first, last] of a line, all inside the canvas, with
// `paint(pixel)`: along the major axis each step, across when the error term
// says so.
template <class Paint>
void StepLine(const Canvas& canvas, const CosmeticLine& line, long long first, long long last, Paint&& paint) {
  long long remainder;
  long long m = line.MinorAt(first, &remainder);
  POINT start = line.PixelAt(first, m);
  uint32_t* p = canvas.Row(start.y) + start.x;
  ptrdiff_t along = line.xMajor ? line.sx : line.sy * canvas.stride;
  ptrdiff_t across = line.xMajor ? line.sy * canvas.stride : line.sx;
  long long error = remainder - 2 * line.steps, up = 2 * line.minor, down = 2 * line.steps;
  for (long long i = first;; ++i) {
    paint(p);
    if (i == last) break;
    p += along;
    error += up;
    if (error >= 0) {
      p += across;
      error -= down;
    }
  }
}

// A sloping line at most this steep (one step across per this many along)
// is painted in runs along its major axis; a steeper one pixel by pixel, as
// its runs would be a pixel or two long.
constexpr long long kRunsFrom = 4;

// The steps of one clip rectangle with a solid pen.
void PaintSteps(const Canvas& canvas, const CosmeticLine& line, long long first, long long last, const PenOp& on) {
  if (line.minor * kRunsFrom > line.steps) {
    StepLine(canvas, line, first, last, [&](uint32_t* p) { *p = on(*p); });
    return;
  }
  long long remainder;
  long long m = line.MinorAt(first, &remainder);
  POINT start = line.PixelAt(first, m);
  ptrdiff_t at = start.y * canvas.stride + start.x;
  ptrdiff_t along = line.xMajor ? line.sx : line.sy * canvas.stride;
  ptrdiff_t across = line.xMajor ? line.sy * canvas.stride : line.sx;
  long long error = remainder - 2 * line.steps, up = 2 * line.minor, down = 2 * line.steps;
  for (long long n = last - first + 1;;) {
    // The pixels up to the next step across.
    long long run = line.minor ? (up - 1 - error) / up : n;
    if (run >= n) {
      PaintRun(canvas.base, at, along, n, on);
      return;
    }
    PaintRun(canvas.base, at, along, run, on);
    n -= run;
    at += along * run + across;
    error += run * up - down;
  }
}

// A horizontal or vertical solid line: one span from the start up to the end,
// which is left out, clipped once per clip rectangle.
void PaintSpan(const Raster& raster, int x0, int y0, int x1, int y1, const PenOp& on) {
  bool horizontal = y0 == y1;
  long long from = horizontal ? x0 : y0, to = horizontal ? x1 : y1;
  long long lo = to > from ? from : to + 1, hi = to > from ? to : from + 1;
  const Canvas& canvas = raster.canvas;
  for (size_t k = 0; k < raster.count; ++k) {
    RECT c = Clamp(raster.rects[k], raster.limit);
    if (horizontal) {
      long long a = std::max<long long>(lo, c.left), b = std::min<long long>(hi, c.right);
      if (y0 >= c.top && y0 < c.bottom && a < b) PaintRun(canvas.Row(y0), a, 1, b - a, on);
    } else {
      long long a = std::max<long long>(lo, c.top), b = std::min<long long>(hi, c.bottom);
      if (x0 >= c.left && x0 < c.right && a < b)
        PaintRun(canvas.Row(static_cast<int>(a)), x0, canvas.stride, b - a, on);
    }
  }
}

void PaintStyledSteps(const Canvas& canvas, const CosmeticLine& line, long long first, long long last,
                      const DashPattern& pattern, long long phase, const PenOp& on, const PenOp* gap) {
  DashCursor dash(pattern, phase + first);
  if (line.minor != 0) {
    StepLine(canvas, line, first, last, [&](uint32_t* p) {
      if (dash.On())
        *p = on(*p);
      else if (gap)
        *p = (*gap)(*p);
      dash.Skip(1);
    });
    return;
  }
  POINT start = line.PixelAt(first, 0);
  uint32_t* row = canvas.Row(start.y);
  ptrdiff_t along = line.xMajor ? line.sx : line.sy * canvas.stride;
  ptrdiff_t at = start.x;
  for (long long i = first; i <= last;) {
    int n = static_cast<int>(std::min<long long>(dash.Left(), last - i + 1));
    if (dash.On())
      PaintRun(row, at, along, n, on);
    else if (gap)
      PaintRun(row, at, along, n, *gap);
    dash.Skip(n);
    at += along * n;
    i += n;
  }
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
  long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  long long steps = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
  if (!PenDraws(dc)) return phase + steps;
  const Pen& pen = *dc.pen;
  int rop = dc.state.rop2;
  if (pen.width > 1) {
    StrokeWide(raster, pen.width, pen.pixel, rop, x0, y0, x1, y1);
    return phase + steps;
  }
  const DashPattern* pattern = PatternOf(pen.style);
  PenOp on(pen.pixel, rop);
  if (!pattern && (dx == 0 || dy == 0)) {
    PaintSpan(raster, x0, y0, x1, y1, on);
    return phase + steps;
  }
  CosmeticLine line(x0, y0, x1, y1);
  if (!pattern) {
    // The clip rectangles are disjoint, so each visible pixel is painted once.
    for (size_t k = 0; k < raster.count; ++k) {
      long long first, last;
      if (line.StepsIn(Clamp(raster.rects[k], raster.limit), &first, &last))
        PaintSteps(raster.canvas, line, first, last, on);
    }
    return phase + steps;
  }
  // Gaps take the background colour only in OPAQUE mode.
  PenOp gap(PixelFromColor(dc.state.bkColor), rop);
  const PenOp* gapOp = dc.state.bkMode == OPAQUE ? &gap : nullptr;
  for (size_t k = 0; k < raster.count; ++k) {
    long long first, last;
    if (line.StepsIn(Clamp(raster.rects[k], raster.limit), &first, &last))
      PaintStyledSteps(raster.canvas, line, first, last, *pattern, phase, on, gapOp);
  }
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
