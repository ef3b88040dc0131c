// Popup menus: item lists held by handle, shown through the host's menu
// responder instead of a window of their own.
#include <map>
#include <memory>
#include <utility>

#include "qzplatform/menus.h"
#include "wm.h"

namespace {

// Menu handles only grow, so a destroyed menu's handle is never reused.
constexpr uintptr_t kMenuHandleBase = 0x700000;

struct Item {
  UINT flags = 0;
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string text;
};

struct Menu {
  std::vector<Item> items;
  bool owned = false;  // appended to another menu as its submenu
};

struct MenuState {
  std::map<HMENU, Menu> menus;
  uintptr_t next = kMenuHandleBase;
  qz::MenuResponder responder;
  std::vector<qz::MenuRequest> requests;
};

MenuState& Menus() {
  static MenuState state;
  return state;
}

Menu* Find(HMENU menu) {
  auto found = Menus().menus.find(menu);
  return found == Menus().menus.end() ? nullptr : &found->second;
}

bool Enabled(UINT flags) {
  return (flags & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::vector<qz::MenuItem> Describe(const Menu& menu) {
  std::vector<qz::MenuItem> out;
  for (const Item& item : menu.items) {
    qz::MenuItem shown;
    shown.flags = item.flags;
    shown.text = item.text;
    if (item.flags & MF_SEPARATOR) {
      shown.kind = qz::MenuItem::Kind::Separator;
    } else if (item.flags & MF_POPUP) {
      shown.kind = qz::MenuItem::Kind::Popup;
      if (const Menu* sub = Find(item.submenu)) shown.items = Describe(*sub);
    } else {
      shown.id = item.id;
    }
    out.push_back(std::move(shown));
  }
  return out;
}

bool HasCommand(const std::vector<qz::MenuItem>& items, UINT id) {
  for (const qz::MenuItem& item : items) {
    if (!Enabled(item.flags)) continue;
    if (item.kind == qz::MenuItem::Kind::String && item.id == id) return true;
    if (item.kind == qz::MenuItem::Kind::Popup && HasCommand(item.items, id)) return true;
  }
  return false;
}

// Whether `inner` is `outer` or lies somewhere below it.
bool Contains(HMENU outer, HMENU inner) {
  if (outer == inner) return true;
  const Menu* menu = Find(outer);
  if (!menu) return false;
  for (const Item& item : menu->items)
    if ((item.flags & MF_POPUP) && Contains(item.submenu, inner)) return true;
  return false;
}

}  // namespace

namespace qz {

void SetMenuResponder(MenuResponder responder) {
  Menus().responder = std::move(responder);
}

void ResetMenus() {
  MenuState& state = Menus();
  state.menus.clear();
  state.responder = nullptr;
  state.requests.clear();
}

const std::vector<MenuRequest>& MenuRequests() {
  return Menus().requests;
}

size_t LiveMenuCount() {
  return Menus().menus.size();
}

UINT FindMenuCommand(const std::vector<MenuItem>& items, const std::vector<std::string>& path) {
  if (path.empty()) return 0;
  for (const MenuItem& item : items) {
    if (item.text != path.front()) continue;
    if (path.size() == 1 && item.kind == MenuItem::Kind::String) return item.id;
    if (path.size() > 1 && item.kind == MenuItem::Kind::Popup) {
      const UINT id = FindMenuCommand(item.items, {path.begin() + 1, path.end()});
      if (id) return id;
    }
  }
  return 0;
}

MenuResponder ChooseMenuItem(std::vector<std::string> path) {
  return [path = std::move(path)](const MenuRequest& request) { return FindMenuCommand(request.items, path); };
}

}  // namespace qz

HMENU CreatePopupMenu() {
  MenuState& state = Menus();
  HMENU handle = reinterpret_cast<HMENU>(state.next++);
  state.menus.emplace(handle, Menu{});
  return handle;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  Menu* target = Find(menu);
  if (!target) return FALSE;
  Item item;
  item.flags = flags;
  if (flags & MF_SEPARATOR) {
    target->items.push_back(item);
    return TRUE;
  }
  if (flags & MF_POPUP) {
    HMENU sub = reinterpret_cast<HMENU>(idOrSubmenu);
    Menu* submenu = Find(sub);
    // A submenu belongs to one menu, and a menu cannot hold itself.
    if (!submenu || submenu->owned || Contains(sub, menu)) return FALSE;
    submenu->owned = true;
    item.submenu = sub;
  } else {
    item.id = static_cast<UINT>(idOrSubmenu);
  }
  item.text = text ? text : "";
  target->items.push_back(std::move(item));
  return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
  MenuState& state = Menus();
  auto found = state.menus.find(menu);
  if (found == state.menus.end()) return FALSE;
  std::vector<HMENU> submenus;
  for (const Item& item : found->second.items)
    if (item.flags & MF_POPUP) submenus.push_back(item.submenu);
  state.menus.erase(found);
  for (HMENU sub : submenus) DestroyMenu(sub);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  return Find(menu) != nullptr;
}

int GetMenuItemCount(HMENU menu) {
  const Menu* found = Find(menu);
  return found ? static_cast<int>(found->items.size()) : -1;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  const Menu* found = Find(menu);
  if (!found || !IsWindow(owner)) return FALSE;
  qz::MenuRequest request;
  request.owner = owner;
  request.flags = flags;
  request.at = POINT{x, y};
  request.items = Describe(*found);
  MenuState& state = Menus();
  state.requests.push_back(request);
  // A copy: the responder may replace itself while it runs.
  qz::MenuResponder responder = state.responder;
  UINT chosen = responder ? responder(request) : 0;
  if (chosen && !HasCommand(request.items, chosen)) chosen = 0;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && !(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, chosen, 0);
  return chosen != 0;
}
