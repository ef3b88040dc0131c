#include "control_base.h"
#include "listbox.h"

namespace qz::controls {
namespace {

void DrawOwnerRows(HWND hwnd, HDC hdc, const ListBoxState& s, const ListRows& rows) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  bool enabled = IsWindowEnabled(hwnd);
  for (int i = s.top; i < s.items.Count(); ++i) {
    DRAWITEMSTRUCT dis{};
    dis.rcItem = rows.RowRect(i);
    if (dis.rcItem.top >= rows.area.bottom) break;
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = static_cast<UINT>(i);
    dis.itemAction = ODA_DRAWENTIRE;
    if (i == s.selected) dis.itemState |= ODS_SELECTED;
    if (i == s.caret && s.focused) dis.itemState |= ODS_FOCUS;
    if (!enabled) dis.itemState |= ODS_DISABLED;
    dis.hwndItem = hwnd;
    dis.hDC = hdc;
    dis.itemData = s.items.At(i).data;
    SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  }
}

}  // namespace

void PaintListBox(HWND hwnd, HDC hdc, ListBoxState& s) {
  FontSelection font(hdc, s.font);
  DrawClientEdge(hwnd, hdc);
  RECT inner = InnerClientRect(hwnd);
  bool enabled = IsWindowEnabled(hwnd);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORLISTBOX, COLOR_WINDOWTEXT, COLOR_WINDOW);
  if (brush) FillRect(hdc, &inner, brush);
  if (!enabled) UseDisabledTextColor(hdc);
  if (ListScrollBarShown(hwnd, s)) PaintScrollBar(hdc, ListScrollBarOf(hwnd, s), enabled);

  ListRows rows = ListRowsOf(hwnd, s);
  IntersectClipRect(hdc, rows.area.left, rows.area.top, rows.area.right, rows.area.bottom);
  DWORD style = StyleOf(hwnd);
  if (IsOwnerDrawList(style)) {
    DrawOwnerRows(hwnd, hdc, s, rows);
    return;
  }
  ListLook look;
  look.selected = s.selected;
  look.focusRow = s.focused && s.items.Count() > 0 ? s.caret : -1;
  look.enabled = enabled;
  look.tabStops = (style & LBS_USETABSTOPS) ? &s.tabStops : nullptr;
  PaintListRows(hdc, rows, s.items, look);
}

}  // namespace qz::controls
