// GDI objects behind opaque handles. A handle encodes a slot index and the
// slot's generation, so a stale or made-up handle is recognised and refused.
#pragma once

#include <cstdint>

#include "qzplatform/region.h"
#include "qzplatform/surface.h"
#include "wingdi.h"

namespace qz::gdi {

struct FontFace;

struct GdiObject {
  virtual ~GdiObject() = default;
  int selected = 0;  // how many DCs have it selected now
  bool stock = false;
};

struct Pen : GdiObject {
  LOGPEN log{};
  int style = PS_SOLID;
  int width = 1;
  uint32_t pixel = 0;
};

struct Brush : GdiObject {
  LOGBRUSH log{};
  bool hollow = false;
  uint32_t pixel = 0;
};

struct Font : GdiObject {
  LOGFONTA log{};
  FontFace* face = nullptr;  // realised on first use
};

struct Bitmap : GdiObject {
  Surface surface;  // rows top-down, or bottom-up in memory for such DIB sections
  bool dibSection = false;
  bool bottomUp = false;
  HDC selectedInto = nullptr;
};

struct RegionObject : GdiObject {
  Region region;
};

HGDIOBJ AddObject(DWORD type, GdiObject* object);
// The object behind `handle` if it is live and of `type` (0 = any type).
GdiObject* Lookup(HGDIOBJ handle, DWORD type);
DWORD TypeOf(HGDIOBJ handle);
// The object behind `handle` and its type, in one look-up; null and 0 when
// the handle is not live.
GdiObject* LookupAny(HGDIOBJ handle, DWORD* type);
// Frees the slot and hands the object back to the caller (DCs are pooled).
GdiObject* Detach(HGDIOBJ handle);

template <class T>
T* As(HGDIOBJ handle, DWORD type) {
  return static_cast<T*>(Lookup(handle, type));
}

// The stock 1x1 bitmap a new memory DC starts with.
HBITMAP DefaultBitmap();
// A stock brush of a pixel colour that is never freed (system colour brushes).
HBRUSH MakeStockBrush(COLORREF color);
// The brush behind a FillRect argument: a handle or (COLOR_x + 1).
Brush* BrushForFill(HBRUSH brush);

// NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionType(const Region& region);

}  // namespace qz::gdi
