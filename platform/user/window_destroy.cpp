#include "wm.h"

namespace qz::user {

// WM_DESTROY reaches a window before its children.
static void SendDestroy(Window* w) {
  w->destroying = true;
  Send(w, WM_DESTROY, 0, 0);
  for (;;) {
    Window* next = nullptr;
    for (Window* c : w->children)
      if (!c->destroying) {
        next = c;
        break;
      }
    if (!next) break;
    SendDestroy(next);
  }
}

// WM_NCDESTROY reaches children before their parent; each window lets go of
// the capture, focus, timers and queued messages it holds.
void FinishDestroy(Window* w) {
  Hold hold;
  Platform& p = P();
  w->destroying = true;
  while (!w->children.empty()) FinishDestroy(w->children.front());
  Send(w, WM_NCDESTROY, 0, 0);
  ForgetWindowInput(w);
  KillTimersOf(w->handle);
  RemoveQueuedMessages(w->handle);
  for (Window* t : p.desktop->children)
    if (t->owner == w) t->owner = nullptr;
  Unlink(w);
  Retire(w);
}

}  // namespace qz::user

using namespace qz::user;

BOOL DestroyWindow(HWND hwnd) {
  Platform& p = P();
  Window* w = Find(hwnd);
  if (!w || w == p.desktop || w->destroying) return FALSE;
  Hold hold;
  if (CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0) != 0) return FALSE;
  if (w->dead || w->destroying) return FALSE;
  w->destroying = true;

  std::vector<HWND> owned;
  for (Window* t : p.desktop->children)
    if (t->owner == w) owned.push_back(t->handle);
  for (HWND t : owned) DestroyWindow(t);

  if (w->style & WS_VISIBLE) {
    if (IsVisibleChain(w)) InvalidateParentArea(w);
    w->style &= ~WS_VISIBLE;
    TouchLayout();
  }
  if (!IsTopLevel(w)) NotifyParents(w, WM_DESTROY, nullptr);
  if (w->dead) return TRUE;
  // A window that holds the focus, or contains the window that does, hands it
  // to its parent before WM_DESTROY (a top-level window to nobody): the focus
  // window gets WM_KILLFOCUS naming the parent while it still works, so an
  // edit still tells its parent EN_KILLFOCUS.
  MoveFocusOutOf(w);
  if (w->dead) return TRUE;
  SendDestroy(w);
  if (!w->dead) FinishDestroy(w);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  return Find(hwnd) != nullptr;
}
