#include <utility>

#include "dc.h"
#include "winuser.h"

using namespace qz::gdi;

namespace {

struct RingColors {
  int lt;  // COLOR_ index of the top and left sides
  int rb;  // and of the bottom and right sides (and the top-right and bottom-left corners)
};

RingColors OuterColors(UINT edge) {
  if (edge & BDR_RAISEDOUTER) return {COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  return {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
}

RingColors InnerColors(UINT edge) {
  if (edge & BDR_RAISEDINNER) return {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
  return {COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

void Fill(const Raster& raster, int left, int top, int right, int bottom, int color) {
  FillBox(raster, RECT{left, top, right, bottom}, qz::PixelFromColor(GetSysColor(color)), R2_COPYPEN);
}

// Draws the sides named in `flags` one pixel wide around `box` and moves
// those sides of `box` inwards by one.
void Ring(const Raster& raster, RECT* box, UINT flags, RingColors colors) {
  RECT b = *box;
  if (qz::IsEmptyRect(b)) return;
  // The top-right and bottom-left corners belong to the bottom/right colour
  // when that side is drawn.
  int topRight = (flags & BF_RIGHT) ? b.right - 1 : b.right;
  int leftBottom = (flags & BF_BOTTOM) ? b.bottom - 1 : b.bottom;
  if (flags & BF_TOP) Fill(raster, b.left, b.top, topRight, b.top + 1, colors.lt);
  if (flags & BF_LEFT) Fill(raster, b.left, b.top, b.left + 1, leftBottom, colors.lt);
  if (flags & BF_RIGHT) Fill(raster, b.right - 1, b.top, b.right, b.bottom, colors.rb);
  if (flags & BF_BOTTOM) Fill(raster, b.left, b.bottom - 1, b.right, b.bottom, colors.rb);
  if (flags & BF_LEFT) ++box->left;
  if (flags & BF_TOP) ++box->top;
  if (flags & BF_RIGHT) --box->right;
  if (flags & BF_BOTTOM) --box->bottom;
}

}  // namespace

// BF_MONO draws a black outer and window-coloured inner ring, BF_FLAT a
// shadow outer and face-coloured inner ring; BF_MIDDLE then fills with the
// inner ring's colour (button face for 3-D edges).
BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  Dc* dc = DcOf(hdc);
  if (!dc || !rect) return FALSE;
  RingColors outer = OuterColors(edge), inner = InnerColors(edge);
  int middle = COLOR_BTNFACE;
  if (flags & BF_MONO) {
    outer = {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    inner = {COLOR_WINDOW, COLOR_WINDOW};
    middle = COLOR_WINDOW;
  }
  if (flags & BF_FLAT) {
    outer = {COLOR_BTNSHADOW, COLOR_BTNSHADOW};
    inner = {COLOR_BTNFACE, COLOR_BTNFACE};
    middle = COLOR_BTNFACE;
  }
  if (flags & BF_SOFT) std::swap(outer.lt, inner.lt);
  Raster raster;
  bool visible = MakeRaster(*dc, &raster);
  if (!visible) raster = Raster{};  // still walk the geometry for BF_ADJUST
  POINT o = raster.offset;
  RECT box{rect->left + o.x, rect->top + o.y, rect->right + o.x, rect->bottom + o.y};
  if (edge & BDR_OUTER) Ring(raster, &box, flags, outer);
  if (edge & BDR_INNER) Ring(raster, &box, flags, inner);
  if ((flags & BF_MIDDLE) && !qz::IsEmptyRect(box)) Fill(raster, box.left, box.top, box.right, box.bottom, middle);
  if (flags & BF_ADJUST) *rect = RECT{box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y};
  return TRUE;
}
