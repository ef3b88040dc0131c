#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dc.h"

namespace qz::gdi {
namespace {

constexpr DWORD kNotSrcCopy = 0x00330008;
constexpr DWORD kPatInvert = 0x005A0049;

// Ternary raster operations are truth tables over pattern, source and
// destination bits (P = 0xF0, S = 0xCC, D = 0xAA), held in bits 16-23.
inline unsigned RopIndex(DWORD rop) {
  return (rop >> 16) & 0xFF;
}
inline bool UsesSource(DWORD rop) {
  return ((RopIndex(rop) >> 2) & 0x33) != (RopIndex(rop) & 0x33);
}

uint32_t Ternary(unsigned index, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (unsigned k = 0; k < 8; ++k) {
    if (!(index & (1u << k))) continue;
    r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

// Copies n pixels without their top byte, four at a time: the copy of a
// thumb band runs for every drag step. The rows must not overlap, so a last
// group of four may reach back over pixels already copied.
[[gnu::always_inline]] inline void CopyOpaqueRow(uint32_t* dst, const uint32_t* src, int n) {
  typedef uint32_t Quad __attribute__((vector_size(16)));
  constexpr Quad kOpaque = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  const auto copyQuad = [&](int i) {
    Quad quad;
    std::memcpy(&quad, src + i, sizeof quad);
    quad &= kOpaque;
    std::memcpy(dst + i, &quad, sizeof quad);
  };
  if (n < 4) {
    for (int i = 0; i < n; ++i) dst[i] = src[i] & 0xFFFFFF;
    return;
  }
  int i = 0;
  for (; i + 4 <= n; i += 4) copyQuad(i);
  if (i < n) copyQuad(n - 4);
}

// SRCCOPY onto a window from another canvas, the copy of every paint from
// an off-screen picture: clip rectangles side by side in one band (an update
// region of two overlapping rectangles) are copied as one span per row.
void CopyOpaqueRects(const Raster& raster, const RECT& clipped, const Canvas& source, int64_t shiftX, int64_t shiftY) {
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = qz::IntersectRects(clipped, raster.rects[i]);
    if (qz::IsEmptyRect(c)) continue;
    for (; i + 1 < raster.count; ++i) {
      const RECT next = qz::IntersectRects(clipped, raster.rects[i + 1]);
      if (next.top != c.top || next.bottom != c.bottom || (next.left != c.right && next.right != c.left)) break;
      c.left = std::min(c.left, next.left);
      c.right = std::max(c.right, next.right);
    }
    const int n = c.right - c.left;
    uint32_t* out = raster.canvas.Row(c.top) + c.left;
    const uint32_t* in = source.Row(static_cast<int>(c.top + shiftY)) + static_cast<int>(c.left + shiftX);
    for (int row = c.top; row < c.bottom; ++row, out += raster.canvas.stride, in += source.stride)
      CopyOpaqueRow(out, in, n);
  }
}

// Applies `rop` to n pixels; `src` may be null when the ROP ignores it.
// `opaqueOnly` drops the top byte: surfaces have no alpha channel.
void BlitRow(uint32_t* dst, const uint32_t* src, int n, DWORD rop, uint32_t pattern, bool opaqueOnly) {
  switch (rop) {
    case SRCCOPY:
      if (opaqueOnly) {
        if (dst <= src || dst >= src + n) {
          CopyOpaqueRow(dst, src, n);
        } else {
          for (int i = n - 1; i >= 0; --i) dst[i] = src[i] & 0xFFFFFF;
        }
      } else {
        std::memmove(dst, src, static_cast<size_t>(n) * sizeof(uint32_t));
      }
      return;
    case SRCPAINT:
      for (int i = 0; i < n; ++i) dst[i] = (dst[i] | src[i]) & 0xFFFFFF;
      return;
    case SRCAND:
      for (int i = 0; i < n; ++i) dst[i] = (dst[i] & src[i]) & 0xFFFFFF;
      return;
    case SRCINVERT:
      for (int i = 0; i < n; ++i) dst[i] = (dst[i] ^ src[i]) & 0xFFFFFF;
      return;
    case kNotSrcCopy:
      for (int i = 0; i < n; ++i) dst[i] = ~src[i] & 0xFFFFFF;
      return;
    case PATCOPY:
      std::fill(dst, dst + n, pattern);
      return;
    case kPatInvert:
      for (int i = 0; i < n; ++i) dst[i] = (dst[i] ^ pattern) & 0xFFFFFF;
      return;
    case DSTINVERT:
      for (int i = 0; i < n; ++i) dst[i] = ~dst[i] & 0xFFFFFF;
      return;
    case BLACKNESS:
      std::fill(dst, dst + n, 0u);
      return;
    case WHITENESS:
      std::fill(dst, dst + n, 0xFFFFFFu);
      return;
    default: {
      unsigned index = RopIndex(rop);
      for (int i = 0; i < n; ++i) dst[i] = Ternary(index, pattern, src ? src[i] : 0, dst[i]);
    }
  }
}

uint32_t PatternOf(const Dc& dc) {
  return dc.brush && !dc.brush->hollow ? dc.brush->pixel : 0;
}

// A half-open box in 64-bit canvas coordinates: blit arguments are any ints,
// and their sums and differences need more room than an int.
struct Box {
  int64_t left, top, right, bottom;
  Box Sized(int64_t width, int64_t height) const { return Box{left, top, left + width, top + height}; }
  bool Empty() const { return left >= right || top >= bottom; }
  // Only for a box clipped to a canvas, whose sides fit in an int.
  RECT Rect() const {
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
  }
};

Box BoxOf(const RECT& r) {
  return Box{r.left, r.top, r.right, r.bottom};
}

Box Intersect(const Box& a, const Box& b) {
  return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
}

}  // namespace
}  // namespace qz::gdi

using namespace qz::gdi;

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  Dc* d = DcOf(dest);
  if (!d) return FALSE;
  bool usesSource = UsesSource(rop);
  Dc* s = usesSource ? DcOf(src) : nullptr;
  if (usesSource && !s) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;
  if (rop == PATCOPY && (!d->brush || d->brush->hollow)) return TRUE;
  Raster raster;
  if (!MakeRaster(*d, &raster)) return TRUE;
  // Any int arguments are valid: the box and the shifts are worked out in
  // 64 bits and clipped to the canvas before they become pixel positions.
  Box box{int64_t{x} + raster.offset.x, int64_t{y} + raster.offset.y, 0, 0};
  box.right = box.left + width;
  box.bottom = box.top + height;
  Canvas source;
  int64_t shiftX = 0, shiftY = 0;  // destination canvas -> source canvas
  if (usesSource) {
    if (!CanvasOf(*s, &source)) return TRUE;
    POINT so = LogicalOffset(*s);
    shiftX = int64_t{srcX} + so.x - box.left;
    shiftY = int64_t{srcY} + so.y - box.top;
    // Only what the source has can be copied.
    box = Intersect(box, Box{-shiftX, -shiftY, source.width - shiftX, source.height - shiftY});
  }
  box = Intersect(box, BoxOf(raster.limit));
  if (box.Empty()) return TRUE;
  const RECT clipped = box.Rect();
  bool opaqueOnly = d->type == OBJ_DC;
  if (rop == SRCCOPY && opaqueOnly && source.base != raster.canvas.base) {
    CopyOpaqueRects(raster, clipped, source, shiftX, shiftY);
    return TRUE;
  }
  uint32_t pattern = PatternOf(*d);
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = qz::IntersectRects(clipped, raster.rects[i]);
    if (qz::IsEmptyRect(c)) continue;
    const int n = c.right - c.left;
    const int rows = c.bottom - c.top;
    // Copying within one canvas downwards must read rows before they are overwritten.
    const bool upward = usesSource && source.base == raster.canvas.base && shiftY < 0;
    const int first = upward ? c.bottom - 1 : c.top;
    uint32_t* out = raster.canvas.Row(first) + c.left;
    const ptrdiff_t outStep = upward ? -raster.canvas.stride : raster.canvas.stride;
    if (!usesSource) {
      for (int k = 0; k < rows; ++k, out += outStep) BlitRow(out, nullptr, n, rop, pattern, opaqueOnly);
      continue;
    }
    const uint32_t* in = source.Row(static_cast<int>(first + shiftY)) + static_cast<int>(c.left + shiftX);
    const ptrdiff_t inStep = upward ? -source.stride : source.stride;
    for (int k = 0; k < rows; ++k, out += outStep, in += inStep) BlitRow(out, in, n, rop, pattern, opaqueOnly);
  }
  return TRUE;
}

