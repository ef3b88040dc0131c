// How a host answers the platform's popup menus, as it answers dialogs: a
// responder called with what the menu would show, returning the command the
// user chose. The default responder dismisses the menu. Every request is
// logged for tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../windows.h"

namespace qz {

struct MenuItem {
  enum class Kind { String, Separator, Popup };
  Kind kind = Kind::String;
  UINT flags = 0;  // the MF_ flags it was appended with
  UINT id = 0;     // the command of a string item
  std::string text;
  std::vector<MenuItem> items;  // a popup's items
};

struct MenuRequest {
  HWND owner = nullptr;
  UINT flags = 0;  // the caller's TPM_ flags
  POINT at{};      // screen point
  std::vector<MenuItem> items;
};

// The command chosen, 0 to dismiss. A command that names no enabled string
// item of the menu counts as dismissing it.
using MenuResponder = std::function<UINT(const MenuRequest&)>;

void SetMenuResponder(MenuResponder responder);
// Back to the dismissing responder; also clears the request log. Menus made
// and not destroyed are forgotten (ResetPlatform calls this).
void ResetMenus();
const std::vector<MenuRequest>& MenuRequests();
// How many menus exist (made and not destroyed).
size_t LiveMenuCount();

// The command of the string item reached through `path` (popup titles, then
// the item's text), 0 when there is none.
UINT FindMenuCommand(const std::vector<MenuItem>& items, const std::vector<std::string>& path);
// A responder that chooses the item reached through `path` each time.
MenuResponder ChooseMenuItem(std::vector<std::string> path);

}  // namespace qz
