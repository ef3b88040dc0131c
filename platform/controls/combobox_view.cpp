#include "combobox.h"
#include "control_base.h"

namespace qz::controls {
namespace {

// The field's sunken edge (2 pixels) and a pixel of padding inside it, on each side.
constexpr int kFieldBorder = 3;
constexpr int kListFrame = 1;

int ClientWidth(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client.right;
}

// The list is as wide as the whole combo window.
int ListWidth(HWND hwnd) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  return window.right - window.left;
}

}  // namespace

int ComboFieldHeight(const ComboState& s) {
  return s.fieldItemHeight + 2 * kFieldBorder;
}

RECT ComboFieldRect(HWND hwnd, const ComboState& s) {
  return RECT{0, 0, ClientWidth(hwnd), ComboFieldHeight(s)};
}

RECT ComboButtonRect(HWND hwnd, const ComboState& s) {
  RECT field = ComboFieldRect(hwnd, s);
  int left = field.right - 2 - kComboArrowWidth;
  return RECT{left < 2 ? 2 : left, 2, field.right - 2, field.bottom - 2};
}

RECT ComboTextRect(HWND hwnd, const ComboState& s) {
  RECT field = ComboFieldRect(hwnd, s);
  RECT button = ComboButtonRect(hwnd, s);
  return RECT{kFieldBorder, kFieldBorder, button.left - 1, field.bottom - kFieldBorder};
}

int ComboListRowsShown(const ComboState& s) {
  int height = s.listItemHeight > 0 ? s.listItemHeight : 1;
  int room = (s.droppedHeight - 2 * kListFrame) / height;
  if (room < 1) room = 1;
  int count = s.items.Count() > 0 ? s.items.Count() : 1;
  return count < room ? count : room;
}

bool ComboListScrolls(const ComboState& s) {
  return s.items.Count() > ComboListRowsShown(s);
}

RECT ComboListRect(HWND hwnd, const ComboState& s) {
  int height = ComboListRowsShown(s) * s.listItemHeight + 2 * kListFrame;
  return RECT{0, 0, ListWidth(hwnd), height};
}

RECT ComboDroppedRect(HWND hwnd, const ComboState& s) {
  RECT field{};
  GetWindowRect(hwnd, &field);
  RECT screen{};
  GetWindowRect(GetDesktopWindow(), &screen);
  int height = ComboListRect(hwnd, s).bottom;
  int top = field.bottom;
  if (top + height > screen.bottom && field.top - height >= screen.top) top = field.top - height;
  return RECT{field.left, top, field.right, top + height};
}

ListRows ComboRows(HWND hwnd, const ComboState& s) {
  RECT list = ComboListRect(hwnd, s);
  Inset(list, kListFrame, kListFrame);
  if (ComboListScrolls(s)) list.right -= kScrollBarWidth;
  return ListRows{list, s.top, s.listItemHeight > 0 ? s.listItemHeight : 1};
}

ScrollBarLayout ComboScrollBar(HWND hwnd, const ComboState& s) {
  RECT list = ComboListRect(hwnd, s);
  Inset(list, kListFrame, kListFrame);
  RECT bar{list.right - kScrollBarWidth, list.top, list.right, list.bottom};
  return ScrollBarLayout::Make(bar, s.top, ComboListRowsShown(s), s.items.Count());
}

void ResizeCombo(HWND hwnd, ComboState& s) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  int height = ComboFieldHeight(s);
  if (window.bottom - window.top != height) {
    s.resizing = true;
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    s.resizing = false;
  }
  if (s.dropped) PlaceComboList(hwnd, s);
}

void InvalidateComboField(HWND hwnd, const ComboState& s) {
  RECT field = ComboFieldRect(hwnd, s);
  InvalidateRect(hwnd, &field, FALSE);
}

void InvalidateComboRow(HWND hwnd, const ComboState& s, int row) {
  if (!s.list || !s.items.Valid(row)) return;
  RECT r = ComboRows(hwnd, s).RowRect(row);
  InvalidateRect(s.list, &r, FALSE);
}

// A null window would stand for every top-level window.
void InvalidateComboList(const ComboState& s) {
  if (s.list) InvalidateRect(s.list, nullptr, FALSE);
}

}  // namespace qz::controls
