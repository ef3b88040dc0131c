#include <algorithm>

#include "wm.h"

namespace qz::user {

// The frame is drawn with the client area excluded: a black line for
// WS_BORDER, then a sunken edge for WS_EX_CLIENTEDGE inside it.
void PaintFrame(Window* w) {
  w->frameDirty = false;
  SyncDirty(w);
  bool border = (w->style & WS_BORDER) != 0;
  bool edge = (w->exStyle & WS_EX_CLIENTEDGE) != 0;
  if (!border && !edge) return;
  HDC hdc = MakeWindowDC(w, false, nullptr);
  if (!hdc) return;
  int inset = FrameInset(w);
  RECT client = ClientRect(w);
  ExcludeClipRect(hdc, inset, inset, inset + client.right, inset + client.bottom);
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  if (border) {
    auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                     {r.left, r.bottom - 1, r.right, r.bottom},
                     {r.left, r.top, r.left + 1, r.bottom},
                     {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& side : sides) FillRect(hdc, &side, black);
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (edge) DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT);
  ReleaseWindowDC(hdc);
}

}  // namespace qz::user

using namespace qz::user;

// The box around a region that is not empty (its rectangles never are).
static RECT BoxAround(const qz::Region& region) {
  const std::span<const RECT> rects = region.Rects();
  RECT box = rects.front();
  for (size_t i = 1; i < rects.size(); ++i) {
    const RECT& r = rects[i];
    box = RECT{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
               std::max(box.bottom, r.bottom)};
  }
  return box;
}

// Clip = the update region within the visible client area; the whole region
// is validated before WM_ERASEBKGND, so what that handler invalidates stays.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Find(hwnd);
  if (!w || !ps) return nullptr;
  Hold hold;
  if (w->frameDirty) PaintFrame(w);
  if (w->dead) return nullptr;
  *ps = PAINTSTRUCT{};
  RECT bounds = w->update.Empty() ? RECT{0, 0, 0, 0} : BoxAround(w->update);
  bool erase = w->erase;
  HDC hdc = MakeWindowDC(w, true, &w->update);
  ClearUpdate(w);
  if (!hdc) return nullptr;
  ps->hdc = hdc;
  ps->rcPaint = bounds;
  if (erase) ps->fErase = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
  return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) ReleaseWindowDC(ps->hdc);
  return TRUE;
}