// Nearest-neighbour; a negative width or height on one side mirrors the image.
// Extents and positions are taken in 64 bits, so any int arguments (INT_MIN
// extents included) are clipped, never overflowed.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                DWORD rop) {
  if (width == srcWidth && height == srcHeight && width > 0 && height > 0)
    return BitBlt(dest, x, y, width, height, src, srcX, srcY, rop);
  Dc* d = DcOf(dest);
  if (!d) return FALSE;
  bool usesSource = UsesSource(rop);
  Dc* s = usesSource ? DcOf(src) : nullptr;
  if (usesSource && !s) return FALSE;
  if (width == 0 || height == 0 || (usesSource && (srcWidth == 0 || srcHeight == 0))) return TRUE;
  // A negative extent runs from the given pixel backwards, that pixel included.
  const int64_t dw = width < 0 ? -int64_t{width} : width, dh = height < 0 ? -int64_t{height} : height;
  const int64_t dx0 = width < 0 ? int64_t{x} + width + 1 : x, dy0 = height < 0 ? int64_t{y} + height + 1 : y;
  if (!usesSource) {
    if (rop == PATCOPY && (!d->brush || d->brush->hollow)) return TRUE;
    Raster raster;
    if (!MakeRaster(*d, &raster)) return TRUE;
    Box box = Intersect(Box{dx0 + raster.offset.x, dy0 + raster.offset.y, 0, 0}.Sized(dw, dh), BoxOf(raster.limit));
    if (box.Empty()) return TRUE;
    const RECT clipped = box.Rect();
    bool opaqueOnly = d->type == OBJ_DC;
    uint32_t pattern = PatternOf(*d);
    for (size_t i = 0; i < raster.count; ++i) {
      RECT c = qz::IntersectRects(clipped, raster.rects[i]);
      for (int row = c.top; row < c.bottom; ++row)
        BlitRow(raster.canvas.Row(row) + c.left, nullptr, c.right - c.left, rop, pattern, opaqueOnly);
    }
    return TRUE;
  }
  bool mirrorX = (width < 0) != (srcWidth < 0), mirrorY = (height < 0) != (srcHeight < 0);
  const int64_t sw = srcWidth < 0 ? -int64_t{srcWidth} : srcWidth, sh = srcHeight < 0 ? -int64_t{srcHeight} : srcHeight;
  const int64_t sx0 = srcWidth < 0 ? int64_t{srcX} + srcWidth + 1 : srcX;
  const int64_t sy0 = srcHeight < 0 ? int64_t{srcY} + srcHeight + 1 : srcY;
  Raster raster;
  Canvas source;
  if (!MakeRaster(*d, &raster) || !CanvasOf(*s, &source)) return TRUE;
  POINT so = LogicalOffset(*s);
  const int64_t left = dx0 + raster.offset.x, top = dy0 + raster.offset.y;
  Box box = Intersect(Box{left, top, 0, 0}.Sized(dw, dh), BoxOf(raster.limit));
  if (box.Empty()) return TRUE;
  const RECT clipped = box.Rect();
  // i < destSize <= 2^31 and srcSize <= 2^31, so the product stays below 2^63.
  auto sourceIndex = [](int64_t i, int64_t destSize, int64_t srcSize, bool mirror) {
    int64_t k = (2 * i + 1) * srcSize / (2 * destSize);
    return mirror ? srcSize - 1 - k : k;
  };
  // The source column of each destination column, or -1 outside the source.
  static std::vector<int>* columns = new std::vector<int>;
  columns->resize(static_cast<size_t>(clipped.right - clipped.left));
  for (int col = clipped.left; col < clipped.right; ++col) {
    const int64_t sx = sx0 + so.x + sourceIndex(col - left, dw, sw, mirrorX);
    (*columns)[static_cast<size_t>(col - clipped.left)] = sx >= 0 && sx < source.width ? static_cast<int>(sx) : -1;
  }
  bool opaqueOnly = d->type == OBJ_DC;
  uint32_t pattern = PatternOf(*d);
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = qz::IntersectRects(clipped, raster.rects[i]);
    for (int row = c.top; row < c.bottom; ++row) {
      const int64_t sy = sy0 + so.y + sourceIndex(row - top, dh, sh, mirrorY);
      if (sy < 0 || sy >= source.height) continue;
      const uint32_t* in = source.Row(static_cast<int>(sy));
      uint32_t* out = raster.canvas.Row(row);
      for (int col = c.left; col < c.right; ++col) {
        int sx = (*columns)[static_cast<size_t>(col - clipped.left)];
        if (sx < 0) continue;
        uint32_t pixel = in[sx];
        BlitRow(out + col, &pixel, 1, rop, pattern, opaqueOnly);
      }
    }
  }
  return TRUE;
}

