#include <algorithm>

#include "wm.h"

using namespace qz::user;

// A child's parent, or a popup's owner; null for other top-level windows.
HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || !w->parent) return nullptr;
  if (!IsTopLevel(w)) return w->parent->handle;
  return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

// The window keeps its coordinates, now in the new parent's client area, and
// goes above its new siblings. Moving in or out of the top level gives or
// takes away its own surface.
HWND SetParent(HWND child, HWND newParent) {
  Platform& p = P();
  Window* w = Find(child);
  Window* np = newParent ? Find(newParent) : p.desktop;
  if (!w || !np || w == p.desktop || w == np || IsDescendant(w, np) || w->destroying) return nullptr;
  Hold hold;
  Window* old = w->parent;
  if (IsVisibleChain(w)) InvalidateParentArea(w);
  bool wasTop = IsTopLevel(w);
  Unlink(w);
  TouchLayout();
  w->parent = np;
  np->children.insert(np->children.begin(), w);
  for (Window* a = np; a; a = a->parent) a->dirtyBelow += w->dirtyBelow;
  bool isTop = IsTopLevel(w);
  if (wasTop && !isTop) FreeSurface(w);
  if (isTop && !wasTop) CreateTopLevelSurface(w);
  if (IsVisibleChain(w)) InvalidateTree(w, true);
  return old ? old->handle : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (relation == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (!w->parent) return nullptr;
  const auto& siblings = w->parent->children;
  auto it = std::find(siblings.begin(), siblings.end(), w);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front()->handle;
    case GW_HWNDLAST:
      return siblings.back()->handle;
    case GW_HWNDNEXT:
      return it + 1 < siblings.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV:
      return it > siblings.begin() ? (*(it - 1))->handle : nullptr;
  }
  return nullptr;
}

HWND GetDlgItem(HWND parent, int id) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  for (Window* c : w->children)
    if (static_cast<int>(c->id) == id) return c->handle;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->parent && !IsTopLevel(w) ? static_cast<int>(w->id) : 0;
}

HWND GetDesktopWindow() {
  return P().desktop->handle;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* a = Find(parent);
  Window* w = Find(hwnd);
  if (!a || !w || IsTopLevel(w) || a == P().desktop) return FALSE;
  for (Window* c = w->parent; c && c != P().desktop; c = c->parent)
    if (c == a) return TRUE;
  return FALSE;
}
