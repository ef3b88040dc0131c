#include <algorithm>

#include "control_base.h"
#include "listbox.h"

namespace qz::controls {
namespace {

// What WM_VKEYTOITEM may answer.
constexpr LRESULT kKeyHandled = -2;
constexpr LRESULT kDefaultAction = -1;

void ScrollBy(HWND hwnd, ListBoxState& s, ScrollHit hit) {
  int page = ListRowsOf(hwnd, s).FullyVisible();
  switch (hit) {
    case ScrollHit::LineUp:
      SetListTop(hwnd, s, s.top - 1);
      break;
    case ScrollHit::LineDown:
      SetListTop(hwnd, s, s.top + 1);
      break;
    case ScrollHit::PageUp:
      SetListTop(hwnd, s, s.top - page);
      break;
    case ScrollHit::PageDown:
      SetListTop(hwnd, s, s.top + page);
      break;
    default:
      break;
  }
}

// Presses on the scroll bar scroll; the thumb is dragged under capture.
bool PressScrollBar(HWND hwnd, ListBoxState& s, int x, int y) {
  if (!ListScrollBarShown(hwnd, s)) return false;
  ScrollBarLayout bar = ListScrollBarOf(hwnd, s);
  ScrollHit hit = bar.HitTest(x, y);
  if (!PointIn(bar.bar, x, y)) return false;
  if (hit == ScrollHit::Thumb) {
    s.draggingThumb = true;
    s.thumbGrab = y - bar.thumb.top;
    SetCapture(hwnd);
  } else {
    ScrollBy(hwnd, s, hit);
  }
  return true;
}

int DefaultTarget(HWND hwnd, const ListBoxState& s, WPARAM vk) {
  int count = s.items.Count();
  if (count == 0) return -1;
  int page = ListRowsOf(hwnd, s).FullyVisible();
  int step = page > 1 ? page - 1 : 1;
  switch (vk) {
    case VK_UP:
      return s.caret - 1;
    case VK_DOWN:
      return s.caret + 1;
    case VK_PRIOR:
      return s.caret - step;
    case VK_NEXT:
      return s.caret + step;
    case VK_HOME:
      return 0;
    case VK_END:
      return count - 1;
    default:
      return -1;
  }
}

bool IsMoveKey(WPARAM vk) {
  return vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_HOME || vk == VK_END;
}

}  // namespace

void ListOnLButtonDown(HWND hwnd, ListBoxState& s, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (!IsWindow(hwnd) || PressScrollBar(hwnd, s, x, y)) return;
  int row = ListRowsOf(hwnd, s).RowAt(y, s.items.Count());
  s.selecting = true;
  SetCapture(hwnd);
  if (row >= 0) SelectListRowByUser(hwnd, s, row);
}

// The window manager turns the second press of a double click into
// WM_LBUTTONDBLCLK (the class has CS_DBLCLKS); the first press selected the row.
void ListOnLButtonDblClk(HWND hwnd, ListBoxState& s, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  if (PressScrollBar(hwnd, s, x, y)) return;
  int row = ListRowsOf(hwnd, s).RowAt(y, s.items.Count());
  if (row < 0) return;
  s.selecting = true;
  SetCapture(hwnd);
  SelectListRowByUser(hwnd, s, row);
  if (IsWindow(hwnd)) NotifyList(hwnd, LBN_DBLCLK);
}

void ListOnMouseMove(HWND hwnd, ListBoxState& s, LPARAM lParam) {
  if (GetCapture() != hwnd) return;
  int y = GET_Y_LPARAM(lParam);
  if (s.draggingThumb) {
    SetListTop(hwnd, s, ListScrollBarOf(hwnd, s).FirstForThumbTop(y - s.thumbGrab));
    return;
  }
  if (!s.selecting || s.items.Count() == 0) return;
  ListRows rows = ListRowsOf(hwnd, s);
  int visibleRow = (y - rows.area.top) / (rows.itemHeight > 0 ? rows.itemHeight : 1);
  if (y < rows.area.top) visibleRow = -1;
  int row = std::clamp(rows.top + visibleRow, 0, s.items.Count() - 1);
  if (row != s.selected) SelectListRowByUser(hwnd, s, row);
}

void ListOnLButtonUp(HWND hwnd, ListBoxState& s) {
  bool tracking = s.selecting || s.draggingThumb;
  s.selecting = false;
  s.draggingThumb = false;
  if (tracking && GetCapture() == hwnd) ReleaseCapture();
}

// With LBS_WANTKEYBOARDINPUT the owner sees each key first and may take it
// (-2), leave it (-1) or name the item the key's default action applies to.
void ListOnKeyDown(HWND hwnd, ListBoxState& s, WPARAM vk) {
  LRESULT answer = kDefaultAction;
  HWND parent = GetParent(hwnd);
  if ((StyleOf(hwnd) & LBS_WANTKEYBOARDINPUT) && parent) {
    answer = SendMessageA(parent, WM_VKEYTOITEM, MAKEWPARAM(vk, s.caret), reinterpret_cast<LPARAM>(hwnd));
    if (answer == kKeyHandled || !IsWindow(hwnd)) return;
  }
  int target = -1;
  if (answer >= 0) {
    target = static_cast<int>(answer);
  } else if (IsMoveKey(vk)) {
    // The first move key on a list without a selection selects the caret item.
    target = s.selected != s.caret ? s.caret : DefaultTarget(hwnd, s, vk);
  }
  if (target < 0 || s.items.Count() == 0) return;
  SelectListRowByUser(hwnd, s, std::clamp(target, 0, s.items.Count() - 1));
}

void ListOnChar(HWND hwnd, ListBoxState& s, WPARAM ch) {
  char c = static_cast<char>(ch);
  if (static_cast<unsigned char>(c) <= ' ' || !ListKeepsStrings(StyleOf(hwnd))) return;
  int row = s.items.FindInitial(s.caret, c);
  if (row >= 0) SelectListRowByUser(hwnd, s, row);
}

}  // namespace qz::controls
