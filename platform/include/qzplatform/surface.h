// Pixel surfaces and the bridge between the window manager and the GDI:
// every top-level window owns one surface that it and its children draw on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../wingdi.h"
#include "region.h"

namespace qz {

// 32-bit pixels 0x00RRGGBB (blue in the lowest byte, as a 32-bit DIB), rows top-down.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  void Resize(int w, int h, uint32_t fill);
  uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// COLORREF (0x00BBGGRR) <-> surface pixel (0x00RRGGBB).
inline uint32_t PixelFromColor(COLORREF c) {
  return ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff);
}
inline COLORREF ColorFromPixel(uint32_t p) {
  return ((p & 0xff) << 16) | (p & 0xff00) | ((p >> 16) & 0xff);
}

// A device context drawing on `surface`, logical (0, 0) at `origin` (surface
// coordinates) and clipped to `clip` (surface coordinates). New DCs start
// with the platform's defaults. Released with DeleteDC. Window DCs are made
// by GetDC/BeginPaint through this call.
HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& clip);

// The surface and origin a DC draws on (memory DCs: their selected bitmap).
Surface* SurfaceOfDC(HDC hdc, POINT* origin);

// PNG files: write a surface-format image; read one as 0xAARRGGBB pixels
// (straight alpha; 0xff where the file has none).
bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels, int stride);
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels);

}  // namespace qz
