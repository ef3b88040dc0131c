#include <algorithm>
#include <cstring>

#include "dc.h"
#include "fonts.h"
#include "winuser.h"

namespace qz::gdi {
namespace {

// Deleted pens and brushes are kept for the next CreatePen or brush, as the
// platform keeps its object table: code that makes a pen or brush for each
// drawing touches no heap once warm. Kept for the process, like the handle
// table.
template <class T>
struct Spares {
  static constexpr int Capacity = 16;
  T* Objects[Capacity] = {};
  int Count = 0;

  static Spares& Of() {
    static Spares* spares = new Spares;
    return *spares;
  }
};

template <class T>
T* Take() {
  Spares<T>& spares = Spares<T>::Of();
  if (spares.Count == 0) return new T;
  T* object = spares.Objects[--spares.Count];
  *object = T{};
  return object;
}

template <class T>
void Release(T* object) {
  Spares<T>& spares = Spares<T>::Of();
  if (spares.Count < Spares<T>::Capacity)
    spares.Objects[spares.Count++] = object;
  else
    delete object;
}

HPEN NewPen(int style, int width, COLORREF color, bool stock) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  Pen* pen = Take<Pen>();
  pen->log = LOGPEN{static_cast<UINT>(style), POINT{width, 0}, color};
  pen->style = style;
  pen->width = std::max(1, width);
  // Styled pens wider than one pixel draw solid, as on the platform.
  if (pen->width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) pen->style = PS_SOLID;
  pen->pixel = PixelFromColor(color);
  pen->thinSolid = pen->width == 1 && (pen->style == PS_SOLID || pen->style == PS_INSIDEFRAME);
  pen->stock = stock;
  HGDIOBJ handle = AddObject(OBJ_PEN, pen);
  if (!handle) Release(pen);
  return static_cast<HPEN>(handle);
}

HBRUSH NewBrush(UINT style, COLORREF color, bool stock) {
  Brush* brush = Take<Brush>();
  brush->log = LOGBRUSH{style, color, 0};
  brush->hollow = style == BS_NULL;
  brush->pixel = PixelFromColor(color);
  brush->stock = stock;
  HGDIOBJ handle = AddObject(OBJ_BRUSH, brush);
  if (!handle) Release(brush);
  return static_cast<HBRUSH>(handle);
}

HGDIOBJ MakeStockObject(int index) {
  switch (index) {
    case WHITE_BRUSH:
      return NewBrush(BS_SOLID, RGB(255, 255, 255), true);
    case LTGRAY_BRUSH:
      return NewBrush(BS_SOLID, RGB(192, 192, 192), true);
    case GRAY_BRUSH:
      return NewBrush(BS_SOLID, RGB(128, 128, 128), true);
    case DKGRAY_BRUSH:
      return NewBrush(BS_SOLID, RGB(64, 64, 64), true);
    case BLACK_BRUSH:
      return NewBrush(BS_SOLID, RGB(0, 0, 0), true);
    case NULL_BRUSH:
      return NewBrush(BS_NULL, 0, true);
    case WHITE_PEN:
      return NewPen(PS_SOLID, 1, RGB(255, 255, 255), true);
    case BLACK_PEN:
      return NewPen(PS_SOLID, 1, RGB(0, 0, 0), true);
    case NULL_PEN:
      return NewPen(PS_NULL, 1, 0, true);
    default:
      return MakeStockFont(index);
  }
}

template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
  if (!out) return static_cast<int>(sizeof(T));
  if (size <= 0) return 0;
  int n = std::min(size, static_cast<int>(sizeof(T)));
  std::memcpy(out, &value, static_cast<size_t>(n));
  return n;
}

BITMAP DescribeBitmap(const Bitmap& bitmap) {
  BITMAP bm{};
  bm.bmWidth = bitmap.surface.width;
  bm.bmHeight = bitmap.surface.height;
  bm.bmWidthBytes = bitmap.surface.width * 4;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = 32;
  bm.bmBits = bitmap.dibSection ? const_cast<uint32_t*>(bitmap.surface.pixels.data()) : nullptr;
  return bm;
}

}  // namespace

HBITMAP DefaultBitmap() {
  static HBITMAP bitmap = [] {
    Bitmap* b = new Bitmap;
    b->surface.Resize(1, 1, 0);
    b->stock = true;
    return static_cast<HBITMAP>(AddObject(OBJ_BITMAP, b));
  }();
  return bitmap;
}

HBRUSH MakeStockBrush(COLORREF color) {
  return NewBrush(BS_SOLID, color, true);
}

Brush* BrushForFill(HBRUSH brush) {
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= 64) return As<Brush>(GetSysColorBrush(static_cast<int>(value - 1)), OBJ_BRUSH);
  return As<Brush>(brush, OBJ_BRUSH);
}

}  // namespace qz::gdi

using namespace qz::gdi;

HPEN CreatePen(int style, int width, COLORREF color) {
  return NewPen(style, width, color, false);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return NewPen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor, false);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return NewBrush(BS_SOLID, color, false);
}

// Hatched and pattern brushes are not supported; they fill solid in their colour.
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  HBRUSH handle = NewBrush(brush->lbStyle == BS_NULL ? BS_NULL : BS_SOLID, brush->lbColor, false);
  if (Brush* b = As<Brush>(handle, OBJ_BRUSH)) b->log = *brush;
  return handle;
}

HGDIOBJ GetStockObject(int index) {
  constexpr int kCount = DEFAULT_GUI_FONT + 1;
  static HGDIOBJ objects[kCount] = {};
  if (index < 0 || index >= kCount) return nullptr;
  if (!objects[index]) objects[index] = MakeStockObject(index);
  return objects[index];
}

DWORD GetObjectType(HGDIOBJ object) {
  return TypeOf(object);
}

BOOL DeleteObject(HGDIOBJ object) {
  DWORD type = TypeOf(object);
  if (!type || type == OBJ_DC || type == OBJ_MEMDC) return FALSE;
  GdiObject* o = Lookup(object, type);
  if (o->stock) return TRUE;
  if (o->selected > 0) return FALSE;
  GdiObject* detached = Detach(object);
  if (type == OBJ_PEN)
    Release(static_cast<Pen*>(detached));
  else if (type == OBJ_BRUSH)
    Release(static_cast<Brush*>(detached));
  else
    delete detached;
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
  switch (TypeOf(object)) {
    case OBJ_PEN:
      return CopyOut(As<Pen>(object, OBJ_PEN)->log, size, out);
    case OBJ_BRUSH:
      return CopyOut(As<Brush>(object, OBJ_BRUSH)->log, size, out);
    case OBJ_FONT:
      return CopyOut(As<Font>(object, OBJ_FONT)->log, size, out);
    case OBJ_BITMAP:
      return CopyOut(DescribeBitmap(*As<Bitmap>(object, OBJ_BITMAP)), size, out);
    default:
      return 0;
  }
}
