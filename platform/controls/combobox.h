// State and parts of the "COMBOBOX" class. Every style behaves as a drop-down
// list: a selection field with an arrow button, and a list shown below it.
// The window is only as tall as the field, so that clicks below it reach the
// windows beneath. The dropped list is a pop-up window of its own ("ComboLBox")
// placed under the field in screen coordinates, so that no parent clips it;
// the combo holds the capture while it is down and handles all its input.
#pragma once

#include "item_list.h"
#include "list_paint.h"
#include "scroll_bar.h"
#include "windows.h"

namespace qz::controls {

struct ComboState {
  ItemList items;
  HFONT font = nullptr;
  int selected = -1;
  int fieldItemHeight = 18;     // CB_GETITEMHEIGHT(-1)
  int listItemHeight = 16;      // CB_GETITEMHEIGHT(0)
  bool fieldHeightSet = false;  // set by CB_SETITEMHEIGHT, kept across WM_SETFONT
  bool listHeightSet = false;
  int droppedHeight = 0;  // room for the list: the creation height less the field
  bool dropped = false;
  HWND list = nullptr;    // the pop-up showing the list, from the drop until the close-up
  int hot = -1;           // the list row under the pointer or the keys while dropped
  int top = 0;            // first list row shown
  bool tracking = false;  // the left button went down on the combo and is still held
  bool buttonPressed = false;
  bool focused = false;
  bool resizing = false;  // the combo is sizing its own window
  bool closing = false;   // the combo is releasing the capture itself
};

constexpr int kComboArrowWidth = 16;

int ComboFieldHeight(const ComboState& s);
RECT ComboFieldRect(HWND hwnd, const ComboState& s);
RECT ComboButtonRect(HWND hwnd, const ComboState& s);
RECT ComboTextRect(HWND hwnd, const ComboState& s);
// The list pop-up's client area, frame included, in its own coordinates.
RECT ComboListRect(HWND hwnd, const ComboState& s);
// Where the list pop-up lies on the screen: under the field, or above it
// when the screen has no room below.
RECT ComboDroppedRect(HWND hwnd, const ComboState& s);
int ComboListRowsShown(const ComboState& s);
bool ComboListScrolls(const ComboState& s);
// Rows and scroll bar in the list pop-up's coordinates.
ListRows ComboRows(HWND hwnd, const ComboState& s);
ScrollBarLayout ComboScrollBar(HWND hwnd, const ComboState& s);

// Sizes the window to the field, and the list pop-up to the list when dropped.
void ResizeCombo(HWND hwnd, ComboState& s);
void InvalidateComboField(HWND hwnd, const ComboState& s);
void InvalidateComboRow(HWND hwnd, const ComboState& s, int row);
void InvalidateComboList(const ComboState& s);

// The list pop-up: made hidden before the drop is announced, shown at its
// place once the parent has heard of it, destroyed at the close-up.
HWND CreateComboList(HWND hwnd);
void PlaceComboList(HWND hwnd, ComboState& s);
void DestroyComboList(ComboState& s);
// Maps a point of the combo's client area into the list pop-up's; false
// when the list is not shown.
bool ComboPointInList(HWND hwnd, const ComboState& s, int x, int y, POINT* out);

void DropCombo(HWND hwnd, ComboState& s);
// Chooses `row` from the dropped list: SELENDOK, CLOSEUP, then SELCHANGE.
void PickComboRow(HWND hwnd, ComboState& s, int row);
// Closes the list without choosing: SELENDCANCEL, then CLOSEUP.
void CancelCombo(HWND hwnd, ComboState& s);
// A selection made with the keys on the closed list: SELENDOK, then SELCHANGE.
void SelectComboByKey(HWND hwnd, ComboState& s, int row);

void ComboOnLButtonDown(HWND hwnd, ComboState& s, LPARAM lParam);
void ComboOnMouseMove(HWND hwnd, ComboState& s, LPARAM lParam);
void ComboOnLButtonUp(HWND hwnd, ComboState& s, LPARAM lParam);
void ComboOnKeyDown(HWND hwnd, ComboState& s, WPARAM vk, bool alt);
void ComboOnChar(HWND hwnd, ComboState& s, WPARAM ch);

void PaintCombo(HWND hwnd, HDC hdc, ComboState& s);
// Paints the list on the pop-up's DC; `hwnd` is the combo.
void PaintComboList(HWND hwnd, HDC hdc, const ComboState& s);

}  // namespace qz::controls
