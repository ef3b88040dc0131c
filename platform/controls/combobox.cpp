#include "combobox.h"
#include "control_base.h"
#include "controls.h"

namespace qz::controls {
namespace {

constexpr int kMaximumItemHeight = 255;

bool IsOwnerDrawCombo(DWORD style) {
  return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}
bool ComboKeepsStrings(DWORD style) {
  return !IsOwnerDrawCombo(style) || (style & CBS_HASSTRINGS);
}

void MeasureItems(HWND hwnd, ComboState& s) {
  int height = MeasureFont(hwnd, s.font).tmHeight;
  if (height <= 0) return;
  if (!s.fieldHeightSet) s.fieldItemHeight = height + 2;
  if (!s.listHeightSet) s.listItemHeight = height;
}

// The creation height includes the dropped-down list; the window keeps only the field.
void OnCreate(HWND hwnd, ComboState& s, const CREATESTRUCTA* cs) {
  MeasureItems(hwnd, s);
  int total = cs ? cs->cy : 0;
  s.droppedHeight = total > ComboFieldHeight(s) ? total - ComboFieldHeight(s) : 0;
  ResizeCombo(hwnd, s);
}

// Someone else sized the window: as at creation, the height given is the dropped height.
void OnSize(HWND hwnd, ComboState& s, LPARAM lParam) {
  if (s.resizing) return;
  int height = HIWORD(lParam);
  if (height == ComboFieldHeight(s)) return;
  s.droppedHeight = height > ComboFieldHeight(s) ? height - ComboFieldHeight(s) : 0;
  ResizeCombo(hwnd, s);
}

void SendDeleteItem(HWND hwnd, const ComboState& s, int index) {
  NotifyItemDeleted(hwnd, ODT_COMBOBOX, index, s.items.At(index).data, IsOwnerDrawCombo(StyleOf(hwnd)));
}

void ListChanged(HWND hwnd, ComboState& s) {
  if (!s.dropped) return;
  ResizeCombo(hwnd, s);
  InvalidateComboList(s);
}

LRESULT OnAddString(HWND hwnd, ComboState& s, LPARAM lParam, int index, bool add) {
  DWORD style = StyleOf(hwnd);
  bool strings = ComboKeepsStrings(style);
  const char* text = strings && lParam ? reinterpret_cast<const char*>(lParam) : "";
  ULONG_PTR data = strings ? 0 : static_cast<ULONG_PTR>(lParam);
  int result = add ? s.items.Add(text, data, strings && (style & CBS_SORT)) : s.items.Insert(index, text, data);
  if (result < 0) return result == -2 ? CB_ERRSPACE : CB_ERR;
  if (s.selected >= result) ++s.selected;
  if (s.hot >= result) ++s.hot;
  ListChanged(hwnd, s);
  return result;
}

LRESULT OnDeleteString(HWND hwnd, ComboState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index)) return CB_ERR;
  SendDeleteItem(hwnd, s, index);
  s.items.Remove(index);
  if (s.selected == index) {
    s.selected = -1;
    InvalidateComboField(hwnd, s);
  } else if (s.selected > index) {
    --s.selected;
  }
  if (s.hot >= s.items.Count()) s.hot = s.items.Count() - 1;
  if (s.top > 0 && s.top + ComboListRowsShown(s) > s.items.Count()) --s.top;
  ListChanged(hwnd, s);
  return s.items.Count();
}

void ResetContent(HWND hwnd, ComboState& s) {
  for (int i = 0; i < s.items.Count(); ++i) SendDeleteItem(hwnd, s, i);
  s.items.Clear();
  s.selected = -1;
  s.hot = -1;
  s.top = 0;
  InvalidateComboField(hwnd, s);
  ListChanged(hwnd, s);
}

LRESULT OnGetLbText(const ComboState& s, WPARAM wParam, LPARAM buffer, DWORD style) {
  int index = static_cast<int>(wParam);
  if (!s.items.Valid(index) || !buffer) return CB_ERR;
  return CopyItemOut(s.items.At(index), ComboKeepsStrings(style), buffer);
}

// Any index that is not an item, -1 included, leaves the combo with no
// selection; the module relies on that for values past the last entry.
LRESULT OnSetCurSel(HWND hwnd, ComboState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  s.selected = s.items.Valid(index) ? index : -1;
  InvalidateComboField(hwnd, s);
  if (s.dropped) {
    InvalidateComboRow(hwnd, s, s.hot);
    s.hot = s.selected;
    InvalidateComboRow(hwnd, s, s.hot);
  }
  return s.selected >= 0 ? s.selected : CB_ERR;
}

LRESULT OnSetItemHeight(HWND hwnd, ComboState& s, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(wParam);
  int height = static_cast<int>(lParam);
  if (height <= 0 || height > kMaximumItemHeight || index < -1) return CB_ERR;
  if (index == -1) {
    s.fieldItemHeight = height;
    s.fieldHeightSet = true;
  } else {
    s.listItemHeight = height;
    s.listHeightSet = true;
  }
  ResizeCombo(hwnd, s);
  InvalidateRect(hwnd, nullptr, FALSE);
  InvalidateComboList(s);
  return 0;
}

LRESULT OnGetItemHeight(const ComboState& s, WPARAM wParam) {
  int index = static_cast<int>(wParam);
  if (index == -1) return s.fieldItemHeight;
  return index >= 0 ? s.listItemHeight : CB_ERR;
}

LRESULT OnShowDropDown(HWND hwnd, ComboState& s, WPARAM show) {
  if (show) {
    DropCombo(hwnd, s);
  } else {
    CancelCombo(hwnd, s);
  }
  return TRUE;
}

