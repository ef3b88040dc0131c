#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
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

// On/off run lengths of the styled pens, and the same as one bit a pixel.
struct DashPattern {
  int runs[6];
  int count;
  int period;
  uint32_t onBits;  // bit i: pixel i of the period is drawn with the pen
};

constexpr DashPattern MakePattern(std::initializer_list<int> runs) {
  DashPattern pattern{};
  for (int run : runs) {
    if (pattern.count % 2 == 0) pattern.onBits |= ((1u << run) - 1) << pattern.period;
    pattern.runs[pattern.count++] = run;
    pattern.period += run;
  }
  return pattern;
}

constexpr DashPattern kDash = MakePattern({18, 6});
constexpr DashPattern kDot = MakePattern({3, 3});
constexpr DashPattern kDashDot = MakePattern({9, 6, 3, 6});
constexpr DashPattern kDashDotDot = MakePattern({9, 3, 3, 3, 3, 3});

// The pattern of each pen style up to PS_INSIDEFRAME; none for a solid line.
constexpr auto kPatterns = [] {
  std::array<const DashPattern*, PS_INSIDEFRAME + 1> patterns{};
  patterns[PS_DASH] = &kDash;
  patterns[PS_DOT] = &kDot;
  patterns[PS_DASHDOT] = &kDashDot;
  patterns[PS_DASHDOTDOT] = &kDashDotDot;
  return patterns;
}();

const DashPattern* PatternOf(int style) {
  return style >= 0 && style < static_cast<int>(kPatterns.size()) ? kPatterns[static_cast<size_t>(style)] : nullptr;
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
    const Masks& m = kMasks[static_cast<size_t>(rop - R2_BLACK)];
    set = ((pen & m.setPen) ^ m.setAll) & kRgbBits;
    keep = ((pen & m.keepPen) ^ m.keepAll) & kRgbBits;
  }
  uint32_t operator()(uint32_t d) const { return set ^ (d & keep); }

  // Bit 2p + d of (rop - R2_BLACK) is the result for pen bit p and
  // destination bit d; set is the result where d = 0, keep where the result
  // follows d. Each is 0, ~0, the pen or its inverse: (pen & x) ^ y.
  struct Masks {
    uint32_t setPen, setAll, keepPen, keepAll;
  };
  static constexpr auto kMasks = [] {
    std::array<Masks, R2_WHITE - R2_BLACK + 1> masks{};
    for (uint32_t t = 0; t < masks.size(); ++t) {
      uint32_t b0 = 0u - (t & 1), b1 = 0u - (t >> 1 & 1), b2 = 0u - (t >> 2 & 1), b3 = 0u - (t >> 3 & 1);
      masks[t] = Masks{b0 ^ b2, b0, b0 ^ b1 ^ b2 ^ b3, b0 ^ b1};
    }
    return masks;
  }();
  static constexpr uint32_t kRgbBits = 0xFFFFFF;
  uint32_t set, keep;
};

// Four pixels in one vector register (the compiler's generic vectors).
using FourPixels = uint32_t __attribute__((vector_size(16)));

// A pen operation made ready for rows: its masks four and two pixels wide.
struct RowPen {
  explicit RowPen(const PenOp& pen)
      : op(pen),
        set4{pen.set, pen.set, pen.set, pen.set},
        keep4{pen.keep, pen.keep, pen.keep, pen.keep},
        set2(uint64_t{pen.set} << 32 | pen.set),
        keep2(uint64_t{pen.keep} << 32 | pen.keep) {}

  // `n` pixels of a row from `p` on; four pixels a step, as the operation is
  // bitwise, then a pair and a last one.
  void operator()(uint32_t* p, long long n) const {
    uint32_t* end = p + n;
    for (; p + 4 <= end; p += 4) {
      FourPixels four;
      std::memcpy(&four, p, sizeof(four));
      four = set4 ^ (four & keep4);
      std::memcpy(p, &four, sizeof(four));
    }
    if (p + 2 <= end) {
      uint64_t pair;
      std::memcpy(&pair, p, sizeof(pair));
      pair = set2 ^ (pair & keep2);
      std::memcpy(p, &pair, sizeof(pair));
      p += 2;
    }
    if (p < end) *p = op(*p);
  }

  PenOp op;
  FourPixels set4, keep4;
  uint64_t set2, keep2;
};

inline void PaintRow(uint32_t* p, long long n, const PenOp& op) {
  const RowPen row(op);
  row(p, n);
}

// `n` pixels from `p` on, `along` apart.
inline void PaintColumn(uint32_t* p, ptrdiff_t along, long long n, const PenOp& op) {
  for (long long k = 0; k < n; ++k, p += along) *p = op(*p);
}

