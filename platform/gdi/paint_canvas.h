// A DC's canvas held across the steps of one control's paint: the clip and
// canvas are looked up once instead of once per drawing call, the clip is
// narrowed for this paint alone, and opaque text over a fill that has just
// been made in its background colour is not filled a second time. What is
// drawn is exactly what the same FillRect, IntersectClipRect and TextOutA
// calls on the DC would draw.
#pragma once

#include "raster.h"
#include "windows.h"

namespace qz::gdi {

struct Dc;

class PaintCanvas {
 public:
  explicit PaintCanvas(HDC hdc);
  PaintCanvas(const PaintCanvas&) = delete;
  PaintCanvas& operator=(const PaintCanvas&) = delete;

  // FillRect with `brush`.
  void Fill(const RECT& rect, HBRUSH brush);
  // IntersectClipRect, for what is drawn through this canvas; the DC's own
  // clip is left as it is.
  void Clip(const RECT& rect);
  // TextOutA with the DC's font, colours, background mode and alignment.
  void Text(int x, int y, const char* text, int length);

 private:
  bool Ready();

  Dc* dc_;
  Raster raster_;
  bool made_ = false;
  bool visible_ = false;
  bool clipped_ = false;
  RECT clip_{0, 0, 0, 0};  // canvas coordinates
  // The part of the last fill that nothing has been drawn over since.
  bool hasGround_ = false;
  RECT groundBox_{0, 0, 0, 0};
  uint32_t groundPixel_ = 0;
};

// SetTextColor(text), SetBkColor(back) and SetBkMode(OPAQUE) in one step,
// as a control sets its default colours before it paints.
void SetOpaqueColors(HDC hdc, COLORREF text, COLORREF back);

}  // namespace qz::gdi
