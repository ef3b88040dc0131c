#include <algorithm>

#include "wm.h"

namespace qz::user {

// Everything that hides part of `w`: its ancestors' client areas, its visible
// children when it has WS_CLIPCHILDREN, and visible siblings above it (or
// above an ancestor) when the window so covered has WS_CLIPSIBLINGS. One walk
// from the top-level down gives each level's place on the surface.
void ClipToVisible(const Window* w, bool clientArea, Region* region) {
  Platform& p = P();
  if (w == p.desktop || !IsVisibleChain(w)) {
    region->Clear();
    return;
  }
  auto& chain = p.scratchChain;
  auto& origins = p.scratchOrigins;  // each level's parent client origin on the surface
  chain.clear();
  for (const Window* a = w; a != p.desktop; a = a->parent) chain.push_back(a);
  origins.resize(chain.size());
  const Window* top = chain.back();
  const Surface* surface = top->surface.get();
  RECT bound{0, 0, surface ? surface->width : 0, surface ? surface->height : 0};
  POINT origin{SaturateInt(-int64_t{top->rect.left}), SaturateInt(-int64_t{top->rect.top})};
  RECT client{}, outer{};
  for (size_t i = chain.size(); i-- > 0;) {
    const Window* a = chain[i];
    origins[i] = origin;
    outer = OffsetRectBy(a->rect, origin.x, origin.y);
    int inset = FrameInset(a);
    client =
        OffsetRectBy(ClientRect(a), SaturateInt(int64_t{outer.left} + inset), SaturateInt(int64_t{outer.top} + inset));
    if (i > 0) bound = IntersectRects(bound, client);
    origin = POINT{client.left, client.top};
  }
  region->Intersect(IntersectRects(clientArea ? client : outer, bound));
  if (region->Empty()) return;
  if (w->style & WS_CLIPCHILDREN)
    for (const Window* c : w->children)
      if (c->style & WS_VISIBLE) region->Subtract(OffsetRectBy(c->rect, client.left, client.top));
  for (size_t i = 0; i + 1 < chain.size(); ++i) {
    const Window* a = chain[i];
    if (!(a->style & WS_CLIPSIBLINGS)) continue;
    // The siblings above come before it in the z-order.
    for (const Window* s : a->parent->children) {
      if (s == a) break;
      if (s->style & WS_VISIBLE) region->Subtract(OffsetRectBy(s->rect, origins[i].x, origins[i].y));
    }
  }
}

// A CS_PARENTDC window draws with its parent's clip (unless the parent clips
// its children), so it may paint beyond its own rectangle.
static bool UsesParentClip(const Window* w) {
  return w->cls && (w->cls->info.style & CS_PARENTDC) && w->parent && !IsTopLevel(w) &&
         !(w->parent->style & WS_CLIPCHILDREN);
}

// A window placed more than 2^30 pixels from its surface's corner has its
// drawing origin held there, so that adding a drawing call's coordinates to
// it cannot overflow; the clip stays where the window really is.
static HDC CreateWindowSurfaceDC(Surface* surface, POINT origin, const Region& clip) {
  constexpr int FarOrigin = 1 << 30;
  origin.x = std::clamp(origin.x, -FarOrigin, FarOrigin);
  origin.y = std::clamp(origin.y, -FarOrigin, FarOrigin);
  HDC hdc = CreateSurfaceDC(surface, origin, clip);
  if (hdc) P().windowDCs.push_back(WindowDC{hdc, surface});
  return hdc;
}

// True when `clip` (surface coordinates) lies wholly within the window's one
// visible client rectangle, as an update region mostly does.
static bool WithinVisible(const Window* w, const Region& clip) {
  const std::span<const RECT> visible = w->visibleClient.Rects();
  if (visible.size() != 1) return false;
  const RECT& v = visible.front();
  for (const RECT& r : clip.Rects())
    if (r.left < v.left || r.top < v.top || r.right > v.right || r.bottom > v.bottom) return false;
  return true;
}

HDC MakeWindowDC(Window* w, bool clientArea, const Region* update) {
  Platform& p = P();
  Region& clip = p.scratchClip;
  Surface* surface = &p.desktopSurface;
  POINT origin{0, 0};
  clip.Clear();
  if (w != p.desktop) {
    surface = TopLevelOf(w)->surface.get();
    if (!surface) return nullptr;
    bool parentClip = clientArea && UsesParentClip(w);
    if (clientArea && !parentClip) {
      // The visible client area only changes with the layout, so paints and
      // GetDC between two layout changes share one working-out of it.
      if (w->visibleSerial != p.layoutSerial) {
        RECT base = ClientRectOnSurface(w);
        w->visibleOrigin = POINT{base.left, base.top};
        w->visibleClient.Set(base);
        if (!IsVisibleChain(w))
          w->visibleClient.Clear();
        else
          ClipToVisible(w, true, &w->visibleClient);
        w->visibleSerial = p.layoutSerial;
      }
      origin = w->visibleOrigin;
      if (update) {
        clip = *update;
        clip.Offset(origin.x, origin.y);
        if (!WithinVisible(w, clip)) clip.Intersect(w->visibleClient);
      } else {
        clip = w->visibleClient;
      }
      return CreateWindowSurfaceDC(surface, origin, clip);
    }
    RECT base = clientArea ? ClientRectOnSurface(w) : WindowRectOnSurface(w);
    origin = POINT{base.left, base.top};
    if (update) {
      clip = *update;
      clip.Offset(origin.x, origin.y);
    } else {
      clip.Set(parentClip ? ClientRectOnSurface(w->parent) : base);
    }
    if (!IsVisibleChain(w))
      clip.Clear();
    else
      ClipToVisible(parentClip ? w->parent : w, clientArea, &clip);
  }
  return CreateWindowSurfaceDC(surface, origin, clip);
}

static bool SurfaceInUse(const Surface* s) {
  for (const WindowDC& dc : P().windowDCs)
    if (dc.surface == s) return true;
  return false;
}

bool ReleaseWindowDC(HDC hdc) {
  Platform& p = P();
  auto& dcs = p.windowDCs;
  auto it = std::find_if(dcs.begin(), dcs.end(), [hdc](const WindowDC& d) { return d.hdc == hdc; });
  if (it == dcs.end()) return false;
  DeleteDC(hdc);
  *it = dcs.back();
  dcs.pop_back();
  auto& orphans = p.orphanSurfaces;
  if (orphans.empty()) return true;
  orphans.erase(std::remove_if(orphans.begin(), orphans.end(), [](const auto& s) { return !SurfaceInUse(s.get()); }),
                orphans.end());
  return true;
}

// A surface some DC still draws on outlives its window until that DC is released.
void FreeSurface(Window* w) {
  if (!w->surface) return;
  TouchLayout();
  if (SurfaceInUse(w->surface.get()))
    P().orphanSurfaces.push_back(std::move(w->surface));
  else
    w->surface.reset();
}

void CreateTopLevelSurface(Window* w) {
  // A window larger than any screen keeps pixels only for the part a screen
  // could show; drawing beyond them is clipped away.
  constexpr int64_t MaxSurfaceSide = 16384;
  int width = static_cast<int>(std::clamp<int64_t>(int64_t{w->rect.right} - w->rect.left, 0, MaxSurfaceSide));
  int height = static_cast<int>(std::clamp<int64_t>(int64_t{w->rect.bottom} - w->rect.top, 0, MaxSurfaceSide));
  w->surface = std::make_unique<Surface>();
  TouchLayout();
  w->surface->Resize(width, height, 0xFFFFFF);
  HBRUSH brush = w->cls ? w->cls->info.hbrBackground : nullptr;
  if (!brush || width == 0 || height == 0) return;
  RECT all{0, 0, width, height};
  if (HDC hdc = CreateSurfaceDC(w->surface.get(), POINT{0, 0}, Region(all))) {
    FillRect(hdc, &all, brush);
    DeleteDC(hdc);
  }
}

void ReleaseAllWindowDCs() {
  Platform& p = P();
  for (const WindowDC& dc : p.windowDCs) DeleteDC(dc.hdc);
  p.windowDCs.clear();
  p.orphanSurfaces.clear();
}

}  // namespace qz::user

