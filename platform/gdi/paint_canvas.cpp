#include "paint_canvas.h"

#include <algorithm>

#include "dc.h"
#include "text.h"

namespace qz::gdi {

PaintCanvas::PaintCanvas(HDC hdc) : dc_(DcOf(hdc)) {}

// The canvas is made at the first draw, as the first drawing call on the DC
// would make it; a clip that leaves nothing of the DC's clip shows nothing.
bool PaintCanvas::Ready() {
  if (made_) return visible_;
  made_ = true;
  if (!dc_) return false;
  if (clipped_ && IsEmpty(Clamp(clip_, dc_->clipBounds))) return false;
  visible_ = MakeRaster(*dc_, &raster_);
  if (visible_ && clipped_) LimitTo(&raster_, clip_);
  return visible_;
}

void PaintCanvas::Fill(const RECT& rect, HBRUSH brush) {
  Brush* b = BrushForFill(brush);
  if (!dc_ || !b || b->hollow || !Ready()) return;
  RECT box = NormalizedBox(raster_.offset, rect.left, rect.top, rect.right, rect.bottom);
  if (IsEmpty(box)) return;
  FillBox(raster_, box, b->pixel, R2_COPYPEN);
  hasGround_ = true;
  groundBox_ = Clamp(box, raster_.limit);
  groundPixel_ = b->pixel;
}

void PaintCanvas::Clip(const RECT& rect) {
  if (!dc_) return;
  RECT box = LogicalToSurface(*dc_, rect.left, rect.top, rect.right, rect.bottom);
  if (IsEmpty(box)) box = RECT{0, 0, 0, 0};
  clip_ = clipped_ ? Clamp(clip_, box) : box;
  clipped_ = true;
  if (made_ && visible_) LimitTo(&raster_, box);
}

void PaintCanvas::Text(int x, int y, const char* text, int length) {
  if (!dc_ || length < 0 || (!text && length > 0)) return;
  FilledBox ground{groundBox_, groundPixel_};
  TextOutOnRaster(*dc_, Ready() ? &raster_ : nullptr, x, y, text, length, hasGround_ ? &ground : nullptr);
  hasGround_ = false;
}

void SetOpaqueColors(HDC hdc, COLORREF text, COLORREF back) {
  Dc* dc = DcOf(hdc);
  if (!dc) return;
  dc->state.textColor = text & 0xFFFFFF;
  dc->state.bkColor = back & 0xFFFFFF;
  dc->state.bkMode = OPAQUE;
}

}  // namespace qz::gdi
