#include "wm.h"

namespace qz::user {

// Hiding the focus window (or an ancestor of it) hands the focus to the
// hidden window's parent, or to nobody for a top-level window.
void MoveFocusOutOf(Window* w) {
  Platform& p = P();
  Window* f = Find(p.focus);
  if (!f || (f != w && !IsDescendant(w, f))) return;
  HWND heir = IsTopLevel(w) ? nullptr : w->parent->handle;
  if (!heir || !SetFocus(heir)) SetFocus(nullptr);
}

}  // namespace qz::user

using namespace qz::user;

// The focus is moved before WM_KILLFOCUS goes out, so GetFocus() in that
// handler already names the new window; if the handler moves the focus
// elsewhere, the new window gets no WM_SETFOCUS.
HWND SetFocus(HWND hwnd) {
  Platform& p = P();
  Hold hold;
  HWND old = p.focus;
  if (!hwnd) {
    p.focus = nullptr;
    if (Window* loser = Find(old)) Send(loser, WM_KILLFOCUS, 0, 0);
    return old;
  }
  Window* w = Find(hwnd);
  if (!w || w == p.desktop || w->destroying || (w->style & WS_DISABLED)) return nullptr;
  if (old == hwnd) return old;
  p.focus = hwnd;
  if (Window* loser = Find(old)) Send(loser, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (p.focus == hwnd && !w->dead) Send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  return P().focus;
}
