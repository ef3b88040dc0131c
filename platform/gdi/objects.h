// GDI objects behind opaque handles. A handle encodes a slot index and the
// slot's generation, so a stale or made-up handle is recognised and refused.
#pragma once

#include <cstdint>
#include <vector>

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
  // One pixel wide and unbroken: the pen of most lines, drawn without
  // looking at style or width again.
  bool thinSolid = true;
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

// The handle table: a slot per object, its index in a handle's low 24 bits
// (plus one) and a generation above, so a handle is never a small integer
// and (HBRUSH)(COLOR_x + 1) never collides with one. Looked up on every
// drawing call, so the lookup is inline.
struct HandleSlot {
  uint64_t generation = 1;
  DWORD type = 0;
  GdiObject* object = nullptr;
};
constexpr unsigned kHandleIndexBits = 24;
constexpr uint64_t kHandleIndexMask = (uint64_t{1} << kHandleIndexBits) - 1;
struct HandleTable {
  std::vector<HandleSlot> slots;
  std::vector<uint32_t> free;
};
// Lives for the process: stock objects are never freed. Used only inside
// the platform library, so reached without the symbol table.
[[gnu::visibility("hidden")]] extern HandleTable* g_handles;
HandleTable& CreateHandleTable();
inline HandleTable& Handles() {
  return g_handles ? *g_handles : CreateHandleTable();
}
inline HandleSlot* SlotOf(HGDIOBJ handle) {
  const uint64_t value = reinterpret_cast<uintptr_t>(handle);
  // Index 0 (no slot) wraps round to past every slot.
  const uint64_t slotIndex = (value & kHandleIndexMask) - 1;
  HandleTable& t = Handles();
  if (slotIndex >= t.slots.size()) return nullptr;
  HandleSlot& slot = t.slots[slotIndex];
  if (!slot.object || slot.generation != (value >> kHandleIndexBits)) return nullptr;
  return &slot;
}

HGDIOBJ AddObject(DWORD type, GdiObject* object);
// The object behind `handle` if it is live and of `type` (0 = any type).
inline GdiObject* Lookup(HGDIOBJ handle, DWORD type) {
  HandleSlot* slot = SlotOf(handle);
  if (!slot || (type && slot->type != type)) return nullptr;
  return slot->object;
}
inline DWORD TypeOf(HGDIOBJ handle) {
  HandleSlot* slot = SlotOf(handle);
  return slot ? slot->type : 0;
}
// The object behind `handle` and its type, in one look-up; null and 0 when
// the handle is not live.
inline GdiObject* LookupAny(HGDIOBJ handle, DWORD* type) {
  HandleSlot* slot = SlotOf(handle);
  *type = slot ? slot->type : 0;
  return slot ? slot->object : nullptr;
}
// Frees the slot and hands the object back to the caller (DCs are pooled).
GdiObject* Detach(HGDIOBJ handle);
// The same for a live handle's slot, already looked up.
GdiObject* DetachSlot(HandleSlot* slot);

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
// The same for a region whose bounds are known.
int RegionType(const Region& region, const RECT& bounds);

}  // namespace qz::gdi
