#include "listbox.h"

#include "control_base.h"
#include "controls.h"

namespace qz::controls {
namespace {

constexpr int kMaximumItemHeight = 255;

void ResetTabStops(ListBoxState& s) {
  s.tabStops.assign(1, MulDiv(kDefaultTabDialogUnits, LOWORD(GetDialogBaseUnits()), 4));
}

void OnCreate(HWND hwnd, ListBoxState& s) {
  int height = MeasureFont(hwnd, s.font).tmHeight;
  s.itemHeight = height > 0 ? height : s.itemHeight;
  ResetTabStops(s);
}

void SendDeleteItem(HWND hwnd, const ListBoxState& s, int index) {
  NotifyItemDeleted(hwnd, ODT_LISTBOX, index, s.items.At(index).data, IsOwnerDrawList(StyleOf(hwnd)));
}

void AfterInsert(HWND hwnd, ListBoxState& s, int index) {
  if (s.selected >= index) ++s.selected;
  if (s.caret >= index && s.items.Count() > 1) ++s.caret;
  InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT OnAddString(HWND hwnd, ListBoxState& s, LPARAM lParam, int index, bool add) {
  DWORD style = StyleOf(hwnd);
  bool strings = ListKeepsStrings(style);
  const char* text = strings && lParam ? reinterpret_cast<const char*>(lParam) : "";
  ULONG_PTR data = strings ? 0 : static_cast<ULONG_PTR>(lParam);
  int result = add ? s.items.Add(text, data, strings && (style & LBS_SORT)) : s.items.Insert(index, text, data);
  if (result < 0) return result == -2 ? LB_ERRSPACE : LB_ERR;
  AfterInsert(hwnd, s, result);
  return result;
}

LRESULT OnDeleteString(HWND hwnd, ListBoxState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index)) return LB_ERR;
  SendDeleteItem(hwnd, s, index);
  s.items.Remove(index);
  if (s.selected == index) {
    s.selected = -1;
  } else if (s.selected > index) {
    --s.selected;
  }
  if (s.caret > index || s.caret >= s.items.Count()) s.caret = s.caret > 0 ? s.caret - 1 : 0;
  SetListTop(hwnd, s, s.top);
  InvalidateRect(hwnd, nullptr, TRUE);
  return s.items.Count();
}

void ResetContent(HWND hwnd, ListBoxState& s) {
  for (int i = 0; i < s.items.Count(); ++i) SendDeleteItem(hwnd, s, i);
  s.items.Clear();
  s.selected = -1;
  s.caret = 0;
  s.top = 0;
}

LRESULT OnGetText(HWND hwnd, const ListBoxState& s, WPARAM wParam, LPARAM buffer) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index) || !buffer) return LB_ERR;
  return CopyItemOut(s.items.At(index), ListKeepsStrings(StyleOf(hwnd)), buffer);
}

LRESULT OnSetCurSel(HWND hwnd, ListBoxState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  if (index == -1) {
    InvalidateListRow(hwnd, s, s.selected);
    s.selected = -1;
    return LB_ERR;
  }
  if (!s.items.Valid(index)) return LB_ERR;
  InvalidateListRow(hwnd, s, s.selected);
  InvalidateListRow(hwnd, s, s.caret);
  s.selected = index;
  s.caret = index;
  EnsureListRowVisible(hwnd, s, index);
  InvalidateListRow(hwnd, s, index);
  return index;
}

// TRUE on success, as the platform answers (not LB_OKAY, which is 0).
LRESULT OnSetItemData(ListBoxState& s, WPARAM wParam, LPARAM data) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index)) return LB_ERR;
  s.items.At(index).data = static_cast<ULONG_PTR>(data);
  return TRUE;
}

LRESULT OnSetTopIndex(HWND hwnd, ListBoxState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index) && !(index == 0 && s.items.Count() == 0)) return LB_ERR;
  SetListTop(hwnd, s, index);
  return LB_OKAY;
}

LRESULT OnSetItemHeight(HWND hwnd, ListBoxState& s, LPARAM lParam) {
  int height = LOWORD(lParam);
  if (height <= 0 || height > kMaximumItemHeight) return LB_ERR;
  s.itemHeight = height;
  SetListTop(hwnd, s, s.top);
  InvalidateRect(hwnd, nullptr, TRUE);
  return LB_OKAY;
}

