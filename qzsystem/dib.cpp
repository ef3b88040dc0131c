#include "qzsystem/dib.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

DIB::DIB(int width, int height) {
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return;
  }
  Bitmap = bitmap;
  Bits = static_cast<uint32_t*>(bits);
  // A new DIB section's bits are already zero: transparent black.
  Width = width;
  Height = height;
}

DIB::~DIB() {
  if (Bitmap) DeleteObject(Bitmap);
}

DIB* DIB::Copy() const {
  if (!Bits) return nullptr;
  DIB* copy = new DIB(Width, Height);
  if (!copy->Bits) {
    delete copy;
    return nullptr;
  }
  std::memcpy(copy->Bits, Bits, sizeof(uint32_t) * static_cast<size_t>(Width) * Height);
  return copy;
}

void DIB::Draw(HDC hdc, int x, int y) const {
  if (!Bits || !hdc) return;
  const BITMAPINFO info = TopDownInfo(Width, Height);
  SetDIBitsToDevice(hdc, x, y, Width, Height, 0, 0, 0, Height, Bits, &info, DIB_RGB_COLORS);
}

namespace {

// Four pixels of Merge at once when they are all wholly opaque (copied) or
// all wholly clear (kept, made opaque); false, with nothing written,
// otherwise. Doing either twice gives the same pixels as doing it once.
inline bool MergeQuad(uint32_t* to, const uint32_t* from) {
  const uint32_t a = from[0], b = from[1], c = from[2], d = from[3];
  if ((a & b & c & d) >= 0xff000000u) {
    to[0] = a;
    to[1] = b;
    to[2] = c;
    to[3] = d;
    return true;
  }
  if ((a | b | c | d) <= 0x00ffffffu) {
    for (int k = 0; k < 4; ++k) to[k] |= 0xff000000u;
    return true;
  }
  return false;
}

// True when every pixel of the row is wholly opaque, as are most rows of a
// thumb picture.
inline bool AllOpaque(const uint32_t* from, int width) {
#ifdef __SSE2__
  if (width >= 4) {
    const auto load = [from](int i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)); };
    __m128i all = load(width - 4);
    for (int i = 0; i + 4 <= width; i += 4) all = _mm_and_si128(all, load(i));
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xff000000u));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alpha), alpha)) == 0xffff;
  }
#endif
  uint32_t all = 0xffffffffu;
  for (int i = 0; i < width; ++i) all &= from[i];
  return all >= 0xff000000u;
}

// One row of Merge, left to right. Pictures such as a slider's thumb are
// mostly wholly opaque or wholly clear: four such pixels at a time are
// copied or kept, and only the edges are blended one by one. When the row
// does not overlap itself, a last group of four may reach back over pixels
// already merged, as merging those again changes nothing.
[[gnu::always_inline]] inline void MergeRow(uint32_t* to, const uint32_t* from, int width, bool separate) {
  if (separate && AllOpaque(from, width)) {
    std::memcpy(to, from, sizeof(uint32_t) * static_cast<size_t>(width));
    return;
  }
  int i = 0;
  for (; i + 4 <= width; i += 4)
    if (!MergeQuad(to + i, from + i))
      for (int k = i; k < i + 4; ++k) to[k] = BlendPixel(to[k], from[k]);
  if (i == width) return;
  if (separate && width >= 4 && MergeQuad(to + width - 4, from + width - 4)) return;
  for (; i < width; ++i) to[i] = BlendPixel(to[i], from[i]);
}

}  // namespace

void DIB::Merge(const DIB* source, int x, int y, int srcX, int srcY, int width, int height) {
  if (!source || !source->Bits || !Bits) return;
  // Clip the rectangle against the source, then against this picture.
  if (srcX < 0) {
    width += srcX;
    x -= srcX;
    srcX = 0;
  }
  if (srcY < 0) {
    height += srcY;
    y -= srcY;
    srcY = 0;
  }
  if (x < 0) {
    width += x;
    srcX -= x;
    x = 0;
  }
  if (y < 0) {
    height += y;
    srcY -= y;
    y = 0;
  }
  width = std::min({width, source->Width - srcX, Width - x});
  height = std::min({height, source->Height - srcY, Height - y});
  if (width <= 0 || height <= 0) return;

  if (source != this) {
    const uint32_t* from = source->Bits + static_cast<size_t>(srcY) * source->Width + srcX;
    uint32_t* to = Bits + static_cast<size_t>(y) * Width + x;
    for (int row = 0; row < height; ++row, from += source->Width, to += Width) MergeRow(to, from, width, true);
    return;
  }
  // Merging a picture onto itself reads each pixel before it is written
  // when rows and columns run away from the overlap.
  const bool down = y <= srcY;
  const bool right = x <= srcX;
  for (int row = 0; row < height; ++row) {
    const int r = down ? row : height - 1 - row;
    const uint32_t* from = source->Bits + static_cast<size_t>(srcY + r) * source->Width + srcX;
    uint32_t* to = Bits + static_cast<size_t>(y + r) * Width + x;
    if (right) {
      MergeRow(to, from, width, false);
    } else {
      for (int i = width - 1; i >= 0; --i) to[i] = BlendPixel(to[i], from[i]);
    }
  }
}
