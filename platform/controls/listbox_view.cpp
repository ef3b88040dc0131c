#include "control_base.h"
#include "listbox.h"

namespace qz::controls {
namespace {

int RowsFitting(HWND hwnd, const ListBoxState& s) {
  RECT inner = InnerClientRect(hwnd);
  int rows = s.itemHeight > 0 ? (inner.bottom - inner.top) / s.itemHeight : 1;
  return rows > 1 ? rows : 1;
}

int MaxTop(HWND hwnd, const ListBoxState& s) {
  int maxTop = s.items.Count() - ListRowsOf(hwnd, s).FullyVisible();
  return maxTop > 0 ? maxTop : 0;
}

}  // namespace

bool ListScrollBarShown(HWND hwnd, const ListBoxState& s) {
  DWORD style = StyleOf(hwnd);
  if (!(style & WS_VSCROLL)) return false;
  return (style & LBS_DISABLENOSCROLL) || s.items.Count() > RowsFitting(hwnd, s);
}

ListRows ListRowsOf(HWND hwnd, const ListBoxState& s) {
  RECT area = InnerClientRect(hwnd);
  if (ListScrollBarShown(hwnd, s)) area.right -= kScrollBarWidth;
  return ListRows{area, s.top, s.itemHeight > 0 ? s.itemHeight : 1};
}

ScrollBarLayout ListScrollBarOf(HWND hwnd, const ListBoxState& s) {
  RECT inner = InnerClientRect(hwnd);
  RECT bar{inner.right - kScrollBarWidth, inner.top, inner.right, inner.bottom};
  return ScrollBarLayout::Make(bar, s.top, ListRowsOf(hwnd, s).FullyVisible(), s.items.Count());
}

void InvalidateListRow(HWND hwnd, const ListBoxState& s, int row) {
  if (!s.items.Valid(row)) return;
  RECT r = ListRowsOf(hwnd, s).RowRect(row);
  InvalidateRect(hwnd, &r, FALSE);
}

void SetListTop(HWND hwnd, ListBoxState& s, int top) {
  int maxTop = MaxTop(hwnd, s);
  if (top > maxTop) top = maxTop;
  if (top < 0) top = 0;
  if (top == s.top) return;
  s.top = top;
  InvalidateRect(hwnd, nullptr, FALSE);
}

void EnsureListRowVisible(HWND hwnd, ListBoxState& s, int row) {
  int visible = ListRowsOf(hwnd, s).FullyVisible();
  if (row < s.top) {
    SetListTop(hwnd, s, row);
  } else if (row >= s.top + visible) {
    SetListTop(hwnd, s, row - visible + 1);
  }
}

void NotifyList(HWND hwnd, int code) {
  if (StyleOf(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, code);
}

void SelectListRowByUser(HWND hwnd, ListBoxState& s, int row) {
  InvalidateListRow(hwnd, s, s.caret);
  s.caret = row;
  EnsureListRowVisible(hwnd, s, row);
  InvalidateListRow(hwnd, s, row);
  if (row == s.selected) return;
  InvalidateListRow(hwnd, s, s.selected);
  s.selected = row;
  NotifyList(hwnd, LBN_SELCHANGE);
}

}  // namespace qz::controls
