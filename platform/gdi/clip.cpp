#include <utility>

#include "dc.h"

using namespace qz::gdi;

namespace {

// The clip the DC would have without a user clip: what Intersect/Exclude start from.
qz::Region& UserClipForEdit(Dc& dc) {
  if (!dc.state.hasUserClip) {
    dc.state.userClip = dc.base;
    dc.state.hasUserClip = true;
  }
  return dc.state.userClip;
}

}  // namespace

int GetClipBox(HDC hdc, LPRECT rect) {
  Dc* dc = DcOf(hdc);
  if (!dc || !rect) return ERROR;
  Canvas canvas;
  RECT limit = CanvasOf(*dc, &canvas) ? RECT{0, 0, canvas.width, canvas.height} : RECT{0, 0, 0, 0};
  int type;
  RECT bounds;
  if (limit.left <= dc->clipBounds.left && limit.top <= dc->clipBounds.top && limit.right >= dc->clipBounds.right &&
      limit.bottom >= dc->clipBounds.bottom) {
    type = RegionType(dc->clip, dc->clipBounds);
    bounds = dc->clipBounds;
  } else {
    // Part of the clip lies off a surface that has since shrunk.
    qz::Region visible = dc->clip;
    visible.Intersect(limit);
    type = RegionType(visible);
    bounds = visible.Bounds();
  }
  POINT o = LogicalOffset(*dc);
  if (type == NULLREGION)
    *rect = RECT{0, 0, 0, 0};
  else
    *rect = RECT{bounds.left - o.x, bounds.top - o.y, bounds.right - o.x, bounds.bottom - o.y};
  return type;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = DcOf(hdc);
  if (!dc) return ERROR;
  RECT r = LogicalToSurface(*dc, left, top, right, bottom);
  qz::Region& user = UserClipForEdit(*dc);
  if (qz::IsEmptyRect(r))
    user.Clear();
  else
    user.Intersect(r);
  UpdateClip(*dc);
  return RegionType(dc->clip);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = DcOf(hdc);
  if (!dc) return ERROR;
  UserClipForEdit(*dc).Subtract(LogicalToSurface(*dc, left, top, right, bottom));
  UpdateClip(*dc);
  return RegionType(dc->clip);
}

// The region is in device coordinates: relative to the DC's origin and not
// moved by the viewport origin. NULL removes the user clip.
int SelectClipRgn(HDC hdc, HRGN region) {
  Dc* dc = DcOf(hdc);
  if (!dc) return ERROR;
  if (!region) {
    dc->state.hasUserClip = false;
    dc->state.userClip.Clear();
  } else {
    RegionObject* r = As<RegionObject>(region, OBJ_REGION);
    if (!r) return ERROR;
    dc->state.hasUserClip = true;
    dc->state.userClip = r->region;
    dc->state.userClip.Offset(dc->origin.x, dc->origin.y);
  }
  UpdateClip(*dc);
  return RegionType(dc->clip);
}
