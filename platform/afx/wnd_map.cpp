#include "framework_state.h"

namespace afx {

[[gnu::visibility("hidden")]] FrameworkState* g_state = nullptr;

FrameworkState& CreateState() {
  if (!g_state) g_state = new FrameworkState;
  return *g_state;
}

namespace {

void DeleteTemporary(CWnd* wnd) {
  // A temporary wrapper never owns its window.
  wnd->m_hWnd = nullptr;
  delete wnd;
}

}  // namespace

void ResetWindowMaps() {
  FrameworkState& state = State();
  for (auto& [hwnd, wnd] : state.temporary) DeleteTemporary(wnd);
  state.temporary.clear();
  // Objects whose windows are gone stay alive but forget them; objects of
  // live windows keep them.
  for (auto it = state.permanent.begin(); it != state.permanent.end();) {
    if (::IsWindow(it->first)) {
      ++it;
    } else {
      it->second->m_hWnd = nullptr;
      it->second->m_pfnSuper = nullptr;
      ForgetRecent(it->first);
      it = state.permanent.erase(it);
    }
  }
  state.currentMessage = {};
  state.reflecting = nullptr;
  state.creating = nullptr;
  state.creationDepth = 0;
  state.creationHook = nullptr;
  state.filterInstalled = false;
}

}  // namespace afx

CWnd* afx::PermanentFromMap(HWND hwnd) {
  auto& permanent = State().permanent;
  auto it = permanent.find(hwnd);
  if (it == permanent.end()) return nullptr;
  RecentSlot(hwnd) = RecentWindow{hwnd, it->second};
  return it->second;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  return afx::Permanent(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
  auto& temporary = afx::State().temporary;
  auto it = temporary.find(hwnd);
  if (it != temporary.end()) return it->second;
  // Window handles are never reused, so wrappers of dead windows can go now.
  DeleteTempMap();
  CWnd* wnd = new CWnd;
  wnd->m_hWnd = hwnd;
  temporary.emplace(hwnd, wnd);
  return wnd;
}

void CWnd::DeleteTempMap() {
  auto& temporary = afx::State().temporary;
  for (auto it = temporary.begin(); it != temporary.end();) {
    if (::IsWindow(it->first)) {
      ++it;
    } else {
      afx::DeleteTemporary(it->second);
      it = temporary.erase(it);
    }
  }
}

BOOL CWnd::Attach(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
  m_hWnd = hwnd;
  afx::State().permanent.emplace(hwnd, this);
  afx::ForgetRecent(hwnd);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (hwnd) {
    auto& permanent = afx::State().permanent;
    auto it = permanent.find(hwnd);
    if (it != permanent.end() && it->second == this) {
      permanent.erase(it);
      afx::ForgetRecent(hwnd);
    }
  }
  m_hWnd = nullptr;
  return hwnd;
}

int CWnd::GetTempMapCount() {
  return static_cast<int>(afx::State().temporary.size());
}
