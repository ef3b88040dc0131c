#include <utility>

#include "objects.h"

namespace qz::gdi {

int RegionType(const Region& region) {
  if (region.Empty()) return NULLREGION;
  return RegionType(region, region.Bounds());
}

int RegionType(const Region& region, const RECT& b) {
  if (region.Empty()) return NULLREGION;
  if (region.Rects().size() == 1) return SIMPLEREGION;
  // The rectangles are disjoint, so they tile their bounds exactly when the areas match.
  int64_t area = 0;
  for (const RECT& r : region.Rects()) area += int64_t{r.right - r.left} * (r.bottom - r.top);
  return area == int64_t{b.right - b.left} * (b.bottom - b.top) ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace qz::gdi

using namespace qz::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  // The platform accepts the corners in any order.
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  RegionObject* object = new RegionObject;
  object->region.Set(RECT{left, top, right, bottom});
  HGDIOBJ handle = AddObject(OBJ_REGION, object);
  if (!handle) delete object;
  return static_cast<HRGN>(handle);
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  RegionObject* d = As<RegionObject>(dest, OBJ_REGION);
  RegionObject* ra = As<RegionObject>(a, OBJ_REGION);
  RegionObject* rb = mode == RGN_COPY ? ra : As<RegionObject>(b, OBJ_REGION);
  if (!d || !ra || !rb) return ERROR;
  qz::Region result = ra->region;
  switch (mode) {
    case RGN_AND:
      result.Intersect(rb->region);
      break;
    case RGN_OR:
      result.Add(rb->region);
      break;
    case RGN_XOR: {
      qz::Region other = rb->region;
      other.Subtract(ra->region);
      result.Subtract(rb->region);
      result.Add(other);
      break;
    }
    case RGN_DIFF:
      result.Subtract(rb->region);
      break;
    case RGN_COPY:
      break;
    default:
      return ERROR;
  }
  d->region = std::move(result);
  return RegionType(d->region);
}

int GetRgnBox(HRGN region, LPRECT rect) {
  RegionObject* r = As<RegionObject>(region, OBJ_REGION);
  if (!r || !rect) return ERROR;
  *rect = r->region.Bounds();
  return RegionType(r->region);
}
