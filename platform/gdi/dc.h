// Device contexts: state, selected objects, clipping and the canvas they draw on.
#pragma once

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
};

Dc* DcOf(HDC hdc);

// The canvas and clip of a DC for one drawing call; false when nothing is
// visible. A call on a window's pixels is recorded while draws are recorded.
bool MakeRaster(const Dc& dc, Raster* raster);
// The same for a call that only reads pixels.
bool MakeReadRaster(const Dc& dc, Raster* raster);
bool CanvasOf(const Dc& dc, Canvas* canvas);

// Offset from logical coordinates to canvas coordinates.
inline POINT LogicalOffset(const Dc& dc) {
  return POINT{dc.origin.x + dc.state.viewportOrg.x, dc.origin.y + dc.state.viewportOrg.y};
}

void UpdateClip(Dc& dc);

}  // namespace qz::gdi
