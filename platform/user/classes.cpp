#include <strings.h>

#include <algorithm>
#include <cstring>

#include "qzplatform/classes.h"
#include "wm.h"

namespace qz {

void SetSystemClassRegistrar(void (*registrar)()) {
  user::Platform& p = user::P();
  p.registrar = registrar;
  p.registrarPending = true;
}

}  // namespace qz

namespace qz::user {

static void RunRegistrar() {
  Platform& p = P();
  if (!p.registrarPending || !p.registrar) return;
  // Cleared first: the registrar's own RegisterClassA calls look classes up.
  p.registrarPending = false;
  p.registrar();
}

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
  if (!name) return nullptr;
  RunRegistrar();
  for (const auto& c : P().classes) {
    if (IS_INTRESOURCE(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))
                             : strcasecmp(c->name.c_str(), name) == 0)
      return c;
  }
  return nullptr;
}

void ClearClasses() {
  Platform& p = P();
  p.classes.clear();
  p.registrarPending = true;
}

}  // namespace qz::user

using namespace qz::user;

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName) return 0;
  if (FindClass(wc->lpszClassName)) return 0;
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->info = *wc;
  c->info.lpszClassName = c->name.c_str();
  if (!IS_INTRESOURCE(c->info.lpszMenuName)) c->info.lpszMenuName = nullptr;
  c->info.cbWndExtra = std::max(0, wc->cbWndExtra);
  c->atom = P().nextAtom++;
  if (P().nextAtom == 0) P().nextAtom = 0xC000;
  P().classes.push_back(c);
  return c->atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto c = FindClass(className);
  if (!c || c->liveWindows > 0) return FALSE;
  auto& classes = P().classes;
  classes.erase(std::find(classes.begin(), classes.end(), c));
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* out) {
  auto c = FindClass(className);
  if (!c) return FALSE;
  if (out) *out = c->info;
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const std::string& name = w->cls ? w->cls->name : std::string();
  int n = std::min<int>(static_cast<int>(name.size()), size - 1);
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return n;
}
