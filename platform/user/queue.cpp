#include "wm.h"

namespace qz::user {

[[gnu::noinline]] static bool NextPosted(HWND hwnd, UINT min, UINT max, bool remove, MSG* out) {
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

[[gnu::noinline]] static bool NextPaint(HWND hwnd, MSG* out) {
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

// WM_QUIT of PostQuitMessage, once no posted message is left.
static bool NextQuit(UINT min, UINT max, bool remove, MSG* out) {
  Platform& p = P();
  if (!p.quitPending || !InRange(WM_QUIT, min, max)) return false;
  *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(p.quitCode), 0, p.now, p.cursorPos};
  if (remove) p.quitPending = false;
  return true;
}

// Posted messages come before a quit, a quit before input, input before
// paints, paints before timer ticks; paints and ticks are made up at fetch
// time, never queued.
bool Fetch(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove, bool timers, bool* queued) {
  Platform& p = P();
  *queued = true;
  bool found = (!p.posted.Empty() && NextPosted(hwnd, min, max, remove, msg)) || NextQuit(min, max, remove, msg) ||
               (!p.input.Empty() && NextInputMessage(hwnd, min, max, remove, msg));
  if (!found) {
    *queued = false;
    found = (p.dirtyWindows != 0 && InRange(WM_PAINT, min, max) && NextPaint(hwnd, msg)) ||
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
  for (;;) {
    // Taking any message for any window, the pump gets the oldest posted
    // one first, just as Fetch would give it.
    if (!p.posted.Empty()) {
      m = p.posted.Front();
      p.posted.PopFront();
      p.messageTime = p.now;
      queued = true;
    } else if (!Fetch(&m, nullptr, 0, 0, true, timers, &queued)) {
      break;
    }
    if (queued && p.filter && p.filter(&m)) continue;
    if (IsTranslatedKey(m.message)) TranslateMessage(&m);
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

// Waits as a real loop does: when nothing is pending the virtual clock runs
// on to the next timer tick this call may take. With nothing pending and no
// timer nothing could ever arrive (input comes only from the host), so it
// answers as if the application had quit: FALSE with WM_QUIT (exit code 0)
// and the loop ends. -1 for a missing MSG or a window that does not exist.
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  Platform& p = P();
  if (!msg || (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Find(hwnd))) return -1;
  bool queued;
  while (!Fetch(msg, hwnd, filterMin, filterMax, true, true, &queued)) {
    DWORD due = 0;
    if (!InRange(WM_TIMER, filterMin, filterMax) || !NextTimerDue(hwnd, &due) || due <= p.now) {
      *msg = MSG{nullptr, WM_QUIT, 0, 0, p.now, p.cursorPos};
      return FALSE;
    }
    p.now = due;
  }
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

void PostQuitMessage(int exitCode) {
  Platform& p = P();
  p.quitPending = true;
  p.quitCode = exitCode;
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
  return w ? DispatchTo(w, msg) : 0;
}

LRESULT qz::user::DispatchTo(Window* w, const MSG* msg) {
  if (msg->message == WM_PAINT) {
    PaintNow(w, true);
    return 0;
  }
  return Deliver(w, msg->message, msg->wParam, msg->lParam, true);
}

DWORD GetMessageTime() {
  return P().messageTime;
}
