// Pen strokes: the platform's cosmetic line rule and styled and wide pens.
#pragma once

#include <cstdlib>

#include "dc.h"

namespace qz::gdi {

// Visits the pixels of the line from (x0, y0) towards (x1, y1), first
// included and last excluded: one pixel per step along the major axis, the
// minor coordinate rounded to nearest with ties towards the left/top, so a
// line and its reverse cover the same pixels.
template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, const RECT& limit, Plot&& plot) {
  long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  bool xMajor = adx >= ady;
  long long steps = xMajor ? adx : ady;
  long long minor = xMajor ? ady : adx;
  // Towards the top/left (negative direction) a tie rounds away from the start.
  bool negative = xMajor ? dy < 0 : dx < 0;
  // Only the steps whose major coordinate lies inside `limit` are walked.
  long long start = xMajor ? x0 : y0;
  int sign = xMajor ? sx : sy;
  long long lo = xMajor ? limit.left : limit.top, hi = xMajor ? limit.right : limit.bottom;
  long long first = sign > 0 ? lo - start : start - (hi - 1);
  long long last = sign > 0 ? hi - 1 - start : start - lo;
  first = first < 0 ? 0 : first;
  last = last > steps - 1 ? steps - 1 : last;
  if (first > last) return;
  long long twoSteps = 2 * steps;
  long long m, error;
  if (negative) {
    m = (2 * first * minor + steps) / twoSteps;
    error = 2 * first * minor + steps - (m + 1) * twoSteps;
  } else {
    long long num = 2 * first * minor - steps;
    m = num <= 0 ? 0 : (num + twoSteps - 1) / twoSteps;
    error = num - m * twoSteps;
  }
  for (long long i = first; i <= last; ++i) {
    if (xMajor)
      plot(static_cast<int>(x0 + i * sx), static_cast<int>(y0 + m * sy), i);
    else
      plot(static_cast<int>(x0 + m * sx), static_cast<int>(y0 + i * sy), i);
    error += 2 * minor;
    if (negative ? error >= 0 : error > 0) {
      ++m;
      error -= twoSteps;
    }
  }
}

bool PenDraws(const Dc& dc);
// One pen segment in canvas coordinates, end point excluded. A styled pen's
// pattern starts `phase` pixels in; the result is the phase after the
// segment, so that a path's segments continue one pattern.
long long StrokeSegment(const Raster& raster, const Dc& dc, int x0, int y0, int x1, int y1, long long phase = 0);

}  // namespace qz::gdi
