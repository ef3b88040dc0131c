// State and parts of the "LISTBOX" class (single selection).
#pragma once

#include <vector>

#include "item_list.h"
#include "list_paint.h"
#include "scroll_bar.h"
#include "windows.h"

namespace qz::controls {

struct ListBoxState {
  ItemList items;
  HFONT font = nullptr;
  int itemHeight = 16;
  int selected = -1;
  int caret = 0;  // the item keys move from; WM_VKEYTOITEM reports it
  int top = 0;
  bool focused = false;
  bool selecting = false;      // the left button is held over the rows, under capture
  bool draggingThumb = false;  // the scroll bar's thumb is dragged, under capture
  int thumbGrab = 0;           // pointer offset from the thumb's top while dragging
  std::vector<int> tabStops;   // pixels, as TabbedTextOutA takes them
};

// Default tab spacing: 32 dialog units (8 average characters), the spacing of
// TabbedTextOut's own default; a stop every 2 units would stack the columns.
constexpr int kDefaultTabDialogUnits = 32;

inline bool IsOwnerDrawList(DWORD style) {
  return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
// Owner-drawn items without LBS_HASSTRINGS are only their item data.
inline bool ListKeepsStrings(DWORD style) {
  return !IsOwnerDrawList(style) || (style & LBS_HASSTRINGS);
}

bool ListScrollBarShown(HWND hwnd, const ListBoxState& s);
ListRows ListRowsOf(HWND hwnd, const ListBoxState& s);
ScrollBarLayout ListScrollBarOf(HWND hwnd, const ListBoxState& s);

void InvalidateListRow(HWND hwnd, const ListBoxState& s, int row);
void SetListTop(HWND hwnd, ListBoxState& s, int top);
void EnsureListRowVisible(HWND hwnd, ListBoxState& s, int row);
// Selection made by the user: LBN_SELCHANGE (with LBS_NOTIFY) when it changes.
void SelectListRowByUser(HWND hwnd, ListBoxState& s, int row);
void NotifyList(HWND hwnd, int code);

void PaintListBox(HWND hwnd, HDC hdc, ListBoxState& s);

void ListOnLButtonDown(HWND hwnd, ListBoxState& s, LPARAM lParam);
void ListOnLButtonDblClk(HWND hwnd, ListBoxState& s, LPARAM lParam);
void ListOnMouseMove(HWND hwnd, ListBoxState& s, LPARAM lParam);
void ListOnLButtonUp(HWND hwnd, ListBoxState& s);
void ListOnKeyDown(HWND hwnd, ListBoxState& s, WPARAM vk);
void ListOnChar(HWND hwnd, ListBoxState& s, WPARAM ch);

}  // namespace qz::controls
