#include <cstdint>

#include "wm.h"

namespace qz::user {

RECT WindowRectOnScreen(const Window* w) {
  if (!w->parent) return w->rect;
  POINT origin = ClientOriginOnScreen(w->parent);
  return OffsetRectBy(w->rect, origin.x, origin.y);
}

// Worked out again only after the layout changed: every move, resize, new
// parent or style change bumps the layout serial.
POINT ClientOriginOnScreen(const Window* w) {
  if (!w->parent) return POINT{0, 0};
  const uint64_t serial = P().layoutSerial;
  if (w->originSerial == serial) return w->screenOrigin;
  int64_t x = 0, y = 0;
  for (const Window* a = w; a->parent; a = a->parent) {
    // 64 bits hold the sum of any chain of int offsets.
    const int inset = FrameInset(a);
    x += int64_t{a->rect.left} + inset;
    y += int64_t{a->rect.top} + inset;
  }
  w->screenOrigin = POINT{SaturateInt(x), SaturateInt(y)};
  w->originSerial = serial;
  return w->screenOrigin;
}

RECT WindowRectOnSurface(const Window* w) {
  RECT screen = WindowRectOnScreen(w);
  const RECT& top = TopLevelOf(const_cast<Window*>(w))->rect;
  return OffsetRectBy(screen, SaturateInt(-int64_t{top.left}), SaturateInt(-int64_t{top.top}));
}

RECT ClientRectOnSurface(const Window* w) {
  POINT origin = ClientOriginOnScreen(w);
  const RECT& top = TopLevelOf(const_cast<Window*>(w))->rect;
  return OffsetRectBy(ClientRect(w), SaturateInt(int64_t{origin.x} - top.left),
                      SaturateInt(int64_t{origin.y} - top.top));
}

}  // namespace qz::user

using namespace qz::user;

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ClientRect(w);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = WindowRectOnScreen(w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT origin = ClientOriginOnScreen(w);
  point->x = SaturateInt(int64_t{point->x} + origin.x);
  point->y = SaturateInt(int64_t{point->y} + origin.y);
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT origin = ClientOriginOnScreen(w);
  point->x = SaturateInt(int64_t{point->x} - origin.x);
  point->y = SaturateInt(int64_t{point->y} - origin.y);
  return TRUE;
}

// A null window stands for the screen.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  Window* a = from ? Find(from) : P().desktop;
  Window* b = to ? Find(to) : P().desktop;
  if (!a || !b) return 0;
  POINT oa = ClientOriginOnScreen(a);
  POINT ob = ClientOriginOnScreen(b);
  const int64_t dx = int64_t{oa.x} - ob.x, dy = int64_t{oa.y} - ob.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x = SaturateInt(points[i].x + dx);
    points[i].y = SaturateInt(points[i].y + dy);
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}
