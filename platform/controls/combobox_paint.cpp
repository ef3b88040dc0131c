#include "combobox.h"
#include "control_base.h"
#include "glyphs.h"

namespace qz::controls {
namespace {

constexpr int kArrowGlyphWidth = 7;
// Left padding of the selected item's text in the field.
constexpr int kComboFieldTextIndent = 2;

void PaintButton(HWND hwnd, HDC hdc, const ComboState& s, bool enabled) {
  RECT button = ComboButtonRect(hwnd, s);
  int offset = 0;
  if (s.buttonPressed) {
    FrameRect(hdc, &button, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inside = button;
    Inset(inside, 1, 1);
    FillRect(hdc, &inside, GetSysColorBrush(COLOR_BTNFACE));
    offset = 1;
  } else {
    DrawEdge(hdc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
  int cx = (button.left + button.right) / 2 + offset;
  int cy = (button.top + button.bottom) / 2 + offset;
  HBRUSH ink = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  PaintArrow(hdc, cx, cy, kArrowGlyphWidth, ArrowDirection::Down, ink);
}

void PaintSelection(HWND hwnd, HDC hdc, const ComboState& s, bool enabled) {
  RECT text = ComboTextRect(hwnd, s);
  bool highlighted = enabled && s.focused && !s.dropped;
  if (highlighted) {
    FillRect(hdc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkMode(hdc, TRANSPARENT);
  }
  if (!enabled) UseDisabledTextColor(hdc);
  if (s.selected >= 0) {
    const std::string& label = s.items.At(s.selected).text;
    RECT area = text;
    area.left += kComboFieldTextIndent;
    DrawTextA(hdc, label.c_str(), static_cast<int>(label.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (highlighted) DrawFocusRect(hdc, &text);
}

void PaintField(HWND hwnd, HDC hdc, const ComboState& s) {
  bool enabled = IsWindowEnabled(hwnd);
  RECT field = ComboFieldRect(hwnd, s);
  DrawEdge(hdc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  UINT message = enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
  HBRUSH brush = AskParentForColors(hwnd, hdc, message, COLOR_WINDOWTEXT, enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  if (brush) FillRect(hdc, &field, brush);
  PaintButton(hwnd, hdc, s, enabled);
  PaintSelection(hwnd, hdc, s, enabled);
}

}  // namespace

void PaintCombo(HWND hwnd, HDC hdc, ComboState& s) {
  FontSelection font(hdc, s.font);
  PaintField(hwnd, hdc, s);
}

// The list's colours come from the combo's parent, as the field's do.
void PaintComboList(HWND hwnd, HDC hdc, const ComboState& s) {
  FontSelection font(hdc, s.font);
  RECT list = ComboListRect(hwnd, s);
  FrameRect(hdc, &list, GetSysColorBrush(COLOR_WINDOWFRAME));
  Inset(list, 1, 1);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORLISTBOX, COLOR_WINDOWTEXT, COLOR_WINDOW);
  if (brush) FillRect(hdc, &list, brush);
  if (ComboListScrolls(s)) PaintScrollBar(hdc, ComboScrollBar(hwnd, s), true);
  ListRows rows = ComboRows(hwnd, s);
  ListLook look;
  look.selected = s.hot;
  IntersectClipRect(hdc, rows.area.left, rows.area.top, rows.area.right, rows.area.bottom);
  PaintListRows(hdc, rows, s.items, look);
}

}  // namespace qz::controls
