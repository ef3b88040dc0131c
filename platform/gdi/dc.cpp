#include "dc.h"

#include "fonts.h"
#include "qzplatform/driver.h"

namespace qz::gdi {
namespace {

// Deleted DCs wait here so that steady-state GetDC/ReleaseDC reuse them, with
// their region and save-stack storage, without allocating.
std::vector<Dc*>& Pool() {
  static std::vector<Dc*>* pool = new std::vector<Dc*>;
  return *pool;
}

template <class T>
void Swap(T*& slot, T* object) {
  if (slot) --slot->selected;
  slot = object;
  if (object) ++object->selected;
}

void SelectPen(Dc& dc, HGDIOBJ handle, Pen* pen) {
  Swap(dc.pen, pen);
  dc.state.pen = handle;
}

void SelectBrush(Dc& dc, HGDIOBJ handle, Brush* brush) {
  Swap(dc.brush, brush);
  dc.state.brush = handle;
}

void SelectFont(Dc& dc, HGDIOBJ handle, Font* font) {
  Swap(dc.font, font);
  dc.state.font = handle;
}

// A bitmap draws in one memory DC at a time; stock bitmaps are shared.
bool SelectBitmap(Dc& dc, HGDIOBJ handle, Bitmap* bitmap) {
  if (dc.type != OBJ_MEMDC) return false;
  if (!bitmap->stock && bitmap->selectedInto && bitmap->selectedInto != dc.handle) return false;
  if (dc.bitmap && !dc.bitmap->stock) dc.bitmap->selectedInto = nullptr;
  Swap(dc.bitmap, bitmap);
  if (!bitmap->stock) bitmap->selectedInto = dc.handle;
  dc.state.bitmap = handle;
  dc.base.Set(RECT{0, 0, bitmap->surface.width, bitmap->surface.height});
  UpdateClip(dc);
  return true;
}

// The pen, brush and font every DC starts with, and falls back to, looked up
// once: stock objects are never freed, so their handles and objects stay.
struct DefaultObjects {
  HGDIOBJ penHandle;
  HGDIOBJ brushHandle;
  HGDIOBJ fontHandle;
  Pen* pen;
  Brush* brush;
  Font* font;
};

const DefaultObjects& Defaults() {
  static const DefaultObjects defaults = [] {
    DefaultObjects d{
        GetStockObject(BLACK_PEN), GetStockObject(WHITE_BRUSH), GetStockObject(SYSTEM_FONT), nullptr, nullptr, nullptr};
    d.pen = As<Pen>(d.penHandle, OBJ_PEN);
    d.brush = As<Brush>(d.brushHandle, OBJ_BRUSH);
    d.font = As<Font>(d.fontHandle, OBJ_FONT);
    return d;
  }();
  return defaults;
}

void ResetState(Dc& dc) {
  DcState& s = dc.state;
  s.bkColor = RGB(255, 255, 255);
  s.textColor = RGB(0, 0, 0);
  s.bkMode = OPAQUE;
  s.rop2 = R2_COPYPEN;
  s.textAlign = TA_LEFT | TA_TOP;
  s.current = POINT{0, 0};
  s.viewportOrg = POINT{0, 0};
  s.hasUserClip = false;
  s.userClip.Clear();
  dc.savedDepth = 0;
  ForgetRaster(dc);
  const DefaultObjects& d = Defaults();
  SelectPen(dc, d.penHandle, d.pen);
  SelectBrush(dc, d.brushHandle, d.brush);
  SelectFont(dc, d.fontHandle, d.font);
}

Dc* NewDc(DWORD type) {
  std::vector<Dc*>& pool = Pool();
  Dc* dc;
  if (!pool.empty()) {
    dc = pool.back();
    pool.pop_back();
  } else {
    dc = new Dc;
  }
  dc->type = type;
  dc->handle = static_cast<HDC>(AddObject(type, dc));
  if (!dc->handle) {
    pool.push_back(dc);
    return nullptr;
  }
  ResetState(*dc);
  return dc;
}

void RestoreObjects(Dc& dc, const DcState& s) {
  Pen* pen = As<Pen>(s.pen, OBJ_PEN);
  Brush* brush = As<Brush>(s.brush, OBJ_BRUSH);
  Font* font = As<Font>(s.font, OBJ_FONT);
  // Objects deleted since the save fall back to the defaults.
  const DefaultObjects& d = Defaults();
  SelectPen(dc, pen ? s.pen : d.penHandle, pen ? pen : d.pen);
  SelectBrush(dc, brush ? s.brush : d.brushHandle, brush ? brush : d.brush);
  SelectFont(dc, font ? s.font : d.fontHandle, font ? font : d.font);
  if (dc.type == OBJ_MEMDC) {
    Bitmap* bitmap = As<Bitmap>(s.bitmap, OBJ_BITMAP);
    if (!bitmap || !SelectBitmap(dc, s.bitmap, bitmap))
      SelectBitmap(dc, DefaultBitmap(), As<Bitmap>(DefaultBitmap(), OBJ_BITMAP));
  }
}

}  // namespace

void UpdateClip(Dc& dc) {
  const DcState& s = dc.state;
  if (!s.hasUserClip) {
    dc.clip = dc.base;
  } else if (s.userClip.Rects().size() <= 1) {
    dc.clip = dc.base;
    if (s.userClip.Empty())
      dc.clip.Clear();
    else
      dc.clip.Intersect(s.userClip.Rects()[0]);
  } else if (dc.base.Rects().size() == 1) {
    dc.clip = s.userClip;
    dc.clip.Intersect(dc.base.Rects()[0]);
  } else {
    dc.clip = dc.base;
    dc.clip.Intersect(s.userClip);
  }
  dc.clipBounds = dc.clip.Bounds();
  ++dc.clipStamp;
}

bool CanvasOf(const Dc& dc, Canvas* canvas) {
  Surface* surface = SurfaceOf(dc);
  if (!surface || surface->width <= 0 || surface->height <= 0 ||
      surface->pixels.size() < static_cast<size_t>(surface->width) * surface->height)
    return false;
  canvas->width = surface->width;
  canvas->height = surface->height;
  if (dc.type == OBJ_MEMDC && dc.bitmap->bottomUp) {
    canvas->base = surface->pixels.data() + static_cast<ptrdiff_t>(surface->height - 1) * surface->width;
    canvas->stride = -surface->width;
  } else {
    canvas->base = surface->pixels.data();
    canvas->stride = surface->width;
  }
  return true;
}

// Drawing calls that reached a window's pixels, while a test records them.
bool g_recordingDraws = false;
namespace {
std::vector<RecordedDraw>& RecordedDraws() {
  static std::vector<RecordedDraw>* draws = new std::vector<RecordedDraw>;
  return *draws;
}
}  // namespace

void RecordDraw(const Dc& dc) {
  if (dc.type == OBJ_DC) RecordedDraws().push_back(RecordedDraw{dc.raster.limit});
}

void RebuildRaster(const Dc& dc) {
  Dc::RasterKey& key = dc.rasterKey;
  Raster& raster = dc.raster;
  const Surface* surface = SurfaceOf(dc);
  key.clipStamp = dc.clipStamp;
  key.pixels = surface ? surface->pixels.data() : nullptr;
  key.size = surface ? surface->pixels.size() : 0;
  key.width = surface ? surface->width : 0;
  key.height = surface ? surface->height : 0;
  dc.rasterVisible = false;
  if (!CanvasOf(dc, &raster.canvas)) return;
  raster.limit = IntersectRects(dc.clipBounds, RECT{0, 0, raster.canvas.width, raster.canvas.height});
  if (IsEmptyRect(raster.limit)) return;
  raster.rects = dc.clip.Rects().data();
  raster.count = dc.clip.Rects().size();
  raster.offset = LogicalOffset(dc);
  dc.rasterVisible = true;
}

}  // namespace qz::gdi

