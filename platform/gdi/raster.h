// Pixel-level primitives: spans, boxes and pixels clipped to a DC's clip
// rectangles, combined with the destination through a binary raster operation.
#pragma once

#include <cstddef>
#include <cstdint>

#include "wingdi.h"

namespace qz::gdi {

struct Canvas {
  uint32_t* base = nullptr;  // row 0
  ptrdiff_t stride = 0;      // in pixels; negative for bottom-up memory
  int width = 0;
  int height = 0;
  uint32_t* Row(int y) const { return base + y * stride; }
};

struct Raster {
  Canvas canvas;
  const RECT* rects = nullptr;  // disjoint clip rectangles, canvas coordinates
  size_t count = 0;
  RECT limit{0, 0, 0, 0};  // clip bounds within the canvas (and any extra limit)
  POINT offset{0, 0};      // logical -> canvas
};

inline RECT Clamp(const RECT& a, const RECT& b) {
  return RECT{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
              a.bottom < b.bottom ? a.bottom : b.bottom};
}
inline bool IsEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// Combines pen colour p with destination d per R2_ code, on the RGB bits.
inline uint32_t ApplyRop2(int rop, uint32_t p, uint32_t d) {
  unsigned t = static_cast<unsigned>(rop - 1);
  uint32_t r = 0;
  if (t & 1) r |= ~p & ~d;
  if (t & 2) r |= ~p & d;
  if (t & 4) r |= p & ~d;
  if (t & 8) r |= p & d;
  return r & 0xFFFFFF;
}

// `src` over `dst` at 8-bit coverage a; the result has no alpha byte.
inline uint32_t MixPixel(uint32_t dst, uint32_t src, unsigned a) {
  uint32_t rb = ((src & 0xFF00FF) * a + (dst & 0xFF00FF) * (255 - a) + 0x800080) >> 8;
  uint32_t g = ((src & 0x00FF00) * a + (dst & 0x00FF00) * (255 - a) + 0x008000) >> 8;
  return (rb & 0xFF00FF) | (g & 0x00FF00);
}

bool Visible(const Raster& raster, int x, int y);
void PlotPixel(const Raster& raster, int x, int y, uint32_t pixel, int rop);
// Half-open box in canvas coordinates.
void FillBox(const Raster& raster, RECT box, uint32_t pixel, int rop);
// Pixels [x0, x1) of a canvas row combined with `pixel` by `rop`, unclipped.
void FillRow(uint32_t* row, int x0, int x1, uint32_t pixel, int rop);
// Pixels [x0, x1) of row y: a box one pixel high, as FillBox paints it.
inline void FillSpan(const Raster& raster, int y, int x0, int x1, uint32_t pixel, int rop) {
  if (raster.count != 1) {
    FillBox(raster, RECT{x0, y, x1, y + 1}, pixel, rop);
    return;
  }
  // A single clip rectangle holds the whole limit.
  const RECT& l = raster.limit;
  x0 = x0 > l.left ? x0 : l.left;
  x1 = x1 < l.right ? x1 : l.right;
  if (y >= l.top && y < l.bottom && x0 < x1) FillRow(raster.canvas.Row(y), x0, x1, pixel, rop);
}
// Mixes `pixel` into the canvas by 8-bit coverage, a w x h block at (x, y).
void BlendCoverage(const Raster& raster, int x, int y, const uint8_t* coverage, int w, int h, int pitch,
                   uint32_t pixel);
// Copies a w x h block of pixels (`pitch` pixels a row) to the canvas at (x, y).
void CopyPixels(const Raster& raster, int x, int y, const uint32_t* pixels, int w, int h, int pitch);
// Copies `rows` rows of n pixels, unclipped: row k of `in` (`inPitch` pixels
// apart) to row k of `out` (`outStride` pixels apart). Blocks must not overlap.
void CopyRows(uint32_t* out, ptrdiff_t outStride, const uint32_t* in, ptrdiff_t inPitch, int n, int rows);
// Restricts the raster's limit to `box` (canvas coordinates).
void LimitTo(Raster* raster, const RECT& box);

}  // namespace qz::gdi