// Bottom-up DIBs address their rows from the bottom (srcY is the lowest row
// drawn); `bits` holds `lines` rows starting at row `startScan`.
int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int srcX, int srcY, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  Dc* d = DcOf(hdc);
  if (!d || !bits || !info || usage != DIB_RGB_COLORS) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if ((h.biBitCount != 32 && h.biBitCount != 24) || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == INT32_MIN)
    return 0;
  bool bottomUp = h.biHeight > 0;
  int64_t dibHeight = bottomUp ? h.biHeight : -int64_t{h.biHeight};
  int64_t rowBytes = h.biBitCount == 32 ? int64_t{h.biWidth} * 4 : (int64_t{h.biWidth} * 3 + 3) & ~int64_t{3};
  if (width > INT32_MAX || height > INT32_MAX) return 0;
  Raster raster;
  if (!MakeRaster(*d, &raster)) return static_cast<int>(lines);
  int64_t firstScan = startScan, endScan = std::min<int64_t>(int64_t{startScan} + lines, dibHeight);
  RECT box = qz::IntersectRects(RECT{x + raster.offset.x, y + raster.offset.y,
                                     static_cast<LONG>(x + raster.offset.x + static_cast<int64_t>(width)),
                                     static_cast<LONG>(y + raster.offset.y + static_cast<int64_t>(height))},
                                raster.limit);
  // Columns the DIB has.
  int columnShift = srcX - (x + raster.offset.x);
  box = qz::IntersectRects(box, RECT{-columnShift, box.top, h.biWidth - columnShift, box.bottom});
  if (qz::IsEmptyRect(box)) return static_cast<int>(lines);
  bool opaqueOnly = d->type == OBJ_DC;
  const uint8_t* base = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < raster.count; ++i) {
    RECT c = qz::IntersectRects(box, raster.rects[i]);
    for (int row = c.top; row < c.bottom; ++row) {
      int64_t j = row - (y + raster.offset.y);
      int64_t scan = bottomUp ? srcY + (int64_t{height} - 1 - j) : srcY + j;
      if (scan < firstScan || scan >= endScan) continue;
      const uint8_t* in = base + (scan - firstScan) * rowBytes;
      uint32_t* out = raster.canvas.Row(row);
      for (int col = c.left; col < c.right; ++col) {
        const uint8_t* p = in + static_cast<int64_t>(col + columnShift) * (h.biBitCount / 8);
        uint32_t pixel = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
        if (h.biBitCount == 32 && !opaqueOnly) pixel |= uint32_t{p[3]} << 24;
        out[col] = pixel;
      }
    }
  }
  return static_cast<int>(lines);
}
