#include "raster.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "qzplatform/region.h"

namespace qz::gdi {
namespace {

constexpr ptrdiff_t kWideFillFrom = 16;
constexpr int kLibraryCopyFrom = 16;

// Glyph rows are a few pixels wide: from four pixels on, four at a time,
// the last four overlapping what came before, so no row ends in a loop of
// single pixels. The rows never overlap each other.
void CopyShortRow(uint32_t* out, const uint32_t* in, int n) {
  struct Quad {
    uint32_t p[4];
  };
  if (n < 4) {
    for (int k = 0; k < n; ++k) out[k] = in[k];
    return;
  }
  Quad q;
  for (int k = 0; k + 4 < n; k += 4) {
    std::memcpy(&q, in + k, sizeof q);
    std::memcpy(out + k, &q, sizeof q);
  }
  std::memcpy(&q, in + n - 4, sizeof q);
  std::memcpy(out + n - 4, &q, sizeof q);
}

}  // namespace

void FillRow(uint32_t* row, int x0, int x1, uint32_t pixel, int rop) {
  uint32_t* p = row + x0;
  uint32_t* end = row + x1;
  switch (rop) {
    case R2_COPYPEN: {
      // The C library's wide fill is vectorised; wchar_t is 32 bits here.
      static_assert(sizeof(wchar_t) == sizeof(uint32_t));
      if (end - p >= kWideFillFrom) {
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(pixel), static_cast<size_t>(end - p));
        break;
      }
      uint64_t pair = uint64_t{pixel} << 32 | pixel;
      for (; p + 4 <= end; p += 4) {
        std::memcpy(p, &pair, sizeof(pair));
        std::memcpy(p + 2, &pair, sizeof(pair));
      }
      for (; p < end; ++p) *p = pixel;
      break;
    }
    case R2_XORPEN: {
      uint64_t pair = uint64_t{pixel} << 32 | pixel;
      for (; p + 2 <= end; p += 2) {
        uint64_t d;
        std::memcpy(&d, p, sizeof(d));
        d ^= pair;
        std::memcpy(p, &d, sizeof(d));
      }
      if (p < end) *p ^= pixel;
      break;
    }
    case R2_NOP:
      break;
    default:
      for (; p < end; ++p) *p = ApplyRop2(rop, pixel, *p);
      break;
  }
}

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
          out[k] = MixPixel(out[k], pixel, a);
      }
    }
  }
}

void CopyPixels(const Raster& raster, int x, int y, const uint32_t* pixels, int w, int h, int pitch) {
  RECT box = Clamp(RECT{x, y, x + w, y + h}, raster.limit);
  if (IsEmpty(box)) return;
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = Clamp(box, raster.rects[i]);
    if (IsEmpty(c)) continue;
    int n = c.right - c.left;
    for (int row = c.top; row < c.bottom; ++row) {
      const uint32_t* in = pixels + static_cast<ptrdiff_t>(row - y) * pitch + (c.left - x);
      uint32_t* out = raster.canvas.Row(row) + c.left;
      // Glyph rows are a few pixels wide: a call would cost more than the copy.
      if (n >= kLibraryCopyFrom)
        std::memcpy(out, in, static_cast<size_t>(n) * sizeof(uint32_t));
      else
        CopyShortRow(out, in, n);
    }
  }
}

void LimitTo(Raster* raster, const RECT& box) {
  raster->limit = IntersectRects(raster->limit, box);
}

}  // namespace qz::gdi