LRESULT OnGetText(const ComboState& s, WPARAM size, LPARAM buffer) {
  return CopyTextOut(s.selected >= 0 ? std::string_view(s.items.At(s.selected).text) : std::string_view(), size,
                     buffer);
}

LRESULT OnSetText(HWND hwnd, ComboState& s, LPARAM lParam) {
  int index = lParam ? s.items.FindExact(-1, reinterpret_cast<const char*>(lParam)) : -1;
  if (index < 0) return CB_ERR;
  OnSetCurSel(hwnd, s, static_cast<WPARAM>(index));
  return TRUE;
}

void OnSetFont(HWND hwnd, ComboState& s, WPARAM font, LPARAM redraw) {
  s.font = reinterpret_cast<HFONT>(font);
  MeasureItems(hwnd, s);
  ResizeCombo(hwnd, s);
  if (!LOWORD(redraw)) return;
  InvalidateRect(hwnd, nullptr, TRUE);
  InvalidateComboList(s);
}

void OnFocus(HWND hwnd, ComboState& s, bool focused) {
  s.focused = focused;
  InvalidateComboField(hwnd, s);
  if (!focused) CancelCombo(hwnd, s);
  if (IsWindow(hwnd)) NotifyParent(hwnd, focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

LRESULT OnGetDlgCode(const ComboState& s) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  // While the list is down, Enter and Escape close it instead of the dialog.
  if (s.dropped) code |= DLGC_WANTALLKEYS;
  return code;
}

LRESULT HandleItemMessage(HWND hwnd, ComboState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case CB_ADDSTRING:
      return OnAddString(hwnd, s, lParam, -1, true);
    case CB_INSERTSTRING:
      return OnAddString(hwnd, s, lParam, static_cast<int>(wParam), false);
    case CB_DELETESTRING:
      return OnDeleteString(hwnd, s, wParam);
    case CB_RESETCONTENT:
      ResetContent(hwnd, s);
      return CB_OKAY;
    case CB_GETCOUNT:
      return s.items.Count();
    case CB_GETLBTEXT:
      return OnGetLbText(s, wParam, lParam, StyleOf(hwnd));
    case CB_GETLBTEXTLEN: {
      int index = static_cast<int>(wParam);
      if (!s.items.Valid(index)) return CB_ERR;
      return ItemLength(s.items.At(index), ComboKeepsStrings(StyleOf(hwnd)));
    }
    case CB_SETCURSEL:
      return OnSetCurSel(hwnd, s, wParam);
    case CB_GETCURSEL:
      return s.selected;
    case CB_SETITEMDATA: {
      int index = static_cast<int>(wParam);
      if (!s.items.Valid(index)) return CB_ERR;
      s.items.At(index).data = static_cast<ULONG_PTR>(lParam);
      return CB_OKAY;
    }
    case CB_GETITEMDATA: {
      int index = static_cast<int>(wParam);
      return s.items.Valid(index) ? static_cast<LRESULT>(s.items.At(index).data) : CB_ERR;
    }
    case CB_SETITEMHEIGHT:
      return OnSetItemHeight(hwnd, s, wParam, lParam);
    case CB_GETITEMHEIGHT:
      return OnGetItemHeight(s, wParam);
    case CB_SHOWDROPDOWN:
      return OnShowDropDown(hwnd, s, wParam);
    case CB_GETDROPPEDSTATE:
      return s.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam) return CB_ERR;
      *reinterpret_cast<RECT*>(lParam) = ComboDroppedRect(hwnd, s);
      return TRUE;
    case CB_FINDSTRINGEXACT:
      return lParam ? s.items.FindExact(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam)) : CB_ERR;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

static LRESULT ComboBoxMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ComboState* s) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd, *s, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      return 0;
    case WM_DESTROY:
      // Going away while dropped closes the list without telling the parent.
      s->dropped = false;
      DestroyComboList(*s);
      ResetContent(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      DetachState<ComboState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      OnSize(hwnd, *s, lParam);
      return 0;
    case WM_SETFONT:
      OnSetFont(hwnd, *s, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
      return OnSetText(hwnd, *s, lParam);
    case WM_GETTEXT:
      return OnGetText(*s, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return s->selected >= 0 ? static_cast<LRESULT>(s->items.At(s->selected).text.size()) : 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ComboOnLButtonDown(hwnd, *s, lParam);
      return 0;
    case WM_MOUSEMOVE:
      ComboOnMouseMove(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONUP:
      ComboOnLButtonUp(hwnd, *s, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (!s->closing && reinterpret_cast<HWND>(lParam) != hwnd) CancelCombo(hwnd, *s);
      return 0;
    case WM_CANCELMODE:
      CancelCombo(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
      ComboOnKeyDown(hwnd, *s, wParam, GetKeyState(VK_MENU) < 0);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN || wParam == VK_UP) {
        ComboOnKeyDown(hwnd, *s, wParam, true);
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CHAR:
      ComboOnChar(hwnd, *s, wParam);
      return 0;
    case WM_SETFOCUS:
      OnFocus(hwnd, *s, true);
      return 0;
    case WM_KILLFOCUS:
      OnFocus(hwnd, *s, false);
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(*s);
    default:
      return HandleItemMessage(hwnd, *s, msg, wParam, lParam);
  }
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProc<ComboState>(hwnd, msg, wParam, lParam, PaintCombo, ComboBoxMessage);
}

}  // namespace qz::controls