// A sloping line at most this steep (one step across per this many along)
// is painted in runs along its major axis; a steeper one pixel by pixel, as
// its runs would be a pixel or two long.
constexpr long long kRunsFrom = 4;

// Walks a line's pixels on the canvas from one of its steps on: along the
// major axis each step, across when the error term says so. The pixels
// painted lie inside the canvas; the position past the last is never read.
class LineStepper {
 public:
  LineStepper(const Canvas& canvas, const CosmeticLine& line, long long first)
      : base_(canvas.base),
        along_(line.xMajor ? line.sx : line.sy * canvas.stride),
        across_(line.xMajor ? line.sy * canvas.stride : line.sx),
        up_(2 * line.minor),
        down_(2 * line.steps),
        inRuns_(line.minor * kRunsFrom <= line.steps) {
    long long remainder;
    POINT start = line.PixelAt(first, line.MinorAt(first, &remainder));
    at_ = start.y * canvas.stride + start.x;
    error_ = remainder - down_;
  }

  // Paints the next n pixels and moves past them.
  void Paint(long long n, const PenOp& op) {
    if (inRuns_) {
      PaintRuns(n, op);
      return;
    }
    const PenOp pen = op;
    Walk(n, [&](uint32_t* p) { *p = pen(*p); });
  }
  // Paints the next n pixels with a styled pen, pixel by pixel, from pixel
  // `index` of its pattern on.
  void PaintDashed(long long n, const DashPattern& pattern, long long index, const PenOp& on, const PenOp* gap) {
    const uint32_t bits = pattern.onBits;
    const int period = pattern.period;
    int pos = static_cast<int>(index % period);
    const PenOp pen = on;
    auto next = [&] { pos = pos + 1 == period ? 0 : pos + 1; };
    if (!gap) {
      Walk(n, [&](uint32_t* p) {
        if (bits >> pos & 1) *p = pen(*p);
        next();
      });
      return;
    }
    const PenOp paper = *gap;
    Walk(n, [&](uint32_t* p) {
      *p = (bits >> pos & 1 ? pen : paper)(*p);
      next();
    });
  }
  // Moves past the next n pixels.
  void Skip(long long n) {
    at_ += along_ * n;
    error_ += up_ * n;
    if (error_ < 0) return;
    long long across = error_ / down_ + 1;
    at_ += across_ * across;
    error_ -= down_ * across;
  }

 private:
  // Locals in the loop, as in Walk; the row masks are made once.
  void PaintRuns(long long n, const PenOp& op) {
    const RowPen row(op);
    uint32_t* const base = base_;
    const ptrdiff_t along = along_, across = across_;
    const long long up = up_, down = down_;
    const bool rows = along == 1 || along == -1;
    ptrdiff_t at = at_;
    long long error = error_;
    while (n > 0) {
      // The pixels up to the next step across.
      long long run = up ? std::min((up - 1 - error) / up, n) : n;
      if (rows)
        row(base + (along < 0 ? at - (run - 1) : at), run);
      else
        PaintColumn(base + at, along, run, op);
      n -= run;
      at += along * run;
      error += up * run;
      if (error >= 0) {
        at += across;
        error -= down;
      }
    }
    at_ = at;
    error_ = error;
  }

  // Locals in the loop: a pixel written through base_ could otherwise be
  // taken to change the members.
  template <class PaintPixel>
  void Walk(long long n, PaintPixel&& paint) {
    uint32_t* base = base_;
    ptrdiff_t at = at_;
    long long error = error_;
    for (; n > 0; --n) {
      paint(base + at);
      at += along_;
      error += up_;
      if (error >= 0) {
        at += across_;
        error -= down_;
      }
    }
    at_ = at;
    error_ = error;
  }

  uint32_t* base_;
  ptrdiff_t along_, across_;
  long long up_, down_;
  bool inRuns_;
  ptrdiff_t at_;
  long long error_;
};

// The part of a horizontal or vertical span [lo, hi) along its axis inside
// clip rectangle `c`.
inline void PaintSpanIn(const Canvas& canvas, const RECT& c, bool horizontal, int x0, int y0, long long lo,
                        long long hi, const PenOp& on) {
  if (horizontal) {
    long long a = std::max<long long>(lo, c.left), b = std::min<long long>(hi, c.right);
    if (y0 >= c.top && y0 < c.bottom && a < b) PaintRow(canvas.Row(y0) + a, b - a, on);
  } else {
    long long a = std::max<long long>(lo, c.top), b = std::min<long long>(hi, c.bottom);
    if (x0 >= c.left && x0 < c.right && a < b)
      PaintColumn(canvas.Row(static_cast<int>(a)) + x0, canvas.stride, b - a, on);
  }
}