namespace qz {

void StartRecordingDraws() {
  gdi::RecordedDraws().clear();
  gdi::g_recordingDraws = true;
}

std::vector<RecordedDraw> StopRecordingDraws() {
  gdi::g_recordingDraws = false;
  std::vector<RecordedDraw> out;
  out.swap(gdi::RecordedDraws());
  return out;
}

using gdi::Dc;
using gdi::DcOf;

HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& clip) {
  if (!surface) return nullptr;
  Dc* dc = gdi::NewDc(OBJ_DC);
  if (!dc) return nullptr;
  dc->surface = surface;
  dc->origin = origin;
  // A new DC has no clip of its own, so its clip is the area it was made for.
  dc->base = clip;
  dc->clip = clip;
  dc->clipBounds = clip.Bounds();
  ++dc->clipStamp;
  return dc->handle;
}

Surface* SurfaceOfDC(HDC hdc, POINT* origin) {
  Dc* dc = DcOf(hdc);
  if (!dc) return nullptr;
  if (origin) *origin = dc->origin;
  if (dc->type == OBJ_DC) return dc->surface;
  // A bottom-up DIB section's rows run the other way from a Surface's.
  if (!dc->bitmap || dc->bitmap->bottomUp) return nullptr;
  return &dc->bitmap->surface;
}

}  // namespace qz

