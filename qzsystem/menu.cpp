#include "qzsystem/menu.h"

#include <algorithm>

#include "qzsystem/object.h"

QZMenu::QZMenu(const char* title) : Text(title ? title : "") {}

QZMenu::~QZMenu() = default;

QZMenu* QZMenu::AddSubMenu(const char* title, uint32_t flags) {
  Entry entry;
  entry.kind = Entry::Kind::SubMenu;
  entry.text = title ? title : "";
  entry.flags = flags;
  entry.sub = std::make_unique<QZMenu>(title);
  entry.sub->Parent = this;
  QZMenu* sub = entry.sub.get();
  Entries.push_back(std::move(entry));
  return sub;
}

void QZMenu::AddItem(const char* text, Object* handler, uint32_t item, uint32_t flags) {
  Entry entry;
  entry.text = text ? text : "";
  entry.handler = handler;
  entry.item = item;
  entry.flags = flags;
  Entries.push_back(std::move(entry));
}

void QZMenu::AddSeparator() {
  Entry entry;
  entry.kind = Entry::Kind::Separator;
  Entries.push_back(std::move(entry));
}

void QZMenu::AddObj(Object* object) {
  if (object) object->AddToMenu(this, Tags);
}

void QZMenu::Remove() {
  if (!Parent) return;
  std::vector<Entry>& siblings = Parent->Entries;
  auto found =
      std::find_if(siblings.begin(), siblings.end(), [this](const Entry& entry) { return entry.sub.get() == this; });
  if (found != siblings.end()) siblings.erase(found);  // deletes this menu
}

bool QZMenu::Build(HMENU handle, std::vector<Command>& commands) {
  for (const Entry& entry : Entries) {
    switch (entry.kind) {
      case Entry::Kind::Separator:
        if (!AppendMenuA(handle, MF_SEPARATOR, 0, nullptr)) return false;
        break;
      case Entry::Kind::Item:
        commands.push_back({this, &entry});
        if (!AppendMenuA(handle, MF_STRING | entry.flags, commands.size(), entry.text.c_str())) return false;
        break;
      case Entry::Kind::SubMenu: {
        HMENU sub = CreatePopupMenu();
        if (!sub) return false;
        if (!AppendMenuA(handle, MF_POPUP | entry.flags, reinterpret_cast<UINT_PTR>(sub), entry.text.c_str())) {
          DestroyMenu(sub);
          return false;
        }
        if (!entry.sub->Build(sub, commands)) return false;
        break;
      }
    }
  }
  return true;
}

uint32_t QZMenu::Track(HWND owner, POINT screen) {
  if (Entries.empty()) return 0;
  HMENU handle = CreatePopupMenu();
  if (!handle) return 0;
  std::vector<Command> commands;
  const bool built = Build(handle, commands);
  const UINT chosen = built ? TrackPopupMenu(handle, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                             screen.y, 0, owner, nullptr)
                            : 0;
  DestroyMenu(handle);
  if (chosen == 0 || chosen > commands.size()) return 0;
  const Command& command = commands[chosen - 1];
  Object* handler = command.entry->handler;
  return handler ? handler->HandleMenu(command.menu, command.entry->item) : 0;
}