// A horizontal or vertical solid line: one span from the start up to the end,
// which is left out, clipped once per clip rectangle.
void PaintSpan(const Raster& raster, int x0, int y0, int x1, int y1, const PenOp& on) {
  bool horizontal = y0 == y1;
  long long from = horizontal ? x0 : y0, to = horizontal ? x1 : y1;
  long long lo = to > from ? from : to + 1, hi = to > from ? to : from + 1;
  // A single clip rectangle holds the whole limit.
  if (raster.count == 1) {
    PaintSpanIn(raster.canvas, raster.limit, horizontal, x0, y0, lo, hi, on);
    return;
  }
  for (size_t k = 0; k < raster.count; ++k)
    PaintSpanIn(raster.canvas, Clamp(raster.rects[k], raster.limit), horizontal, x0, y0, lo, hi, on);
}

// The steps of one clip rectangle with a styled pen: a horizontal or
// vertical line in the pieces of its pattern, gaps passed over when
// transparent; a sloping one pixel by pixel.
void PaintStyledSteps(const Canvas& canvas, const CosmeticLine& line, long long first, long long last,
                      const DashPattern& pattern, long long phase, const PenOp& on, const PenOp* gap) {
  LineStepper stepper(canvas, line, first);
  long long n = last - first + 1;
  if (line.minor != 0) {
    stepper.PaintDashed(n, pattern, phase + first, on, gap);
    return;
  }
  DashCursor dash(pattern, phase + first);
  while (n > 0) {
    int piece = static_cast<int>(std::min<long long>(dash.Left(), n));
    if (dash.On())
      stepper.Paint(piece, on);
    else if (gap)
      stepper.Paint(piece, *gap);
    else
      stepper.Skip(piece);
    dash.Skip(piece);
    n -= piece;
  }
}

struct RowExtent {
  int left, right;
};

// A wide pen sweeps a width x width square along the cosmetic line; each row
// of the sweep is one span, so every pixel is written once even under XOR.
[[gnu::noinline]] void StrokeWide(const Raster& raster, int width, uint32_t pixel, int rop, int x0, int y0, int x1,
                                  int y1) {
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

// Whether both ends of a line, and so all its pixels, lie inside `box`.
inline bool LineInside(const CosmeticLine& line, const RECT& box) {
  const long long along = line.xMajor ? line.steps : line.minor, across = line.xMajor ? line.minor : line.steps;
  const long long x1 = line.x0 + line.sx * along, y1 = line.y0 + line.sy * across;
  return std::min<long long>(line.x0, x1) >= box.left && std::max<long long>(line.x0, x1) < box.right &&
         std::min<long long>(line.y0, y1) >= box.top && std::max<long long>(line.y0, y1) < box.bottom;
}

// The sloping and styled strokes are kept out of line, so that the span
// path of a horizontal or vertical line stays short.

// The clip rectangles are disjoint, so each visible pixel is painted once.
[[gnu::noinline]] void StrokeSloping(const Raster& raster, const CosmeticLine& line, const PenOp& on) {
  if (raster.count == 1 && LineInside(line, raster.limit)) {
    LineStepper(raster.canvas, line, 0).Paint(line.steps, on);
    return;
  }
  for (size_t k = 0; k < raster.count; ++k) {
    long long first, last;
    if (line.StepsIn(Clamp(raster.rects[k], raster.limit), &first, &last))
      LineStepper(raster.canvas, line, first).Paint(last - first + 1, on);
  }
}

[[gnu::noinline]] void StrokeStyled(const Raster& raster, const Dc& dc, const DashPattern& pattern,
                                    const CosmeticLine& line, long long phase) {
  int rop = dc.state.rop2;
  PenOp on(dc.pen->pixel, rop);
  // Gaps take the background colour only in OPAQUE mode.
  PenOp gap(PixelFromColor(dc.state.bkColor), rop);
  const PenOp* gapOp = dc.state.bkMode == OPAQUE ? &gap : nullptr;
  for (size_t k = 0; k < raster.count; ++k) {
    long long first, last;
    if (line.StepsIn(Clamp(raster.rects[k], raster.limit), &first, &last))
      PaintStyledSteps(raster.canvas, line, first, last, pattern, phase, on, gapOp);
  }
}

}  // namespace

bool PenDraws(const Dc& dc) {
  return dc.pen && dc.pen->style != PS_NULL;
}

