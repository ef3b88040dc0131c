#include <algorithm>

#include "wm.h"

namespace qz::user {

static Timer* FindTimer(HWND hwnd, UINT_PTR id) {
  for (Timer& t : P().timers)
    if (t.hwnd == hwnd && t.id == id) return &t;
  return nullptr;
}

// The earliest due tick (ties in the order the timers were set). Fetching it
// restarts the period from now, so at most one tick per timer is pending.
bool DueTimer(HWND filter, MSG* out, bool remove) {
  Platform& p = P();
  Timer* best = nullptr;
  for (Timer& t : p.timers) {
    if (t.due > p.now || !ForWindow(t.hwnd, filter)) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  if (!best) return false;
  *out = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), p.now, p.cursorPos};
  if (remove) best->due = p.now + best->period;
  return true;
}

bool NextTimerDue(HWND filter, DWORD* due) {
  const Timer* next = nullptr;
  for (const Timer& t : P().timers)
    if (ForWindow(t.hwnd, filter) && (!next || t.due < next->due)) next = &t;
  if (next) *due = next->due;
  return next != nullptr;
}

void KillTimersOf(HWND hwnd) {
  auto& timers = P().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

bool TimerHasProc(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
  Timer* t = FindTimer(hwnd, id);
  return t && t->proc == proc;
}

void ClearTimers() {
  P().timers.clear();
  P().nextTimerId = 1;
}

}  // namespace qz::user

namespace qz {

using namespace user;

DWORD Now() {
  return P().now;
}

// Steps from one due tick to the next; at each, the queue is pumped with
// timer ticks allowed, so every tick is dispatched before time moves on.
void AdvanceClock(DWORD ms) {
  Platform& p = P();
  Hold hold;
  DWORD target = p.now + ms;
  for (;;) {
    const Timer* next = nullptr;
    for (const Timer& t : p.timers)
      if (!next || t.due < next->due) next = &t;
    if (!next || next->due > target) break;
    p.now = std::max(p.now, next->due);
    PumpMessages(true);
  }
  p.now = std::max(p.now, target);
}

}  // namespace qz

using namespace qz::user;

// A timer without a window gets a fresh id unless `id` names one it already has.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  Platform& p = P();
  if (hwnd && !Find(hwnd)) return 0;
  elapse = std::max(elapse, kTimerMinimum);
  if (!hwnd && (id == 0 || !FindTimer(nullptr, id))) {
    do {
      id = p.nextTimerId++;
    } while (FindTimer(nullptr, id));
  }
  if (Timer* t = FindTimer(hwnd, id)) {
    t->period = elapse;
    t->due = p.now + elapse;
    t->proc = proc;
  } else {
    p.timers.push_back(Timer{hwnd, id, elapse, p.now + elapse, proc, p.nextTimerOrder++});
  }
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = P().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

DWORD GetTickCount() {
  return P().now;
}

// The thread sleeps: the virtual clock moves on and nothing is dispatched, so
// timers that fell due meanwhile each have one tick waiting.
void Sleep(DWORD milliseconds) {
  P().now += milliseconds;
}