namespace qz {

using namespace user;

bool CaptureWindow(HWND hwnd, int* width, int* height, std::vector<uint32_t>* pixels) {
  Window* w = Find(hwnd);
  if (!w || w == P().desktop || !pixels) return false;
  const Surface* s = TopLevelOf(w)->surface.get();
  if (!s) return false;
  RECT r = WindowRectOnSurface(w);
  int cw = std::max(0, static_cast<int>(r.right - r.left));
  int ch = std::max(0, static_cast<int>(r.bottom - r.top));
  pixels->assign(static_cast<size_t>(cw) * ch, 0);
  RECT visible = IntersectRects(r, RECT{0, 0, s->width, s->height});
  for (int y = visible.top; y < visible.bottom; ++y)
    std::copy(s->Row(y) + visible.left, s->Row(y) + visible.right,
              pixels->data() + static_cast<size_t>(y - r.top) * cw + (visible.left - r.left));
  if (width) *width = cw;
  if (height) *height = ch;
  return true;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (!CaptureWindow(hwnd, &width, &height, &pixels)) return false;
  return WritePng(path, width, height, pixels.data(), width);
}

}  // namespace qz

using namespace qz::user;

// A null window gives a DC on the screen, good for measuring; it draws nothing.
HDC GetDC(HWND hwnd) {
  Window* w = hwnd ? Find(hwnd) : P().desktop;
  return w ? MakeWindowDC(w, true, nullptr) : nullptr;
}

// Origin at the window's top-left corner, frame included.
HDC GetWindowDC(HWND hwnd) {
  Window* w = hwnd ? Find(hwnd) : P().desktop;
  return w ? MakeWindowDC(w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND, HDC hdc) {
  return ReleaseWindowDC(hdc) ? 1 : 0;
}