namespace {

// A segment of a one-pixel unbroken pen.
[[gnu::always_inline]] inline void StrokeThin(const Raster& raster, int x0, int y0, int x1, int y1, const PenOp& on) {
  if (x0 == x1 || y0 == y1)
    PaintSpan(raster, x0, y0, x1, y1, on);
  else
    StrokeSloping(raster, CosmeticLine(x0, y0, x1, y1), on);
}

// Whether every point of a polyline, moved by `o`, lies inside the
// raster's only clip rectangle; then so do all its pixels.
bool PointsInside(const Raster& raster, const POINT* points, int count, POINT o) {
  if (raster.count != 1) return false;
  int left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (int i = 1; i < count; ++i) {
    left = std::min(left, points[i].x);
    right = std::max(right, points[i].x);
    top = std::min(top, points[i].y);
    bottom = std::max(bottom, points[i].y);
  }
  const RECT& l = raster.limit;
  return left + static_cast<long long>(o.x) >= l.left && right + static_cast<long long>(o.x) < l.right &&
         top + static_cast<long long>(o.y) >= l.top && bottom + static_cast<long long>(o.y) < l.bottom;
}

// A horizontal or vertical segment of a thin solid pen lying inside the
// clip, end point excluded: one row or column, nothing to clip.
inline void PaintSpanInside(const Canvas& canvas, int x0, int y0, int x1, int y1, const RowPen& row) {
  if (y0 == y1) {
    const int lo = x1 > x0 ? x0 : x1 + 1, hi = x1 > x0 ? x1 : x0 + 1;
    row(canvas.Row(y0) + lo, hi - lo);
  } else {
    const int lo = y1 > y0 ? y0 : y1 + 1, hi = y1 > y0 ? y1 : y0 + 1;
    PaintColumn(canvas.Row(lo) + x0, canvas.stride, hi - lo, row.op);
  }
}

inline bool IsThinSolid(const Dc& dc) {
  return dc.pen && dc.pen->thinSolid;
}

// One pen segment in canvas coordinates, end point excluded; a styled pen's
// pattern starts `phase` pixels in.
[[gnu::always_inline]] inline void Stroke(const Raster& raster, const Dc& dc, int x0, int y0, int x1, int y1,
                                          long long phase) {
  if (IsThinSolid(dc)) {
    StrokeThin(raster, x0, y0, x1, y1, PenOp(dc.pen->pixel, dc.state.rop2));
    return;
  }
  if (!PenDraws(dc)) return;
  const Pen& pen = *dc.pen;
  const int rop = dc.state.rop2;
  if (pen.width > 1)
    StrokeWide(raster, pen.width, pen.pixel, rop, x0, y0, x1, y1);
  else if (const DashPattern* pattern = PatternOf(pen.style))
    StrokeStyled(raster, dc, *pattern, CosmeticLine(x0, y0, x1, y1), phase);
  else if (x0 == x1 || y0 == y1)
    PaintSpan(raster, x0, y0, x1, y1, PenOp(pen.pixel, rop));
  else
    StrokeSloping(raster, CosmeticLine(x0, y0, x1, y1), PenOp(pen.pixel, rop));
}

}  // namespace

long long StrokeSegment(const Raster& raster, const Dc& dc, int x0, int y0, int x1, int y1, long long phase) {
  Stroke(raster, dc, x0, y0, x1, y1, phase);
  long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  return phase + std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
}

}  // namespace qz::gdi

using namespace qz::gdi;

BOOL LineTo(HDC hdc, int x, int y) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  POINT from = dc->state.current;
  dc->state.current = POINT{x, y};
  if (const Raster* raster = RasterOf(*dc)) {
    POINT o = raster->offset;
    Stroke(*raster, *dc, from.x + o.x, from.y + o.y, x + o.x, y + o.y, 0);
  }
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  Dc* dc = DcOf(hdc);
  if (!dc || !points || count < 2) return FALSE;
  const Raster* raster = RasterOf(*dc);
  if (!raster) return TRUE;
  POINT o = raster->offset;
  if (IsThinSolid(*dc)) {
    // An unbroken pen has no pattern to carry from one segment to the next.
    const PenOp on(dc->pen->pixel, dc->state.rop2);
    if (!PointsInside(*raster, points, count, o)) {
      for (int i = 1; i < count; ++i)
        StrokeThin(*raster, points[i - 1].x + o.x, points[i - 1].y + o.y, points[i].x + o.x, points[i].y + o.y, on);
      return TRUE;
    }
    // A figure inside the clip, such as a handle's outline, is painted
    // without clipping each segment.
    const RowPen row(on);
    for (int i = 1; i < count; ++i) {
      const int x0 = points[i - 1].x + o.x, y0 = points[i - 1].y + o.y, x1 = points[i].x + o.x, y1 = points[i].y + o.y;
      if (x0 == x1 || y0 == y1)
        PaintSpanInside(raster->canvas, x0, y0, x1, y1, row);
      else
        StrokeSloping(*raster, CosmeticLine(x0, y0, x1, y1), on);
    }
    return TRUE;
  }
  long long phase = 0;
  for (int i = 1; i < count; ++i)
    phase = StrokeSegment(*raster, *dc, points[i - 1].x + o.x, points[i - 1].y + o.y, points[i].x + o.x,
                          points[i].y + o.y, phase);
  return TRUE;
}
