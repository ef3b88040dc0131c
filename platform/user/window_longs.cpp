#include <cstring>

#include "wm.h"

using namespace qz::user;

static bool ExtraSlot(const Window* w, int index) {
  return index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size();
}

LONG_PTR GetWindowLongA(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  // Asked for most, several times per message by the standard controls.
  if (index == GWL_STYLE) return static_cast<LONG_PTR>(w->style);
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      if (w->parent && !IsTopLevel(w)) return reinterpret_cast<LONG_PTR>(w->parent->handle);
      return w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
    case GWL_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA:
      return w->userData;
  }
  if (!ExtraSlot(w, index)) return 0;
  LONG_PTR value;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

// Changing the style only records it: WS_VISIBLE set this way does not show
// the window, which is what ShowWindow is for.
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongA(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWL_HWNDPARENT:
      if (IsTopLevel(w)) {
        Window* o = Find(reinterpret_cast<HWND>(value));
        w->owner = o && o != P().desktop && o != w ? TopLevelOf(o) : nullptr;
      }
      return old;
    case GWL_ID:
      w->id = static_cast<UINT_PTR>(value);
      return old;
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      TouchLayout();
      return old;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      TouchLayout();
      return old;
    case GWL_USERDATA:
      w->userData = value;
      return old;
  }
  if (!ExtraSlot(w, index)) return 0;
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return old;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  return Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(Send(w, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  return static_cast<int>(Send(w, WM_GETTEXTLENGTH, 0, 0));
}
