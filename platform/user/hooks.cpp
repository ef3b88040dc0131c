#include <algorithm>

#include "wm.h"

namespace qz::user {

// The most recently installed hook of a type runs first; CallNextHookEx walks
// towards older ones.
static LRESULT CallFrom(size_t end, int type, int code, WPARAM wParam, LPARAM lParam) {
  auto& hooks = P().hooks;
  for (size_t i = std::min(end, hooks.size()); i-- > 0;)
    if (hooks[i].type == type) return hooks[i].proc(code, wParam, lParam);
  return 0;
}

LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam) {
  return CallFrom(P().hooks.size(), type, code, wParam, lParam);
}

void ClearHooks() {
  P().hooks.clear();
}

}  // namespace qz::user

using namespace qz::user;

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
  if (idHook != WH_CBT || !proc) return nullptr;
  Platform& p = P();
  HHOOK handle = reinterpret_cast<HHOOK>(p.nextHook++);
  p.hooks.push_back(Hook{handle, idHook, proc});
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  auto& hooks = P().hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  auto& hooks = P().hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
  if (it == hooks.end()) return 0;
  return CallFrom(static_cast<size_t>(it - hooks.begin()), it->type, code, wParam, lParam);
}
