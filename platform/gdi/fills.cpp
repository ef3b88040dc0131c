#include <algorithm>
#include <utility>

#include "dc.h"

using namespace qz::gdi;

namespace {

bool LogicalBox(const Raster& raster, const RECT* rect, RECT* box) {
  if (!rect) return false;
  *box = RECT{rect->left + raster.offset.x, rect->top + raster.offset.y, rect->right + raster.offset.x,
              rect->bottom + raster.offset.y};
  return !qz::IsEmptyRect(*box);
}

}  // namespace

// Fills with the brush alone: the selected pen, brush and ROP do not apply.
// A reversed rectangle (right < left or bottom < top) fills its normalised
// rectangle, as the platform's pattern blit does with a negative extent.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  Dc* dc = DcOf(hdc);
  Brush* b = BrushForFill(brush);
  if (!dc || !b || !rect) return 0;
  RECT normal{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom), std::max(rect->left, rect->right),
              std::max(rect->top, rect->bottom)};
  Raster raster;
  RECT box;
  if (!b->hollow && MakeRaster(*dc, &raster) && LogicalBox(raster, &normal, &box))
    FillBox(raster, box, b->pixel, R2_COPYPEN);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  Dc* dc = DcOf(hdc);
  Brush* b = BrushForFill(brush);
  if (!dc || !b || !rect) return 0;
  Raster raster;
  RECT box;
  if (b->hollow || !MakeRaster(*dc, &raster) || !LogicalBox(raster, rect, &box)) return 1;
  uint32_t p = b->pixel;
  FillBox(raster, RECT{box.left, box.top, box.right, box.top + 1}, p, R2_COPYPEN);
  if (box.bottom - box.top > 1) FillBox(raster, RECT{box.left, box.bottom - 1, box.right, box.bottom}, p, R2_COPYPEN);
  FillBox(raster, RECT{box.left, box.top + 1, box.left + 1, box.bottom - 1}, p, R2_COPYPEN);
  if (box.right - box.left > 1)
    FillBox(raster, RECT{box.right - 1, box.top + 1, box.right, box.bottom - 1}, p, R2_COPYPEN);
  return 1;
}

// Inverts every other pixel of the one-pixel frame (a checkerboard aligned to
// the canvas), so drawing it twice removes it.
BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  Dc* dc = DcOf(hdc);
  if (!dc || !rect) return FALSE;
  Raster raster;
  RECT box;
  if (!MakeRaster(*dc, &raster) || !LogicalBox(raster, rect, &box)) return TRUE;
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) PlotPixel(raster, x, y, 0xFFFFFF, R2_XORPEN);
  };
  int last = box.bottom - 1, right = box.right - 1;
  for (int x = box.left; x <= right; ++x) {
    dot(x, box.top);
    if (last != box.top) dot(x, last);
  }
  for (int y = box.top + 1; y < last; ++y) {
    dot(box.left, y);
    if (right != box.left) dot(right, y);
  }
  return TRUE;
}

// Sets the pixel directly, whatever the ROP; CLR_INVALID when it is clipped away.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Dc* dc = DcOf(hdc);
  Raster raster;
  if (!dc || !MakeRaster(*dc, &raster)) return CLR_INVALID;
  x += raster.offset.x;
  y += raster.offset.y;
  if (!Visible(raster, x, y)) return CLR_INVALID;
  raster.canvas.Row(y)[x] = qz::PixelFromColor(color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  Dc* dc = DcOf(hdc);
  Raster raster;
  if (!dc || !MakeReadRaster(*dc, &raster)) return CLR_INVALID;
  x += raster.offset.x;
  y += raster.offset.y;
  if (!Visible(raster, x, y)) return CLR_INVALID;
  return qz::ColorFromPixel(raster.canvas.Row(y)[x] & 0xFFFFFF);
}
