#include "wm.h"

#include <algorithm>

namespace qz::user {

Platform::Platform() {
  desktop = new Window;
  desktop->handle = reinterpret_cast<HWND>(kHandleBase);
  desktop->style = WS_VISIBLE;
  desktop->rect = RECT{0, 0, kScreenWidth, kScreenHeight};
  handles.push_back(desktop);
  g_handles = HandleTable{handles.data(), handles.size()};
  // Drawing on the desktop goes nowhere: its DCs get a 1x1 surface and an empty clip.
  desktopSurface.width = 1;
  desktopSurface.height = 1;
  desktopSurface.pixels.assign(1, 0);
}

[[gnu::visibility("hidden")]] Platform* g_platform = nullptr;
[[gnu::visibility("hidden")]] HandleTable g_handles = {nullptr, 0};

Window* FindFirst(HWND hwnd) {
  if (g_platform) return nullptr;
  CreatePlatform();
  return Find(hwnd);
}

// Never destroyed: other libraries' exit code may still call in.
Platform& CreatePlatform() {
  if (!g_platform) g_platform = new Platform;
  return *g_platform;
}

void CollectGraveyard() {
  Platform& p = P();
  while (!p.graveyard.empty()) {
    Window* w = p.graveyard.back();
    p.graveyard.pop_back();
    delete w;
  }
}

Window* NewWindow() {
  Platform& p = P();
  Window* w = new Window;
  w->handle = reinterpret_cast<HWND>(kHandleBase + p.handles.size());
  p.handles.push_back(w);
  g_handles = HandleTable{p.handles.data(), p.handles.size()};
  return w;
}

void Retire(Window* w) {
  Platform& p = P();
  w->dead = true;
  p.handles[reinterpret_cast<uintptr_t>(w->handle) - kHandleBase] = nullptr;
  if (w->cls) --w->cls->liveWindows;
  w->frameDirty = false;
  ClearUpdate(w);
  FreeSurface(w);
  p.graveyard.push_back(w);
  if (p.hold == 0) CollectGraveyard();
}

Window* TopLevelOf(Window* w) {
  while (w->parent && !IsTopLevel(w)) w = w->parent;
  return w;
}

bool IsVisibleChain(const Window* w) {
  for (; w; w = w->parent)
    if (!(w->style & WS_VISIBLE)) return false;
  return true;
}

bool IsEnabledChain(const Window* w) {
  for (; w; w = w->parent)
    if (w->style & WS_DISABLED) return false;
  return true;
}

bool IsDescendant(const Window* ancestor, const Window* w) {
  for (w = w ? w->parent : nullptr; w; w = w->parent)
    if (w == ancestor) return true;
  return false;
}

void Unlink(Window* w) {
  if (!w->parent) return;
  auto& siblings = w->parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  for (Window* a = w->parent; a; a = a->parent) a->dirtyBelow -= w->dirtyBelow;
  TouchLayout();
  w->parent = nullptr;
}

void Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool posted) {
  P().recorded.push_back(RecordedMessage{hwnd, msg, wParam, lParam, posted});
}

static LRESULT CallProc(Platform& p, Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = w->proc ? w->proc : DefWindowProcA;
  Hold hold(p);
  return proc(w->handle, msg, wParam, lParam);
}

// Apart, so that delivering without the recorder keeps nothing across a call
// but the platform.
[[gnu::noinline]] static LRESULT RecordAndCall(Platform& p, Window* w, UINT msg, WPARAM wParam, LPARAM lParam,
                                               bool posted) {
  Record(w->handle, msg, wParam, lParam, posted);
  return CallProc(p, w, msg, wParam, lParam);
}

LRESULT Deliver(Window* w, UINT msg, WPARAM wParam, LPARAM lParam, bool posted) {
  Platform& p = MadePlatform();
  if (p.recording) return RecordAndCall(p, w, msg, wParam, lParam, posted);
  return CallProc(p, w, msg, wParam, lParam);
}

}  // namespace qz::user
