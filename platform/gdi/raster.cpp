#include "raster.h"

#include <algorithm>
#include <cstring>

#include "qzplatform/region.h"

namespace qz::gdi {
namespace {

// Inline twins of the region helpers: these run for every span drawn.
inline RECT Clamp(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}
inline bool IsEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

void FillRow(uint32_t* row, int x0, int x1, uint32_t pixel, int rop) {
  uint32_t* p = row + x0;
  uint32_t* end = row + x1;
  switch (rop) {
    case R2_COPYPEN: {
      uint64_t pair = uint64_t{pixel} << 32 | pixel;
      for (; p + 4 <= end; p += 4) {
        std::memcpy(p, &pair, sizeof(pair));
        std::memcpy(p + 2, &pair, sizeof(pair));
      }
      for (; p < end; ++p) *p = pixel;
      break;
    }
    case R2_XORPEN:
      for (; p < end; ++p) *p ^= pixel;
      break;
    case R2_NOP:
      break;
    default:
      for (; p < end; ++p) *p = ApplyRop2(rop, pixel, *p);
      break;
  }
}

inline uint32_t Mix(uint32_t dst, uint32_t src, unsigned a) {
  uint32_t rb = ((src & 0xFF00FF) * a + (dst & 0xFF00FF) * (255 - a) + 0x800080) >> 8;
  uint32_t g = ((src & 0x00FF00) * a + (dst & 0x00FF00) * (255 - a) + 0x008000) >> 8;
  return (rb & 0xFF00FF) | (g & 0x00FF00);
}

}  // namespace

bool Visible(const Raster& raster, int x, int y) {
  const RECT& l = raster.limit;
  if (x < l.left || x >= l.right || y < l.top || y >= l.bottom) return false;
  for (size_t i = 0; i < raster.count; ++i) {
    const RECT& r = raster.rects[i];
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

void PlotPixel(const Raster& raster, int x, int y, uint32_t pixel, int rop) {
  if (!Visible(raster, x, y)) return;
  uint32_t* p = raster.canvas.Row(y) + x;
  *p = rop == R2_COPYPEN ? pixel : ApplyRop2(rop, pixel, *p);
}

void FillBox(const Raster& raster, RECT box, uint32_t pixel, int rop) {
  box = Clamp(box, raster.limit);
  if (IsEmpty(box) || rop == R2_NOP) return;
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = Clamp(box, raster.rects[i]);
    if (IsEmpty(c)) continue;
    for (int y = c.top; y < c.bottom; ++y) FillRow(raster.canvas.Row(y), c.left, c.right, pixel, rop);
  }
}

void BlendCoverage(const Raster& raster, int x, int y, const uint8_t* coverage, int w, int h, int pitch,
                   uint32_t pixel) {
  RECT box = Clamp(RECT{x, y, x + w, y + h}, raster.limit);
  if (IsEmpty(box)) return;
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = Clamp(box, raster.rects[i]);
    if (IsEmpty(c)) continue;
    for (int row = c.top; row < c.bottom; ++row) {
      const uint8_t* in = coverage + static_cast<ptrdiff_t>(row - y) * pitch + (c.left - x);
      uint32_t* out = raster.canvas.Row(row) + c.left;
      for (int k = 0; k < c.right - c.left; ++k) {
        unsigned a = in[k];
        if (a == 255)
          out[k] = pixel;
        else if (a)
          out[k] = Mix(out[k], pixel, a);
      }
    }
  }
}

void LimitTo(Raster* raster, const RECT& box) {
  raster->limit = IntersectRects(raster->limit, box);
}

}  // namespace qz::gdi
