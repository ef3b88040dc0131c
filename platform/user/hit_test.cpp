#include "wm.h"

namespace qz::user {

// The deepest visible window under `screen` inside `w`, topmost siblings
// first. A disabled child hands the point to its parent; a window answering
// WM_NCHITTEST with HTTRANSPARENT lets the windows beneath it have it.
static Window* Deepest(Window* w, POINT screen) {
  Hold hold;
  POINT origin = ClientOriginOnScreen(w);
  bool inClient = !w->parent || PointInRect(OffsetRectBy(ClientRect(w), origin.x, origin.y), screen);
  for (size_t i = 0; inClient && i < w->children.size(); ++i) {
    Window* c = w->children[i];
    if (!(c->style & WS_VISIBLE) || !PointInRect(WindowRectOnScreen(c), screen)) continue;
    if (c->style & WS_DISABLED) return IsTopLevel(c) ? c : w;
    if (Window* hit = Deepest(c, screen)) return hit;
  }
  if (w == P().desktop || w->dead) return nullptr;
  if (Send(w, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) return nullptr;
  return w->dead ? nullptr : w;
}

}  // namespace qz::user

using namespace qz::user;

// Null when no window lies under the point.
HWND WindowFromPoint(POINT screenPoint) {
  Window* w = Deepest(P().desktop, screenPoint);
  return w ? w->handle : nullptr;
}

// The topmost immediate child under a client point, hidden and disabled ones
// included; the parent itself when no child is there; null outside it.
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  if (!PointInRect(ClientRect(w), clientPoint)) return nullptr;
  for (Window* c : w->children)
    if (PointInRect(c->rect, clientPoint)) return c->handle;
  return w->handle;
}
