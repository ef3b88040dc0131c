#include "wm.h"

namespace qz::user {

static bool NextPosted(HWND hwnd, UINT min, UINT max, bool remove, MSG* out) {
  Ring<MSG>& posted = P().posted;
  for (size_t i = 0; i < posted.Size(); ++i) {
    const MSG& m = posted.At(i);
    if (!ForWindow(m.hwnd, hwnd) || !InRange(m.message, min, max)) continue;
    *out = m;
    if (remove) posted.Erase(i);
    return true;
  }
  return false;
}

static bool NextPaint(HWND hwnd, MSG* out) {
  Platform& p = P();
  if (p.dirtyWindows == 0) return false;
  Window* w = nullptr;
  if (!hwnd) {
    w = FirstDirty(p.desktop);
  } else if (Window* f = Find(hwnd); f && f->dirty && IsVisibleChain(f)) {
    w = f;
  }
  if (!w) return false;
  *out = MSG{w->handle, WM_PAINT, 0, 0, p.now, p.cursorPos};
  return true;
}

// Posted messages come before input, input before paints, paints before
// timer ticks; paints and ticks are made up at fetch time, never queued.
bool Fetch(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove, bool timers, bool* queued) {
  Platform& p = P();
  *queued = true;
  bool found = NextPosted(hwnd, min, max, remove, msg) || NextInputMessage(hwnd, min, max, remove, msg);
  if (!found) {
    *queued = false;
    found = (InRange(WM_PAINT, min, max) && NextPaint(hwnd, msg)) ||
            (timers && InRange(WM_TIMER, min, max) && DueTimer(hwnd, msg, remove));
  }
  if (found && remove) p.messageTime = p.now;
  return found;
}

int PumpMessages(bool timers) {
  Platform& p = P();
  Hold hold;
  int count = 0;
  MSG m;
  bool queued;
  while (Fetch(&m, nullptr, 0, 0, true, timers, &queued)) {
    if (queued && p.filter && p.filter(&m)) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
    ++count;
  }
  return count;
}

void RemoveQueuedMessages(HWND hwnd) {
  P().posted.EraseIf([hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

}  // namespace qz::user

namespace qz {

void SetMessageFilter(MessageFilter filter) {
  user::P().filter = filter;
}

int Pump() {
  return user::PumpMessages(false);
}

}  // namespace qz

using namespace qz::user;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  return w ? Deliver(w, msg, wParam, lParam, false) : 0;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Platform& p = P();
  if (hwnd && !Find(hwnd)) return FALSE;
  p.posted.PushBack(MSG{hwnd, msg, wParam, lParam, p.now, p.cursorPos});
  return TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
  if (!msg) return FALSE;
  bool queued;
  return Fetch(msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0, true, &queued);
}

// A WM_TIMER whose lParam names a callback runs that callback, but only one
// belonging to a live timer: a forged lParam is not a function to call.
LRESULT DispatchMessageA(const MSG* msg) {
  Platform& p = P();
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (!TimerHasProc(msg->hwnd, msg->wParam, proc)) return 0;
    if (p.recording) Record(msg->hwnd, WM_TIMER, msg->wParam, msg->lParam, true);
    Hold hold;
    proc(msg->hwnd, WM_TIMER, msg->wParam, p.now);
    return 0;
  }
  Window* w = Find(msg->hwnd);
  if (!w) return 0;
  if (msg->message == WM_PAINT) {
    PaintNow(w, true);
    return 0;
  }
  return Deliver(w, msg->message, msg->wParam, msg->lParam, true);
}

DWORD GetMessageTime() {
  return P().messageTime;
}
