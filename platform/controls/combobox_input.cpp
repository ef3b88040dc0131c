#include <algorithm>

#include "combobox.h"
#include "control_base.h"

namespace qz::controls {
namespace {

constexpr WPARAM kVkF4 = VK_F1 + 3;

// Returns false when the parent destroyed the combo while handling it.
bool Notify(HWND hwnd, int code) {
  NotifyParent(hwnd, code);
  return IsWindow(hwnd) != FALSE;
}

void SetHot(HWND hwnd, ComboState& s, int row) {
  if (row == s.hot) return;
  InvalidateComboRow(hwnd, s, s.hot);
  s.hot = row;
  int shown = ComboListRowsShown(s);
  int top = s.top;
  if (row >= 0 && row < top) top = row;
  if (row >= top + shown) top = row - shown + 1;
  if (top != s.top) {
    s.top = top;
    InvalidateComboList(s);
  }
  InvalidateComboRow(hwnd, s, s.hot);
}

void SetPressed(HWND hwnd, ComboState& s, bool pressed) {
  if (s.buttonPressed == pressed) return;
  s.buttonPressed = pressed;
  RECT button = ComboButtonRect(hwnd, s);
  InvalidateRect(hwnd, &button, FALSE);
}

bool CloseUp(HWND hwnd, ComboState& s) {
  if (!s.dropped) return true;
  s.dropped = false;
  s.tracking = false;
  s.buttonPressed = false;
  s.hot = -1;
  DestroyComboList(s);
  s.closing = true;
  if (GetCapture() == hwnd) ReleaseCapture();
  s.closing = false;
  InvalidateComboField(hwnd, s);
  return Notify(hwnd, CBN_CLOSEUP);
}

int KeyTarget(const ComboState& s, int from, WPARAM vk) {
  int last = s.items.Count() - 1;
  int page = ComboListRowsShown(s) - 1;
  if (page < 1) page = 1;
  switch (vk) {
    case VK_UP:
      return from < 0 ? 0 : from - 1;
    case VK_DOWN:
      return from + 1;
    case VK_PRIOR:
      return from - page;
    case VK_NEXT:
      return from < 0 ? page : from + page;
    case VK_HOME:
      return 0;
    case VK_END:
      return last;
    default:
      return -2;
  }
}

void ScrollList(ComboState& s, ScrollHit hit) {
  int shown = ComboListRowsShown(s);
  int top = s.top;
  if (hit == ScrollHit::LineUp) top -= 1;
  if (hit == ScrollHit::LineDown) top += 1;
  if (hit == ScrollHit::PageUp) top -= shown;
  if (hit == ScrollHit::PageDown) top += shown;
  int maxTop = s.items.Count() - shown;
  top = std::clamp(top, 0, maxTop > 0 ? maxTop : 0);
  if (top == s.top) return;
  s.top = top;
  InvalidateComboList(s);
}

void PressWhileDropped(HWND hwnd, ComboState& s, int x, int y) {
  POINT at{};
  if (ComboPointInList(hwnd, s, x, y, &at)) {
    if (ComboListScrolls(s)) {
      ScrollBarLayout bar = ComboScrollBar(hwnd, s);
      if (PointIn(bar.bar, at.x, at.y)) {
        ScrollList(s, bar.HitTest(at.x, at.y));
        return;
      }
    }
    ListRows rows = ComboRows(hwnd, s);
    if (PointIn(rows.area, at.x, at.y)) {
      s.tracking = true;
      SetHot(hwnd, s, rows.RowAt(at.y, s.items.Count()));
      return;
    }
  }
  // A press on the field or anywhere outside closes the list unchanged.
  CancelCombo(hwnd, s);
}

}  // namespace

// A drop asked for again while the parent hears of this one finds the
// pop-up already made and does nothing.
void DropCombo(HWND hwnd, ComboState& s) {
  if (s.dropped || s.list) return;
  s.list = CreateComboList(hwnd);
  if (!s.list) return;
  // The parent may still fill the list when it hears of the drop.
  if (!Notify(hwnd, CBN_DROPDOWN)) return;
  if (!s.list) return;
  s.dropped = true;
  s.hot = -1;
  s.top = 0;
  SetHot(hwnd, s, s.selected);
  PlaceComboList(hwnd, s);
  SetCapture(hwnd);
  InvalidateComboField(hwnd, s);
}

void PickComboRow(HWND hwnd, ComboState& s, int row) {
  int previous = s.selected;
  s.selected = row;
  InvalidateComboField(hwnd, s);
  if (!Notify(hwnd, CBN_SELENDOK)) return;
  if (!CloseUp(hwnd, s)) return;
  if (row != previous) Notify(hwnd, CBN_SELCHANGE);
}

void CancelCombo(HWND hwnd, ComboState& s) {
  if (!s.dropped) return;
  if (!Notify(hwnd, CBN_SELENDCANCEL)) return;
  CloseUp(hwnd, s);
}

void SelectComboByKey(HWND hwnd, ComboState& s, int row) {
  if (row == s.selected) return;
  s.selected = row;
  InvalidateComboField(hwnd, s);
  if (!Notify(hwnd, CBN_SELENDOK)) return;
  Notify(hwnd, CBN_SELCHANGE);
}

void ComboOnLButtonDown(HWND hwnd, ComboState& s, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  if (s.dropped) {
    PressWhileDropped(hwnd, s, x, y);
    return;
  }
  if (!PointIn(ComboFieldRect(hwnd, s), x, y)) return;
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (!IsWindow(hwnd)) return;
  DropCombo(hwnd, s);
  if (!IsWindow(hwnd) || !s.dropped) return;
  s.tracking = true;
  SetPressed(hwnd, s, true);
}

void ComboOnMouseMove(HWND hwnd, ComboState& s, LPARAM lParam) {
  if (!s.dropped) return;
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  if (s.tracking) SetPressed(hwnd, s, s.buttonPressed && PointIn(ComboFieldRect(hwnd, s), x, y));
  POINT at{};
  if (!ComboPointInList(hwnd, s, x, y, &at)) return;
  ListRows rows = ComboRows(hwnd, s);
  if (PointIn(rows.area, at.x, at.y)) {
    int row = rows.RowAt(at.y, s.items.Count());
    if (row >= 0) SetHot(hwnd, s, row);
  }
}

// Releasing the button over a row chooses it; anywhere else the list stays
// open for a click.
void ComboOnLButtonUp(HWND hwnd, ComboState& s, LPARAM lParam) {
  if (!s.dropped || !s.tracking) return;
  s.tracking = false;
  SetPressed(hwnd, s, false);
  POINT at{};
  if (!ComboPointInList(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &at)) return;
  ListRows rows = ComboRows(hwnd, s);
  int row = rows.RowAt(at.y, s.items.Count());
  if (row >= 0 && PointIn(rows.area, at.x, at.y)) PickComboRow(hwnd, s, row);
}

void ComboOnKeyDown(HWND hwnd, ComboState& s, WPARAM vk, bool alt) {
  bool toggle = vk == kVkF4 || (alt && (vk == VK_DOWN || vk == VK_UP));
  if (!s.dropped) {
    if (toggle) {
      DropCombo(hwnd, s);
      return;
    }
    int target = KeyTarget(s, s.selected, vk);
    if (target == -2 || s.items.Count() == 0) return;
    SelectComboByKey(hwnd, s, std::clamp(target, 0, s.items.Count() - 1));
    return;
  }
  if (toggle || vk == VK_RETURN) {
    if (s.hot >= 0) {
      PickComboRow(hwnd, s, s.hot);
    } else {
      CancelCombo(hwnd, s);
    }
    return;
  }
  if (vk == VK_ESCAPE) {
    CancelCombo(hwnd, s);
    return;
  }
  int target = KeyTarget(s, s.hot, vk);
  if (target == -2 || s.items.Count() == 0) return;
  SetHot(hwnd, s, std::clamp(target, 0, s.items.Count() - 1));
}

void ComboOnChar(HWND hwnd, ComboState& s, WPARAM ch) {
  char c = static_cast<char>(ch);
  if (static_cast<unsigned char>(c) <= ' ') return;
  int row = s.items.FindInitial(s.dropped ? s.hot : s.selected, c);
  if (row < 0) return;
  if (s.dropped) {
    SetHot(hwnd, s, row);
  } else {
    SelectComboByKey(hwnd, s, row);
  }
}

}  // namespace qz::controls
