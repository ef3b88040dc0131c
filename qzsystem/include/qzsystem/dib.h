// 32-bit pictures with alpha, backed by a platform DIB section.
#pragma once

#include <cstdint>

#include "windows.h"

// Pixels are 0xAARRGGBB, rows top-down, Width pixels per row. The bitmap
// can be selected into a memory DC; drawing through the platform ignores
// alpha.
class DIB {
 public:
  // All pixels 0 (transparent black). When the platform cannot make the
  // section, Bits and Bitmap are null and Width and Height are 0.
  DIB(int width, int height);
  ~DIB();
  DIB(const DIB&) = delete;
  DIB& operator=(const DIB&) = delete;

  int Width = 0;
  int Height = 0;
  uint32_t* Bits = nullptr;
  HBITMAP Bitmap = nullptr;

  // A new DIB with the same pixels, or null.
  DIB* Copy() const;
  // Copies the pixels onto the DC with (x, y) as the top-left corner.
  void Draw(HDC hdc, int x, int y) const;
  // Blends the source rectangle (srcX, srcY, width, height) onto this DIB at
  // (x, y), clipped to both pictures: per channel dst = src * a + dst *
  // (1 - a) with the source's straight alpha a, rounded; the result is
  // opaque. Alpha 0 leaves the colour and 255 copies it exactly.
  void Merge(const DIB* source, int x, int y, int srcX, int srcY, int width, int height);
};

// One pixel of Merge.
inline uint32_t BlendPixel(uint32_t dst, uint32_t src) {
  const uint32_t a = src >> 24;
  if (a == 0xff) return src | 0xff000000u;
  if (a == 0) return dst | 0xff000000u;
  const uint32_t b = 0xff - a;
  // Red and blue share one multiply; each 16-bit lane stays below 65536.
  uint32_t rb = (src & 0xff00ffu) * a + (dst & 0xff00ffu) * b + 0x800080u;
  rb = ((rb + ((rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
  uint32_t g = ((src >> 8) & 0xffu) * a + ((dst >> 8) & 0xffu) * b + 0x80u;
  g = ((g + (g >> 8)) >> 8) & 0xffu;
  return 0xff000000u | rb | (g << 8);
}
