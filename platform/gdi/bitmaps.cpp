#include <cstring>

#include "dc.h"

namespace qz::gdi {
namespace {

// Large enough for any window or image the host handles, small enough that a
// bad size fails instead of exhausting memory.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

Bitmap* NewBitmap(int width, int height) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPixels) return nullptr;
  Bitmap* bitmap = new Bitmap;
  bitmap->surface.Resize(width, height, 0);
  return bitmap;
}

HBITMAP Register(Bitmap* bitmap) {
  if (!bitmap) return nullptr;
  HGDIOBJ handle = AddObject(OBJ_BITMAP, bitmap);
  if (!handle) delete bitmap;
  return static_cast<HBITMAP>(handle);
}

void CopyMonochrome(Bitmap* bitmap, const uint8_t* bits) {
  int w = bitmap->surface.width;
  int rowBytes = ((w + 15) / 16) * 2;  // monochrome rows are word-aligned
  for (int y = 0; y < bitmap->surface.height; ++y) {
    uint32_t* out = bitmap->surface.Row(y);
    const uint8_t* in = bits + static_cast<size_t>(y) * rowBytes;
    for (int x = 0; x < w; ++x) out[x] = (in[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFF : 0;
  }
}

}  // namespace
}  // namespace qz::gdi

using namespace qz::gdi;

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (hdc && !DcOf(hdc)) return nullptr;
  // A zero size gives the platform's 1x1 bitmap rather than failing.
  if (width == 0 || height == 0) width = height = 1;
  return Register(NewBitmap(width, height));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (planes != 1 || (bitCount != 1 && bitCount != 32)) return nullptr;
  if (width == 0 || height == 0) width = height = 1;
  Bitmap* bitmap = NewBitmap(width, height);
  if (!bitmap) return nullptr;
  if (bits && bitCount == 32)
    std::memcpy(bitmap->surface.pixels.data(), bits, bitmap->surface.pixels.size() * sizeof(uint32_t));
  else if (bits)
    CopyMonochrome(bitmap, static_cast<const uint8_t*>(bits));
  return Register(bitmap);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
  (void)section;
  (void)offset;
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || (hdc && !DcOf(hdc))) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biPlanes > 1 || h.biHeight == INT32_MIN) return nullptr;
  Bitmap* bitmap = NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight);
  if (!bitmap) return nullptr;
  bitmap->dibSection = true;
  bitmap->bottomUp = h.biHeight > 0;
  HBITMAP handle = Register(bitmap);
  if (handle && bits) *bits = bitmap->surface.pixels.data();
  return handle;
}
