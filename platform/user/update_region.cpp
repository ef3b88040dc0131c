#include "wm.h"

namespace qz::user {

void SyncDirty(Window* w) {
  bool dirty = !w->update.Empty() || w->frameDirty;
  if (dirty == w->dirty) return;
  w->dirty = dirty;
  P().dirtyWindows += dirty ? 1 : -1;
  for (Window* a = w; a; a = a->parent) a->dirtyBelow += dirty ? 1u : -1u;
}

void ClearUpdate(Window* w) {
  w->update.Clear();
  w->erase = false;
  ++w->paintSerial;
  SyncDirty(w);
}

// The common part of two rectangles, for callers that only ask whether it
// is empty before using it: InvalidateRect runs for every thumb step.
static inline RECT Overlap(const RECT& a, const RECT& b) {
  return RECT{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
              a.bottom < b.bottom ? a.bottom : b.bottom};
}

static inline bool NoArea(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// `r` is within the client area and not empty.
static void AddClientUpdate(Window* w, const RECT& r, bool erase) {
  if (w->update.Empty())
    w->update.Set(r);
  else
    w->update.Add(r);
  if (erase) w->erase = true;
  SyncDirty(w);
}

void AddUpdate(Window* w, const RECT& clientRect, bool erase) {
  RECT r = IntersectRects(clientRect, ClientRect(w));
  if (IsEmptyRect(r)) return;
  AddClientUpdate(w, r, erase);
}

static void MarkFrame(Window* w) {
  if (FrameInset(w) == 0) return;
  w->frameDirty = true;
  SyncDirty(w);
}

void InvalidateArea(Window* w, const RECT* clientRect, bool erase, Children children) {
  if (!IsVisibleChain(w)) return;
  RECT client = ClientRect(w);
  RECT r = clientRect ? Overlap(*clientRect, client) : client;
  if (NoArea(r)) return;
  AddClientUpdate(w, r, erase);
  if (children == Children::kNone || (children == Children::kByStyle && (w->style & WS_CLIPCHILDREN))) return;
  for (Window* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    RECT over = Overlap(r, c->rect);
    if (NoArea(over)) continue;
    MarkFrame(c);
    int inset = FrameInset(c);
    RECT local = OffsetRectBy(over, -(c->rect.left + inset), -(c->rect.top + inset));
    InvalidateArea(c, &local, erase, children);
  }
}

void InvalidateTree(Window* w, bool erase) {
  if (!IsVisibleChain(w)) return;
  MarkFrame(w);
  AddUpdate(w, ClientRect(w), erase);
  for (Window* c : w->children) InvalidateTree(c, erase);
}

void InvalidateParentArea(Window* w) {
  if (!w->parent || IsTopLevel(w)) return;
  InvalidateArea(w->parent, &w->rect, true, Children::kByStyle);
}

void ClearUpdateTree(Window* w) {
  w->frameDirty = false;
  ClearUpdate(w);
  for (Window* c : w->children) ClearUpdateTree(c);
}

static void ValidateArea(Window* w, const RECT* clientRect, bool allChildren) {
  if (clientRect) {
    w->update.Subtract(*clientRect);
    if (w->update.Empty()) w->erase = false;
    ++w->paintSerial;
    SyncDirty(w);
  } else {
    ClearUpdate(w);
  }
  if (!allChildren) return;
  for (Window* c : w->children) {
    if (!clientRect) {
      ValidateArea(c, nullptr, true);
      continue;
    }
    RECT over = IntersectRects(*clientRect, c->rect);
    if (IsEmptyRect(over)) continue;
    int inset = FrameInset(c);
    RECT local = OffsetRectBy(over, -(c->rect.left + inset), -(c->rect.top + inset));
    ValidateArea(c, &local, true);
  }
}

// Parents before children and, among siblings, the bottom one first, so a
// sibling above paints over one below.
Window* FirstDirty(Window* w) {
  if (w->dirtyBelow == 0 || !(w->style & WS_VISIBLE)) return nullptr;
  if (w->dirty) return w;
  for (size_t i = w->children.size(); i-- > 0;)
    if (Window* d = FirstDirty(w->children[i])) return d;
  return nullptr;
}

// A window whose WM_PAINT handler never validates would be sent WM_PAINT
// forever; the region is validated for it.
void PaintNow(Window* w, bool posted) {
  Hold hold;
  if (w->frameDirty) PaintFrame(w);
  if (w->dead) return;
  if (w->update.Empty()) return;
  unsigned serial = w->paintSerial;
  Deliver(w, WM_PAINT, 0, 0, posted);
  if (!w->dead && w->paintSerial == serial) ClearUpdate(w);
}

void PaintTree(Window* w) {
  Hold hold;
  if (!(w->style & WS_VISIBLE)) return;
  if (w->dirty) PaintNow(w, false);
  // Bottom sibling first; a child destroyed meanwhile shortens the list.
  for (size_t i = w->children.size(); !w->dead && i-- > 0;)
    if (i < w->children.size()) PaintTree(w->children[i]);
}

static void EraseNow(Window* w) {
  if (w->erase && !w->update.Empty()) GetUpdateRect(w->handle, nullptr, TRUE);
}

}  // namespace qz::user

using namespace qz::user;

// A null window (or the desktop) stands for every top-level window, whole.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Platform& p = P();
  Window* w = hwnd ? Find(hwnd) : p.desktop;
  if (!w) return FALSE;
  if (w == p.desktop) {
    for (Window* top : p.desktop->children) InvalidateTree(top, erase != FALSE);
    return TRUE;
  }
  InvalidateArea(w, rect, erase != FALSE, Children::kByStyle);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  ValidateArea(w, rect, false);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  bool dirty = !w->update.Empty();
  if (rect) *rect = dirty ? w->update.Bounds() : RECT{0, 0, 0, 0};
  if (erase && dirty && w->erase) {
    Hold hold;
    w->erase = false;
    if (HDC hdc = MakeWindowDC(w, true, &w->update)) {
      Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
      ReleaseWindowDC(hdc);
    }
  }
  return dirty;
}

// A region is taken by its bounding box.
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  Platform& p = P();
  Window* w = hwnd ? Find(hwnd) : p.desktop;
  if (!w) return FALSE;
  Hold hold;
  if (w == p.desktop) {
    for (size_t i = 0; i < p.desktop->children.size(); ++i)
      RedrawWindow(p.desktop->children[i]->handle, nullptr, nullptr, flags);
    return TRUE;
  }
  RECT box;
  if (!rect && region && GetRgnBox(region, &box) != ERROR) rect = &box;
  Children children = (flags & RDW_ALLCHILDREN)  ? Children::kAll
                      : (flags & RDW_NOCHILDREN) ? Children::kNone
                                                 : Children::kByStyle;
  if (flags & RDW_INVALIDATE) {
    if (!rect && children == Children::kAll)
      InvalidateTree(w, (flags & RDW_ERASE) != 0);
    else
      InvalidateArea(w, rect, (flags & RDW_ERASE) != 0, children);
  }
  if (flags & RDW_VALIDATE) ValidateArea(w, rect, children == Children::kAll);
  if ((flags & RDW_ERASENOW) && !w->dead) EraseNow(w);
  if ((flags & RDW_UPDATENOW) && !w->dead) PaintTree(w);
  return TRUE;
}

// Paints the window, then its children, wherever an update region is pending.
BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (IsVisibleChain(w)) PaintTree(w);
  return TRUE;
}
