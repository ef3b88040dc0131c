#include <cstdlib>

#include "wm.h"

namespace qz::user {

static bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
}

static bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

// The virtual key a button message presses or releases, and whether it is down after it.
static int ButtonKey(UINT msg, bool* down) {
  *down = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ||
          msg == WM_MBUTTONDOWN;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return 0x04;  // VK_MBUTTON
  }
  return 0;
}

// Input is routed when it is fetched, as the platform does: mouse messages to
// the capture window or the window under the point, keys to the focus window.
// Nothing goes to a window that is disabled itself or through an ancestor.
static Window* Route(const QueuedInput& ev, MSG* m) {
  Platform& p = P();
  *m = MSG{nullptr, ev.message, ev.wParam, ev.lParam, ev.time, ev.screen};
  Window* target;
  if (IsMouseMessage(ev.message)) {
    target = p.capture ? Find(p.capture) : Find(WindowFromPoint(ev.screen));
    if (!target || !IsEnabledChain(target)) return nullptr;
    POINT origin = ClientOriginOnScreen(target);
    m->lParam = MAKELPARAM(static_cast<short>(int64_t{ev.screen.x} - origin.x),
                           static_cast<short>(int64_t{ev.screen.y} - origin.y));
  } else {
    target = Find(p.focus);
    if (!target) return nullptr;
  }
  m->hwnd = target->handle;
  return target;
}

// A second press of the same button on a CS_DBLCLKS window, close in time
// and place, becomes a double click; the press after that starts afresh.
static void DetectDoubleClick(const QueuedInput& ev, Window* target, MSG* m) {
  Platform& p = P();
  if (m->message != WM_LBUTTONDOWN && m->message != WM_RBUTTONDOWN) return;
  bool wantsDouble = target->cls && (target->cls->info.style & CS_DBLCLKS);
  if (wantsDouble && p.lastDownMessage == m->message && p.lastDownWindow == target->handle &&
      ev.time - p.lastDownTime <= kDoubleClickTime &&
      std::abs(ev.screen.x - p.lastDownPoint.x) <= kDoubleClickDistance &&
      std::abs(ev.screen.y - p.lastDownPoint.y) <= kDoubleClickDistance) {
    m->message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    p.lastDownMessage = 0;
    return;
  }
  p.lastDownMessage = m->message;
  p.lastDownWindow = target->handle;
  p.lastDownTime = ev.time;
  p.lastDownPoint = ev.screen;
}

static void Accept(const QueuedInput& ev, Window* target, MSG* m) {
  Platform& p = P();
  if (IsMouseMessage(ev.message)) {
    bool down;
    if (int vk = ButtonKey(ev.message, &down)) p.syncKeys[vk] = down;
    DetectDoubleClick(ev, target, m);
    // What DefWindowProc's WM_SETCURSOR would do, without the message.
    if (!p.capture && target->cls && target->cls->info.hCursor) p.cursor = target->cls->info.hCursor;
    // Every press over a child tells its ancestors, a double click's second
    // press too (as the press it was, not the double click it became);
    // nothing is told while a window holds the capture.
    if (IsButtonDown(ev.message) && !p.capture && !IsTopLevel(target)) NotifyParents(target, ev.message, &ev.screen);
  } else if (ev.message == WM_KEYDOWN || ev.message == WM_KEYUP) {
    if (ev.wParam < 256) p.syncKeys[ev.wParam] = ev.message == WM_KEYDOWN;
  }
}

bool NextInputMessage(HWND hwnd, UINT min, UINT max, bool remove, MSG* out) {
  Platform& p = P();
  Hold hold;
  for (size_t i = 0; i < p.input.Size();) {
    QueuedInput ev = p.input.At(i);
    MSG m;
    Window* target = Route(ev, &m);
    if (!target) {
      p.input.Erase(i);
      continue;
    }
    if (!ForWindow(m.hwnd, hwnd) || !InRange(m.message, min, max)) {
      ++i;
      continue;
    }
    if (!remove) {
      *out = m;
      return true;
    }
    p.input.Erase(i);
    Accept(ev, target, &m);
    if (target->dead) continue;
    *out = m;
    return true;
  }
  return false;
}

void ForgetWindowInput(Window* w) {
  Platform& p = P();
  if (p.capture == w->handle) p.capture = nullptr;
  if (p.focus == w->handle) p.focus = nullptr;
  if (p.lastDownWindow == w->handle) p.lastDownWindow = nullptr;
}

void ClearInput() {
  Platform& p = P();
  p.input.Clear();
  for (int k = 0; k < 256; ++k) p.asyncKeys[k] = p.syncKeys[k] = false;
  p.cursorPos = POINT{0, 0};
  p.lastDownMessage = 0;
  p.lastDownWindow = nullptr;
}

static void QueueMouse(UINT msg, POINT screen) {
  Platform& p = P();
  p.cursorPos = screen;
  bool down;
  if (int vk = ButtonKey(msg, &down)) p.asyncKeys[vk] = down;
  WPARAM flags = 0;
  if (p.asyncKeys[VK_LBUTTON]) flags |= MK_LBUTTON;
  if (p.asyncKeys[VK_RBUTTON]) flags |= MK_RBUTTON;
  if (p.asyncKeys[0x04]) flags |= MK_MBUTTON;
  if (p.asyncKeys[VK_SHIFT]) flags |= MK_SHIFT;
  if (p.asyncKeys[VK_CONTROL]) flags |= MK_CONTROL;
  p.input.PushBack(QueuedInput{msg, flags, 0, screen, p.now});
}

}  // namespace qz::user

namespace qz {

using namespace user;

// A press or release away from the pointer first moves the pointer there, as
// a real mouse does: a WM_MOUSEMOVE to the new point comes before it.
void InjectMouse(UINT msg, POINT screen) {
  Platform& p = P();
  if (msg != WM_MOUSEMOVE && (screen.x != p.cursorPos.x || screen.y != p.cursorPos.y)) QueueMouse(WM_MOUSEMOVE, screen);
  QueueMouse(msg, screen);
}

void InjectMouseAt(HWND hwnd, UINT msg, int x, int y) {
  POINT pt{x, y};
  if (ClientToScreen(hwnd, &pt)) InjectMouse(msg, pt);
}

void Click(HWND hwnd, int x, int y) {
  POINT pt{x, y};
  if (!ClientToScreen(hwnd, &pt)) return;
  InjectMouse(WM_LBUTTONDOWN, pt);
  Pump();
  InjectMouse(WM_LBUTTONUP, pt);
  Pump();
}

}  // namespace qz

using namespace qz::user;

// Every change of holder tells the one losing it, including a window that
// captures again while holding it (lParam is then itself).
HWND SetCapture(HWND hwnd) {
  Platform& p = P();
  HWND old = p.capture;
  if (!hwnd) {
    ReleaseCapture();
    return old;
  }
  Window* w = Find(hwnd);
  if (!w || w == p.desktop) return nullptr;
  p.capture = hwnd;
  if (Window* loser = Find(old)) Send(loser, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  Platform& p = P();
  HWND old = p.capture;
  p.capture = nullptr;
  if (Window* loser = Find(old)) Send(loser, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  return P().capture;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = P().cursorPos;
  return TRUE;
}

// Moving the pointer is input like any other: the window under the new point
// (or the capture window) gets a WM_MOUSEMOVE when the queue is next read.
// The screen has no edge here, so the point is taken as it is.
BOOL SetCursorPos(int x, int y) {
  Platform& p = P();
  if (x != p.cursorPos.x || y != p.cursorPos.y) QueueMouse(WM_MOUSEMOVE, POINT{x, y});
  return TRUE;
}
