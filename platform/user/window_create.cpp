#include <algorithm>

#include "wm.h"

namespace qz::user {

// Every ancestor hears of the child until one in the chain has
// WS_EX_NOPARENTNOTIFY. Button presses carry the point in each recipient's
// client coordinates; creation and destruction carry the child itself.
void NotifyParents(Window* child, UINT event, const POINT* screenPoint) {
  Hold hold;
  WPARAM creationParam = MAKEWPARAM(event, child->id);
  LPARAM creationWindow = reinterpret_cast<LPARAM>(child->handle);
  for (Window* c = child; c->parent && !IsTopLevel(c) && !c->dead; c = c->parent) {
    if (c->exStyle & WS_EX_NOPARENTNOTIFY) break;
    Window* parent = c->parent;
    if (screenPoint) {
      POINT origin = ClientOriginOnScreen(parent);
      Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, 0),
           MAKELPARAM(static_cast<short>(int64_t{screenPoint->x} - origin.x),
                      static_cast<short>(int64_t{screenPoint->y} - origin.y)));
    } else {
      Send(parent, WM_PARENTNOTIFY, creationParam, creationWindow);
    }
    if (parent->dead) break;
  }
}

}  // namespace qz::user

using namespace qz::user;

namespace {

// Children a parent has room for when its first one is created.
constexpr size_t kFirstChildrenRoom = 8;

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  Platform& p = P();
  Hold hold;
  auto cls = FindClass(className);
  if (!cls) return nullptr;

  Window* parent = p.desktop;
  Window* owner = nullptr;
  if (style & WS_CHILD) {
    parent = Find(parentHandle);
    if (!parent || parent->destroying) return nullptr;
  } else if (parentHandle) {
    Window* o = Find(parentHandle);
    if (!o) return nullptr;
    if (o != p.desktop) owner = TopLevelOf(o);
  }
  bool topLevel = parent == p.desktop;
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = topLevel ? 640 : 0;
    height = topLevel ? 480 : 0;
  }
  width = std::max(0, width);
  height = std::max(0, height);

  Window* w = NewWindow();
  HWND hwnd = w->handle;
  w->cls = cls;
  ++cls->liveWindows;
  w->proc = cls->info.lpfnWndProc;
  // Shown only after WM_CREATE, as the platform does.
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->id = topLevel ? 0 : reinterpret_cast<UINT_PTR>(menuOrId);
  w->instance = instance;
  w->rect = RECT{x, y, SaturateInt(int64_t{x} + width), SaturateInt(int64_t{y} + height)};
  w->extra.Reset(static_cast<size_t>(cls->info.cbWndExtra));
  w->owner = owner;
  w->parent = parent;
  TouchLayout();
  if (topLevel) {
    parent->children.insert(parent->children.begin(), w);
    CreateTopLevelSurface(w);
  } else {
    // Most parents hold a handful of children: room for them at the first
    // saves the vector growing one step at a time.
    if (parent->children.capacity() == 0) parent->children.reserve(kFirstChildrenRoom);
    parent->children.push_back(w);
  }

  CREATESTRUCTA cs{param, instance, menuOrId,    parentHandle, height,    width,
                   y,     x,        (LONG)style, windowName,   className, exStyle};
  CBT_CREATEWNDA cbt{&cs, nullptr};
  if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt)) != 0) {
    if (!w->dead) {
      Unlink(w);
      Retire(w);
    }
    return nullptr;
  }
  if (w->dead) return nullptr;
  if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (!w->dead) FinishDestroy(w);
    return nullptr;
  }
  if (w->dead) return nullptr;
  if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (w->dead) return nullptr;
  if (style & WS_VISIBLE) ShowInternal(w, true);
  if (!topLevel) NotifyParents(w, WM_CREATE, nullptr);
  return w->dead ? nullptr : hwnd;
}
