// The host's menus: a tree of entries that objects fill through their
// AddToMenu, shown as a platform popup menu, with the chosen entry handed to
// the object that added it (Object::HandleMenu).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qzsystem/taglist.h"
#include "windows.h"

class Object;

// On a top menu's Tags: the tool overlay control that added a submenu.
constexpr uint32_t MenuOverlayControlTag = 0x10000008;

class QZMenu {
 public:
  // A top menu; submenus are made with AddSubMenu.
  explicit QZMenu(const char* title = nullptr);
  ~QZMenu();
  QZMenu(const QZMenu&) = delete;
  QZMenu& operator=(const QZMenu&) = delete;

  QZMenu* Parent = nullptr;  // null for the top menu
  TagList Tags;              // what the objects that fill the menu record

  const std::string& Title() const { return Text; }

  // A new, empty submenu at the end of this menu, owned by it. `flags` are
  // MF_ flags of its entry (MF_GRAYED, MF_DISABLED).
  QZMenu* AddSubMenu(const char* title, uint32_t flags);
  // An entry that, when chosen, calls handler->HandleMenu(this, item).
  // `flags` as for AddSubMenu, and MF_CHECKED.
  void AddItem(const char* text, Object* handler, uint32_t item, uint32_t flags = 0);
  void AddSeparator();
  // Lets `object` add its entries here (Object::AddToMenu with Tags).
  void AddObj(Object* object);
  // Entries in this menu, submenus and separators included.
  uint32_t GetLength() const { return static_cast<uint32_t>(Entries.size()); }
  // Takes this submenu out of its parent and deletes it; `this` is gone
  // afterwards. Does nothing on a top menu.
  void Remove();

  // Shows the menu as a platform popup menu at a screen point, owned by
  // `owner`, and hands the chosen entry to its handler. Returns the
  // handler's answer, 0 when nothing was chosen or the menu is empty.
  uint32_t Track(HWND owner, POINT screen);

 private:
  struct Entry {
    enum class Kind { Item, Separator, SubMenu } kind = Kind::Item;
    std::string text;
    Object* handler = nullptr;
    uint32_t item = 0;
    uint32_t flags = 0;
    std::unique_ptr<QZMenu> sub;
  };
  struct Command {
    QZMenu* menu;
    const Entry* entry;
  };

  // Appends this menu's entries to `handle`; the string entries get
  // commands 1, 2, ... in order, recorded in `commands`.
  bool Build(HMENU handle, std::vector<Command>& commands);

  std::string Text;
  std::vector<Entry> Entries;
};
