#include "raster.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "qzplatform/region.h"

namespace qz::gdi {
namespace {

constexpr ptrdiff_t kWideFillFrom = 16;
constexpr int kLibraryCopyFrom = 16;
// Rows from this wide are filled by the C library; narrower ones inline.
constexpr int kLibraryFillFrom = 128;

struct Quad {
  uint32_t p[4];
};

// Four pixels from `in` to `out`; unaligned, as two 16-byte moves.
inline void CopyQuad(uint32_t* out, const uint32_t* in) {
  Quad q;
  std::memcpy(&q, in, sizeof q);
  std::memcpy(out, &q, sizeof q);
}

// `rows` rows of n pixels set to `pixel`, the width class chosen once for
// the block: wide rows by the C library's vectorised fill (wchar_t is 32
// bits here), the rest by four-pixel moves, the last ones overlapping.
void FillRows(uint32_t* out, ptrdiff_t stride, int n, int rows, uint32_t pixel) {
  static_assert(sizeof(wchar_t) == sizeof(uint32_t));
  const Quad q{{pixel, pixel, pixel, pixel}};
  if (n >= kLibraryFillFrom) {
    for (; rows > 0; --rows, out += stride)
      std::wmemset(reinterpret_cast<wchar_t*>(out), static_cast<wchar_t>(pixel), static_cast<size_t>(n));
  } else if (n >= 16) {
    // Sixteen pixels a step, the last sixteen overlapping.
    for (; rows > 0; --rows, out += stride) {
      for (int k = 0; k + 16 < n; k += 16) {
        std::memcpy(out + k, &q, sizeof q);
        std::memcpy(out + k + 4, &q, sizeof q);
        std::memcpy(out + k + 8, &q, sizeof q);
        std::memcpy(out + k + 12, &q, sizeof q);
      }
      std::memcpy(out + n - 16, &q, sizeof q);
      std::memcpy(out + n - 12, &q, sizeof q);
      std::memcpy(out + n - 8, &q, sizeof q);
      std::memcpy(out + n - 4, &q, sizeof q);
    }
  } else if (n >= 4) {
    for (; rows > 0; --rows, out += stride) {
      for (int k = 0; k + 4 < n; k += 4) std::memcpy(out + k, &q, sizeof q);
      std::memcpy(out + n - 4, &q, sizeof q);
    }
  } else {
    for (; rows > 0; --rows, out += stride)
      for (int k = 0; k < n; ++k) out[k] = pixel;
  }
}

}  // namespace

// Copies `rows` rows of n pixels. Glyph rows are a few pixels wide, so the
// width class is chosen once for the block: from four pixels on, a row is
// covered by four-pixel moves whose last one overlaps what came before (the
// rows never overlap each other), and no row ends in a loop of single pixels.
void CopyRows(uint32_t* out, ptrdiff_t outStride, const uint32_t* in, ptrdiff_t inPitch, int n, int rows) {
  if (n >= kLibraryCopyFrom) {
    for (; rows > 0; --rows, out += outStride, in += inPitch)
      std::memcpy(out, in, static_cast<size_t>(n) * sizeof(uint32_t));
  } else if (n >= 8) {
    for (; rows > 0; --rows, out += outStride, in += inPitch) {
      CopyQuad(out, in);
      CopyQuad(out + 4, in + 4);
      CopyQuad(out + n - 8, in + n - 8);
      CopyQuad(out + n - 4, in + n - 4);
    }
  } else if (n >= 4) {
    for (; rows > 0; --rows, out += outStride, in += inPitch) {
      CopyQuad(out, in);
      CopyQuad(out + n - 4, in + n - 4);
    }
  } else {
    for (; rows > 0; --rows, out += outStride, in += inPitch)
      for (int k = 0; k < n; ++k) out[k] = in[k];
  }
}

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
    if (rop == R2_COPYPEN) {
      FillRows(raster.canvas.Row(c.top) + c.left, raster.canvas.stride, c.right - c.left, c.bottom - c.top, pixel);
      continue;
    }
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
    // A single clip rectangle holds the whole limit.
    RECT c = raster.count == 1 ? box : Clamp(box, raster.rects[i]);
    if (IsEmpty(c)) continue;
    const uint32_t* in = pixels + static_cast<ptrdiff_t>(c.top - y) * pitch + (c.left - x);
    CopyRows(raster.canvas.Row(c.top) + c.left, raster.canvas.stride, in, pitch, c.right - c.left, c.bottom - c.top);
  }
}

void LimitTo(Raster* raster, const RECT& box) {
  raster->limit = IntersectRects(raster->limit, box);
}

}  // namespace qz::gdi
