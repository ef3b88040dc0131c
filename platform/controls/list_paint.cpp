#include "list_paint.h"

#include "control_base.h"

namespace qz::controls {
namespace {

void DrawItemText(HDC hdc, const RECT& row, const ListItem& item, const ListLook& look) {
  int x = row.left + kListTextIndent;
  int length = static_cast<int>(item.text.size());
  if (look.tabStops) {
    const std::vector<int>& stops = *look.tabStops;
    TabbedTextOutA(hdc, x, row.top, item.text.c_str(), length, static_cast<int>(stops.size()), stops.data(), x);
  } else {
    TextOutA(hdc, x, row.top, item.text.c_str(), length);
  }
}

void DrawSelectedRow(HDC hdc, const RECT& row, const ListItem& item, const ListLook& look) {
  FillRect(hdc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
  COLORREF text = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  int mode = SetBkMode(hdc, TRANSPARENT);
  DrawItemText(hdc, row, item, look);
  SetTextColor(hdc, text);
  SetBkMode(hdc, mode);
}

}  // namespace

RECT ListRows::RowRect(int index) const {
  int y = area.top + (index - top) * itemHeight;
  return RECT{area.left, y, area.right, y + itemHeight};
}

int ListRows::RowAt(int y, int count) const {
  if (y < area.top || y >= area.bottom || itemHeight <= 0) return -1;
  int index = top + (y - area.top) / itemHeight;
  return index < count ? index : -1;
}

int ListRows::FullyVisible() const {
  int rows = itemHeight > 0 ? (area.bottom - area.top) / itemHeight : 1;
  return rows > 1 ? rows : 1;
}

void PaintListRows(HDC hdc, const ListRows& rows, const ItemList& items, const ListLook& look) {
  for (int i = rows.top < 0 ? 0 : rows.top; i < items.Count(); ++i) {
    RECT row = rows.RowRect(i);
    if (row.top >= rows.area.bottom) break;
    if (i == look.selected && look.enabled) {
      DrawSelectedRow(hdc, row, items.At(i), look);
    } else {
      DrawItemText(hdc, row, items.At(i), look);
    }
    if (i == look.focusRow) DrawFocusRect(hdc, &row);
  }
}

}  // namespace qz::controls
