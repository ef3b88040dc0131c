// Device contexts: state, selected objects, clipping and the canvas they draw on.
#pragma once

#include <utility>
#include <vector>

#include "objects.h"
#include "raster.h"

namespace qz::gdi {

struct DcState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;
  COLORREF bkColor = 0xFFFFFF;
  COLORREF textColor = 0;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT current{0, 0};
  POINT viewportOrg{0, 0};
  bool hasUserClip = false;
  Region userClip;  // surface coordinates
};

struct Dc : GdiObject {
  DWORD type = OBJ_DC;
  HDC handle = nullptr;
  Surface* surface = nullptr;  // surface DCs only
  POINT origin{0, 0};          // device (0, 0) on the canvas
  Region base;                 // the window's visible area or the bitmap bounds
  Region clip;                 // base limited by the user clip, surface coordinates
  RECT clipBounds{0, 0, 0, 0};
  DcState state;
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  Font* font = nullptr;
  Bitmap* bitmap = nullptr;
  std::vector<DcState> saved;  // entries are reused, so SaveDC stops allocating
  int savedDepth = 0;
  // Counts the changes of the clip. The surface, origin, base and bitmap
  // only change together with a new clip (UpdateClip).
  uint64_t clipStamp = 1;
  // The raster of the last drawing call, with its logical offset; rebuilt
  // when the clip or the canvas's pixel buffer is not the one it was made
  // for (a window's surface can be resized or replaced under its DC), and
  // after the viewport origin moves (ForgetRaster).
  struct RasterKey {
    uint64_t clipStamp = 0;
    const uint32_t* pixels = nullptr;
    size_t size = 0;
    int width = 0;
    int height = 0;
  };
  mutable RasterKey rasterKey;
  mutable Raster raster;
  mutable bool rasterVisible = false;
};

// The DC behind a handle; null when it is not a live DC. Every drawing call
// starts here, so it is inline.
inline Dc* DcOf(HDC hdc) {
  HandleSlot* slot = SlotOf(hdc);
  if (!slot || (slot->type != OBJ_DC && slot->type != OBJ_MEMDC)) return nullptr;
  return static_cast<Dc*>(slot->object);
}

// The surface a DC draws on: a memory DC's selected bitmap, a window DC's surface.
inline Surface* SurfaceOf(const Dc& dc) {
  return dc.type == OBJ_MEMDC ? (dc.bitmap ? &dc.bitmap->surface : nullptr) : dc.surface;
}

// Offset from logical coordinates to canvas coordinates.
inline POINT LogicalOffset(const Dc& dc) {
  return POINT{dc.origin.x + dc.state.viewportOrg.x, dc.origin.y + dc.state.viewportOrg.y};
}

// A logical rectangle, corners in any order, in canvas coordinates: moved by
// `offset`, or by the DC's logical offset.
inline RECT NormalizedBox(POINT offset, int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return RECT{left + offset.x, top + offset.y, right + offset.x, bottom + offset.y};
}
inline RECT LogicalToSurface(const Dc& dc, int left, int top, int right, int bottom) {
  return NormalizedBox(LogicalOffset(dc), left, top, right, bottom);
}

// Makes the DC's kept raster anew for its present clip, canvas and offset.
void RebuildRaster(const Dc& dc);
inline void ForgetRaster(Dc& dc) {
  dc.rasterKey.clipStamp = 0;
}
// Notes a drawing call on a window's pixels while draws are recorded.
void RecordDraw(const Dc& dc);
[[gnu::visibility("hidden")]] extern bool g_recordingDraws;

// The canvas and clip of a DC for one call that only reads pixels; null
// when nothing is visible. Valid until the DC's clip or canvas changes.
inline const Raster* ReadRasterOf(const Dc& dc) {
  const Surface* s = SurfaceOf(dc);
  const Dc::RasterKey& key = dc.rasterKey;
  if (key.clipStamp != dc.clipStamp || !s || key.pixels != s->pixels.data() || key.width != s->width ||
      key.height != s->height || key.size != s->pixels.size())
    RebuildRaster(dc);
  if (!dc.rasterVisible) return nullptr;
  return &dc.raster;
}
// The same for a drawing call; a call on a window's pixels is recorded while
// draws are recorded.
inline const Raster* RasterOf(const Dc& dc) {
  const Raster* raster = ReadRasterOf(dc);
  if (raster && g_recordingDraws) RecordDraw(dc);
  return raster;
}

// The canvas and clip of a DC for one drawing call, copied; false when
// nothing is visible.
inline bool MakeRaster(const Dc& dc, Raster* raster) {
  const Raster* kept = RasterOf(dc);
  if (kept) *raster = *kept;
  return kept != nullptr;
}
// The same for a call that only reads pixels.
inline bool MakeReadRaster(const Dc& dc, Raster* raster) {
  const Raster* kept = ReadRasterOf(dc);
  if (kept) *raster = *kept;
  return kept != nullptr;
}
bool CanvasOf(const Dc& dc, Canvas* canvas);

void UpdateClip(Dc& dc);

}  // namespace qz::gdi
