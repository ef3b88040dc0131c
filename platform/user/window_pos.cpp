#include <algorithm>

#include "wm.h"

namespace qz::user {

// No WM_SHOWWINDOW is sent: nothing in the module or the framework uses it.
void ShowInternal(Window* w, bool show) {
  TouchLayout();
  if (show) {
    if (w->style & WS_VISIBLE) return;
    w->style |= WS_VISIBLE;
    if (IsVisibleChain(w)) InvalidateTree(w, true);
    return;
  }
  if (!(w->style & WS_VISIBLE)) return;
  if (IsVisibleChain(w)) InvalidateParentArea(w);
  w->style &= ~WS_VISIBLE;
  ClearUpdateTree(w);
  MoveFocusOutOf(w);
}

static bool Reorder(Window* w, HWND after) {
  auto& siblings = w->parent->children;
  auto it = std::find(siblings.begin(), siblings.end(), w);
  size_t from = static_cast<size_t>(it - siblings.begin());
  size_t to;
  uintptr_t a = reinterpret_cast<uintptr_t>(after);
  if (a == 1) {  // HWND_BOTTOM
    to = siblings.size() - 1;
  } else if (a == 0 || a == static_cast<uintptr_t>(-1) || a == static_cast<uintptr_t>(-2)) {  // HWND_TOP, (NO)TOPMOST
    to = 0;
  } else {
    Window* s = Find(after);
    if (!s || s->parent != w->parent || s == w) return false;
    // Directly below `s`: just after it in the topmost-first order.
    size_t at = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), s) - siblings.begin());
    to = at > from ? at : at + 1;
  }
  if (to == from) return false;
  siblings.erase(siblings.begin() + from);
  siblings.insert(siblings.begin() + to, w);
  TouchLayout();
  return true;
}

static void ResizeSurface(Window* w) {
  FreeSurface(w);
  CreateTopLevelSurface(w);
}

}  // namespace qz::user

using namespace qz::user;

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = Find(hwnd);
  if (!w || w == P().desktop) return FALSE;
  Hold hold;
  BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
  ShowInternal(w, cmd != SW_HIDE);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && IsVisibleChain(w);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

// A top-level window's pixels live on its own surface, so moving one repaints
// nothing; resizing renews the surface. A child repaints its old area in the
// parent and all of itself at the new place.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Find(hwnd);
  if (!w || w == P().desktop) return FALSE;
  Hold hold;
  RECT old = w->rect;
  RECT next = old;
  if (!(flags & SWP_NOMOVE))
    next = RECT{x, y, SaturateInt(int64_t{x} + old.right - old.left), SaturateInt(int64_t{y} + old.bottom - old.top)};
  if (!(flags & SWP_NOSIZE)) {
    next.right = SaturateInt(int64_t{next.left} + std::max(0, cx));
    next.bottom = SaturateInt(int64_t{next.top} + std::max(0, cy));
  }
  bool moved = next.left != old.left || next.top != old.top;
  bool sized = int64_t{next.right} - next.left != int64_t{old.right} - old.left ||
               int64_t{next.bottom} - next.top != int64_t{old.bottom} - old.top;
  bool topLevel = IsTopLevel(w);
  bool redraw = !(flags & SWP_NOREDRAW) && IsVisibleChain(w);
  bool restacked = !(flags & SWP_NOZORDER) && Reorder(w, insertAfter);

  if (moved || sized) TouchLayout();
  if (topLevel) {
    w->rect = next;
    if (sized) ResizeSurface(w);
    if (sized && IsVisibleChain(w)) InvalidateTree(w, true);
  } else if (moved || sized || restacked) {
    if (redraw && (moved || sized)) InvalidateParentArea(w);
    w->rect = next;
    // What was worked out from the old place while invalidating it is stale.
    if (moved || sized) TouchLayout();
    if (redraw) InvalidateTree(w, true);
  }
  if ((flags & SWP_FRAMECHANGED) && IsVisibleChain(w)) InvalidateTree(w, true);
  if (flags & SWP_SHOWWINDOW) ShowInternal(w, true);
  if (flags & SWP_HIDEWINDOW) ShowInternal(w, false);
  if (sized && !w->dead) {
    RECT client = ClientRect(w);
    Send(w, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
  }
  return TRUE;
}

// Disabling cancels any mode the window is in (a drag holding the capture)
// and takes the focus away from it and its children before WM_ENABLE.
BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Platform& p = P();
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  Hold hold;
  BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    Send(w, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    Send(w, WM_CANCELMODE, 0, 0);
    if (w->dead) return wasDisabled;
    w->style |= WS_DISABLED;
    Window* focus = Find(p.focus);
    if (focus && (focus == w || IsDescendant(w, focus))) SetFocus(nullptr);
    if (w->dead) return wasDisabled;
    Send(w, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}
