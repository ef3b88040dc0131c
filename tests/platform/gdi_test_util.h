// A memory DC drawing on a top-down 32-bit DIB section whose pixels the tests read.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "qzplatform/surface.h"
#include "windows.h"

namespace gditest {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

inline BITMAPINFO DibInfo(int width, int height, bool topDown) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = topDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill = kWhite) : width_(width), height_(height) {
    BITMAPINFO info = DibInfo(width, height, true);
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  uint32_t* bits() { return bits_; }
  void Fill(uint32_t pixel) {
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
  }
  uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  void Set(int x, int y, uint32_t pixel) { bits_[y * width_ + x] = pixel; }
  std::vector<uint32_t> Pixels() const { return std::vector<uint32_t>(bits_, bits_ + width_ * height_); }

  // Every pixel that differs from `background`.
  std::vector<POINT> Marked(uint32_t background = kWhite) const {
    std::vector<POINT> out;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) != background) out.push_back(POINT{x, y});
    return out;
  }
  RECT MarkedBounds(uint32_t background = kWhite) const {
    RECT r{width_, height_, 0, 0};
    for (const POINT& p : Marked(background)) {
      r.left = std::min<LONG>(r.left, p.x);
      r.top = std::min<LONG>(r.top, p.y);
      r.right = std::max<LONG>(r.right, p.x + 1);
      r.bottom = std::max<LONG>(r.bottom, p.y + 1);
    }
    return r;
  }
  int Count(uint32_t pixel) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == pixel;
    return n;
  }
  // '.' for the background, '#' for anything else: readable failure output.
  std::string Picture(uint32_t background = kWhite) const {
    std::ostringstream s;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) s << (At(x, y) == background ? '.' : '#');
      s << '\n';
    }
    return s.str();
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

inline bool operator==(const POINT& a, const POINT& b) {
  return a.x == b.x && a.y == b.y;
}
inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::string ToString(const RECT& r) {
  std::ostringstream s;
  s << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
  return s.str();
}

// Clips the DC to the union of `rects`.
inline void ClipToRects(HDC dc, std::span<const RECT> rects) {
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(clip, clip, part, RGN_OR);
    DeleteObject(part);
  }
  SelectClipRgn(dc, clip);
  DeleteObject(clip);
}
inline bool InsideAny(std::span<const RECT> rects, int x, int y) {
  for (const RECT& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

// Selects a pen for the lifetime of the object and deletes it afterwards.
class ScopedPen {
 public:
  ScopedPen(HDC dc, int style, int width, COLORREF color) : dc_(dc), pen_(CreatePen(style, width, color)) {
    old_ = SelectObject(dc, pen_);
  }
  ~ScopedPen() {
    SelectObject(dc_, old_);
    DeleteObject(pen_);
  }

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ old_;
};

}  // namespace gditest
