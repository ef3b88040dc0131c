// Rows of a list (the list box and the combo box's drop-down list):
// geometry and plain drawing of text items.
#pragma once

#include <vector>

#include "item_list.h"
#include "windows.h"

namespace qz::controls {

// Item text starts one pixel in from the row's left edge, in the list box and
// in the combo box's drop-down list alike.
constexpr int kListTextIndent = 1;

struct ListRows {
  RECT area;       // where rows are drawn
  int top;         // index of the first row shown
  int itemHeight;  // pixels per row

  RECT RowRect(int index) const;
  // The row under client y, or -1 outside the rows or past `count`.
  int RowAt(int y, int count) const;
  // Rows that fit entirely (at least 1).
  int FullyVisible() const;
};

struct ListLook {
  int selected = -1;
  int focusRow = -1;  // the row given a focus rectangle, -1 for none
  bool enabled = true;
  const std::vector<int>* tabStops = nullptr;  // pixels; nullptr draws tabs as they are
};

// Draws the rows over a background already filled; the selected row in the
// highlight colours, the others in the DC's colours and background mode.
void PaintListRows(HDC hdc, const ListRows& rows, const ItemList& items, const ListLook& look);

}  // namespace qz::controls