// Stops are in dialog units, a quarter of the average character width of the
// list box's own font at the time of the call (a later WM_SETFONT does not
// move them): none = the default spacing, one = a stop every n units.
LRESULT OnSetTabStops(HWND hwnd, ListBoxState& s, WPARAM count, LPARAM stops) {
  if (!(StyleOf(hwnd) & LBS_USETABSTOPS)) return FALSE;
  if (count == 0) {
    ResetTabStops(s);
  } else {
    if (!stops) return FALSE;
    const INT* units = reinterpret_cast<const INT*>(stops);
    int base = AverageCharWidth(hwnd, s.font);
    s.tabStops.clear();
    for (WPARAM i = 0; i < count; ++i) s.tabStops.push_back(MulDiv(units[i], base, 4));
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

void OnSetFont(HWND hwnd, ListBoxState& s, WPARAM font, LPARAM redraw) {
  s.font = reinterpret_cast<HFONT>(font);
  int height = MeasureFont(hwnd, s.font).tmHeight;
  if (height > 0) s.itemHeight = height;
  SetListTop(hwnd, s, s.top);
  if (LOWORD(redraw)) InvalidateRect(hwnd, nullptr, TRUE);
}

void OnFocus(HWND hwnd, ListBoxState& s, bool focused) {
  s.focused = focused;
  if (!focused) s.selecting = false;
  InvalidateListRow(hwnd, s, s.caret);
  NotifyList(hwnd, focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

LRESULT HandleItemMessage(HWND hwnd, ListBoxState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case LB_ADDSTRING:
      return OnAddString(hwnd, s, lParam, -1, true);
    case LB_INSERTSTRING:
      return OnAddString(hwnd, s, lParam, static_cast<int>(wParam), false);
    case LB_DELETESTRING:
      return OnDeleteString(hwnd, s, wParam);
    case LB_RESETCONTENT:
      ResetContent(hwnd, s);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case LB_GETCOUNT:
      return s.items.Count();
    case LB_GETTEXT:
      return OnGetText(hwnd, s, wParam, lParam);
    case LB_GETTEXTLEN: {
      int index = static_cast<int>(wParam);
      if (!s.items.Valid(index)) return LB_ERR;
      return ItemLength(s.items.At(index), ListKeepsStrings(StyleOf(hwnd)));
    }
    case LB_SETCURSEL:
      return OnSetCurSel(hwnd, s, wParam);
    case LB_GETCURSEL:
      return s.selected;
    case LB_SETITEMDATA:
      return OnSetItemData(s, wParam, lParam);
    case LB_GETITEMDATA: {
      int index = static_cast<int>(wParam);
      return s.items.Valid(index) ? static_cast<LRESULT>(s.items.At(index).data) : LB_ERR;
    }
    case LB_SETTOPINDEX:
      return OnSetTopIndex(hwnd, s, wParam);
    case LB_GETTOPINDEX:
      return s.top;
    case LB_SETITEMHEIGHT:
      return OnSetItemHeight(hwnd, s, lParam);
    case LB_GETITEMHEIGHT:
      return s.itemHeight;
    case LB_FINDSTRINGEXACT:
      return lParam ? s.items.FindExact(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam)) : LB_ERR;
    case LB_SETTABSTOPS:
      return OnSetTabStops(hwnd, s, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

static LRESULT ListBoxMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ListBoxState* s) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd, *s);
      return 0;
    case WM_DESTROY:
      ResetContent(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      DetachState<ListBoxState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      OnSetFont(hwnd, *s, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SIZE:
      SetListTop(hwnd, *s, s->top);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      ListOnLButtonDown(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      ListOnLButtonDblClk(hwnd, *s, lParam);
      return 0;
    case WM_MOUSEMOVE:
      ListOnMouseMove(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONUP:
      ListOnLButtonUp(hwnd, *s);
      return 0;
    case WM_CAPTURECHANGED:
      s->selecting = false;
      s->draggingThumb = false;
      return 0;
    case WM_KEYDOWN:
      ListOnKeyDown(hwnd, *s, wParam);
      return 0;
    case WM_CHAR:
      ListOnChar(hwnd, *s, wParam);
      return 0;
    case WM_SETFOCUS:
      OnFocus(hwnd, *s, true);
      return 0;
    case WM_KILLFOCUS:
      OnFocus(hwnd, *s, false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
      return HandleItemMessage(hwnd, *s, msg, wParam, lParam);
  }
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProc<ListBoxState>(hwnd, msg, wParam, lParam, PaintListBox, ListBoxMessage);
}

}  // namespace qz::controls
