#include "wm.h"

namespace qz::user {

constexpr uintptr_t kCursorHandleBase = 0x7f000000;

// One handle per resource, whatever the module handle: loading the same
// cursor twice gives the same handle.
static HCURSOR Load(bool icon, LPCSTR name) {
  if (!name) return nullptr;
  Platform& p = P();
  uintptr_t id = IS_INTRESOURCE(name) ? reinterpret_cast<uintptr_t>(name) : 0;
  for (const CursorEntry& e : p.cursors)
    if (e.icon == icon && (id ? e.id == id : e.id == 0 && e.name == name)) return e.handle;
  auto handle = reinterpret_cast<HCURSOR>(kCursorHandleBase + p.cursors.size());
  p.cursors.push_back(CursorEntry{icon, id, id ? std::string() : std::string(name), handle});
  return handle;
}

}  // namespace qz::user

namespace qz {

using namespace user;

// A named cursor is reported by the address of its stored name.
uintptr_t CurrentCursorId() {
  Platform& p = P();
  for (const CursorEntry& e : p.cursors)
    if (e.handle == p.cursor) return e.id ? e.id : reinterpret_cast<uintptr_t>(e.name.c_str());
  return 0;
}

}  // namespace qz

using namespace qz::user;

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  return Load(false, name);
}
HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return Load(true, name);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = P().cursor;
  P().cursor = cursor;
  return old;
}

HCURSOR GetCursor() {
  return P().cursor;
}
