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

size_t ClassNameHash::operator()(std::string_view name) const {
  // Eight bytes at a time with bit 5 set in each, which makes upper- and
  // lower-case letters alike (and a few other pairs, which only share a bucket).
  constexpr uint64_t kCaseBits = 0x2020202020202020ull;
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  uint64_t hash = name.size() * kMultiplier;
  size_t at = 0;
  for (; at + sizeof(uint64_t) <= name.size(); at += sizeof(uint64_t)) {
    uint64_t word;
    std::memcpy(&word, name.data() + at, sizeof word);
    hash = (hash ^ (word | kCaseBits)) * kMultiplier;
    hash ^= hash >> 29;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, name.data() + at, name.size() - at);
  hash = (hash ^ (tail | kCaseBits)) * kMultiplier;
  return static_cast<size_t>(hash ^ (hash >> 32));
}

bool ClassNameEqual::operator()(std::string_view a, std::string_view b) const {
  // Class names hold no NUL, so the C library's comparison sees all of them.
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
  if (!name) return nullptr;
  RunRegistrar();
  Platform& p = P();
  if (!IS_INTRESOURCE(name)) {
    auto found = p.classesByName.find(std::string_view(name));
    return found == p.classesByName.end() ? nullptr : found->second;
  }
  for (const auto& c : p.classes)
    if (c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))) return c;
  return nullptr;
}

void ClearClasses() {
  Platform& p = P();
  p.classes.clear();
  p.classesByName.clear();
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
  P().classesByName.emplace(c->name, c);
  return c->atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto c = FindClass(className);
  if (!c || c->liveWindows > 0) return FALSE;
  auto& classes = P().classes;
  classes.erase(std::find(classes.begin(), classes.end(), c));
  P().classesByName.erase(c->name);
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
