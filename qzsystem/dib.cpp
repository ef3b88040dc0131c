#include "qzsystem/dib.h"

#include <algorithm>
#include <cstring>

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

  // Merging a picture onto itself reads each pixel before it is written
  // when rows and columns run away from the overlap.
  const bool down = source != this || y <= srcY;
  const bool right = source != this || x <= srcX;
  for (int row = 0; row < height; ++row) {
    const int r = down ? row : height - 1 - row;
    const uint32_t* from = source->Bits + static_cast<size_t>(srcY + r) * source->Width + srcX;
    uint32_t* to = Bits + static_cast<size_t>(y + r) * Width + x;
    if (right) {
      for (int i = 0; i < width; ++i) to[i] = BlendPixel(to[i], from[i]);
    } else {
      for (int i = width - 1; i >= 0; --i) to[i] = BlendPixel(to[i], from[i]);
    }
  }
}