using namespace qz::gdi;

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !DcOf(hdc)) return nullptr;
  Dc* dc = NewDc(OBJ_MEMDC);
  if (!dc) return nullptr;
  dc->surface = nullptr;
  dc->origin = POINT{0, 0};
  SelectBitmap(*dc, DefaultBitmap(), As<Bitmap>(DefaultBitmap(), OBJ_BITMAP));
  return dc->handle;
}

BOOL DeleteDC(HDC hdc) {
  HandleSlot* slot = SlotOf(hdc);
  if (!slot || (slot->type != OBJ_DC && slot->type != OBJ_MEMDC)) return FALSE;
  Dc* dc = static_cast<Dc*>(slot->object);
  Swap(dc->pen, static_cast<Pen*>(nullptr));
  Swap(dc->brush, static_cast<Brush*>(nullptr));
  Swap(dc->font, static_cast<Font*>(nullptr));
  if (dc->bitmap && !dc->bitmap->stock) dc->bitmap->selectedInto = nullptr;
  Swap(dc->bitmap, static_cast<Bitmap*>(nullptr));
  dc->surface = nullptr;
  dc->savedDepth = 0;
  DetachSlot(slot);
  dc->handle = nullptr;
  Pool().push_back(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  Dc* dc = DcOf(hdc);
  if (!dc) return nullptr;
  // Selecting the pen, brush or font the DC already holds changes nothing.
  if (object && (object == dc->state.pen || object == dc->state.brush || object == dc->state.font)) return object;
  HGDIOBJ old;
  DWORD type;
  GdiObject* selected = LookupAny(object, &type);
  switch (type) {
    case OBJ_PEN:
      old = dc->state.pen;
      SelectPen(*dc, object, static_cast<Pen*>(selected));
      return old;
    case OBJ_BRUSH:
      old = dc->state.brush;
      SelectBrush(*dc, object, static_cast<Brush*>(selected));
      return old;
    case OBJ_FONT:
      old = dc->state.font;
      SelectFont(*dc, object, static_cast<Font*>(selected));
      return old;
    case OBJ_BITMAP:
      old = dc->state.bitmap;
      return SelectBitmap(*dc, object, static_cast<Bitmap*>(selected)) ? old : nullptr;
    case OBJ_REGION: {
      int type = SelectClipRgn(hdc, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    default:
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  Dc* dc = DcOf(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->state.pen;
    case OBJ_BRUSH:
      return dc->state.brush;
    case OBJ_FONT:
      return dc->state.font;
    case OBJ_BITMAP:
      return dc->type == OBJ_MEMDC ? dc->state.bitmap : nullptr;
    default:
      return nullptr;
  }
}

int SaveDC(HDC hdc) {
  Dc* dc = DcOf(hdc);
  if (!dc) return 0;
  if (static_cast<size_t>(dc->savedDepth) < dc->saved.size())
    dc->saved[static_cast<size_t>(dc->savedDepth)] = dc->state;
  else
    dc->saved.push_back(dc->state);
  return ++dc->savedDepth;
}

// saved > 0 names the SaveDC result to return to; saved < 0 counts back from the latest.
BOOL RestoreDC(HDC hdc, int saved) {
  Dc* dc = DcOf(hdc);
  if (!dc || saved == 0) return FALSE;
  int index = saved > 0 ? saved - 1 : dc->savedDepth + saved;
  if (index < 0 || index >= dc->savedDepth) return FALSE;
  const DcState& s = dc->saved[static_cast<size_t>(index)];
  dc->state.bkColor = s.bkColor;
  dc->state.textColor = s.textColor;
  dc->state.bkMode = s.bkMode;
  dc->state.rop2 = s.rop2;
  dc->state.textAlign = s.textAlign;
  dc->state.current = s.current;
  dc->state.viewportOrg = s.viewportOrg;
  dc->state.hasUserClip = s.hasUserClip;
  dc->state.userClip = s.userClip;
  RestoreObjects(*dc, s);
  dc->savedDepth = index;
  UpdateClip(*dc);
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  Dc* dc = DcOf(hdc);
  if (!dc) return 0;
  Canvas canvas;
  bool hasCanvas = CanvasOf(*dc, &canvas);
  switch (index) {
    case HORZRES:
      return hasCanvas ? canvas.width : 0;
    case VERTRES:
      return hasCanvas ? canvas.height : 0;
    case BITSPIXEL:
      return 32;
    case 14:  // PLANES
      return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    default:
      return 0;
  }
}
