// Pen strokes: the platform's cosmetic line rule and styled and wide pens.
#pragma once

#include <cstdlib>

#include "dc.h"

namespace qz::gdi {

// The pixels of the line from (x0, y0) towards (x1, y1), first included and
// last excluded: one pixel per step along the major axis, the minor
// coordinate rounded to nearest with ties towards the left/top, so a line and
// its reverse cover the same pixels. Step i lies floor((2 i minor + bias) /
// (2 steps)) pixels along the minor axis; the bias puts the ties on the
// left/top side whichever way the line runs.
struct CosmeticLine {
  CosmeticLine(int fromX, int fromY, int toX, int toY) : x0(fromX), y0(fromY) {
    long long dx = static_cast<long long>(toX) - fromX, dy = static_cast<long long>(toY) - fromY;
    long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    sx = dx < 0 ? -1 : 1;
    sy = dy < 0 ? -1 : 1;
    xMajor = adx >= ady;
    steps = xMajor ? adx : ady;
    minor = xMajor ? ady : adx;
    // Towards the top/left (negative direction) a tie rounds away from the start.
    bool negative = xMajor ? dy < 0 : dx < 0;
    bias = negative ? steps : steps - 1;
  }

  // The steps whose major coordinate lies in [lo, hi); false when none do.
  bool MajorSteps(long long lo, long long hi, long long* first, long long* last) const {
    long long start = xMajor ? x0 : y0;
    int sign = xMajor ? sx : sy;
    long long from = sign > 0 ? lo - start : start - (hi - 1);
    long long to = sign > 0 ? hi - 1 - start : start - lo;
    *first = from > 0 ? from : 0;
    *last = to < steps - 1 ? to : steps - 1;
    return *first <= *last;
  }
  // The steps whose pixels lie inside `box`; false when none do. The minor
  // offset never decreases along the line, so they are one range.
  bool StepsIn(const RECT& box, long long* first, long long* last) const {
    if (!(xMajor ? MajorSteps(box.left, box.right, first, last) : MajorSteps(box.top, box.bottom, first, last)))
      return false;
    long long start = xMajor ? y0 : x0;
    int sign = xMajor ? sy : sx;
    long long lo = xMajor ? box.top : box.left, hi = xMajor ? box.bottom : box.right;
    // The minor offsets inside the box: [low, high].
    long long low = sign > 0 ? lo - start : start - (hi - 1);
    long long high = sign > 0 ? hi - 1 - start : start - lo;
    return (low <= 0 && high >= minor) || ClipMinor(low, high, first, last);
  }
  // The minor offset of step i, and the remainder of its division.
  long long MinorAt(long long i, long long* remainder) const {
    if (i != 0) return MinorAtFar(i, remainder);
    *remainder = bias;
    return 0;
  }
  POINT PixelAt(long long i, long long m) const {
    return xMajor ? POINT{static_cast<LONG>(x0 + i * sx), static_cast<LONG>(y0 + m * sy)}
                  : POINT{static_cast<LONG>(x0 + m * sx), static_cast<LONG>(y0 + i * sy)};
  }

  int x0, y0;
  int sx, sy;  // +1 or -1 along each axis
  bool xMajor;
  long long steps, minor;
  long long bias;

 private:
  bool ClipMinor(long long low, long long high, long long* first, long long* last) const;
  long long MinorAtFar(long long i, long long* remainder) const;
};

// Visits the pixels of the line whose major coordinate lies inside `limit`,
// in order, with their step index; the minor coordinate is not clipped.
template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, const RECT& limit, Plot&& plot) {
  CosmeticLine line(x0, y0, x1, y1);
  long long first, last;
  bool inside = line.xMajor ? line.MajorSteps(limit.left, limit.right, &first, &last)
                            : line.MajorSteps(limit.top, limit.bottom, &first, &last);
  if (!inside) return;
  long long remainder;
  long long m = line.MinorAt(first, &remainder);
  long long error = remainder - 2 * line.steps;
  for (long long i = first; i <= last; ++i) {
    POINT p = line.PixelAt(i, m);
    plot(static_cast<int>(p.x), static_cast<int>(p.y), i);
    error += 2 * line.minor;
    if (error >= 0) {
      ++m;
      error -= 2 * line.steps;
    }
  }
}

bool PenDraws(const Dc& dc);
// One pen segment in canvas coordinates, end point excluded. A styled pen's
// pattern starts `phase` pixels in; the result is the phase after the
// segment, so that a path's segments continue one pattern.
long long StrokeSegment(const Raster& raster, const Dc& dc, int x0, int y0, int x1, int y1, long long phase = 0);

}  // namespace qz::gdi
