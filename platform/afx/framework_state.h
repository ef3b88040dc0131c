// The framework's per-process state: which object belongs to which window,
// the message being handled, the reflection in progress and the object
// waiting for the window it is creating. The platform is single-threaded.
#pragma once

#include <unordered_map>

#include "afxwin.h"

namespace afx {

// A reflected message on its way into a child's WindowProc; the child did not
// handle it if it reaches CWnd::WindowProc.
struct ReflectFrame {
  const CWnd* target;
  UINT message;
  bool unhandled;
  ReflectFrame* previous;
};

// Recently found objects of windows, by the handle's low bits, in front of
// the map: a message reaches a handful of windows many times over.
struct RecentWindow {
  HWND hwnd = nullptr;
  CWnd* wnd = nullptr;
};
constexpr size_t kRecentWindows = 64;

struct FrameworkState {
  std::unordered_map<HWND, CWnd*> permanent;
  RecentWindow recent[kRecentWindows];
  std::unordered_map<HWND, CWnd*> temporary;
  MSG currentMessage = {};
  ReflectFrame* reflecting = nullptr;
  CWnd* creating = nullptr;
  int creationDepth = 0;
  HHOOK creationHook = nullptr;
  bool filterInstalled = false;
};

// Never destroyed: other libraries' exit code may still call in. Hidden, so
// the framework's units reach it directly on every message.
extern FrameworkState* g_state [[gnu::visibility("hidden")]];
FrameworkState& CreateState();
inline FrameworkState& State() {
  if (__builtin_expect(g_state != nullptr, 1)) return *g_state;
  return CreateState();
}
inline RecentWindow& RecentSlot(HWND hwnd) {
  return State().recent[reinterpret_cast<uintptr_t>(hwnd) % kRecentWindows];
}
// The object of a window, looked up in the map only when the recent cache
// does not know it.
CWnd* PermanentFromMap(HWND hwnd);
inline CWnd* Permanent(HWND hwnd) {
  if (!hwnd) return nullptr;
  const RecentWindow& recent = RecentSlot(hwnd);
  if (recent.hwnd == hwnd) return recent.wnd;
  return PermanentFromMap(hwnd);
}
// Forgets what the cache in front of the map knows of `hwnd`.
inline void ForgetRecent(HWND hwnd) {
  RecentSlot(hwnd) = RecentWindow{};
}

}  // namespace afx

// Attaches the object waiting in CWnd::CreateEx to the window being created.
LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam);

namespace afx {

// Installs the pre-translation chain as the platform's message filter, once
// after start or reset.
void EnsureMessageFilter();

// The application object the host made, or null.
CWinApp* CurrentAppOrNull();
void ResetDefaultApp();

void ResetWindowMaps();
void ResetCommonDialogs();

}  // namespace afx
