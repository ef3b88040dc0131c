// State and parts of the "COMBOBOX" class. Every style behaves as a drop-down
// list: a selection field with an arrow button, and a list shown below it.
// Closed, the window is only as tall as the field, so that clicks below it
// reach the windows beneath; dropped, it grows by the list and is raised above
// its siblings until it closes.
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
  int hot = -1;           // the list row under the pointer or the keys while dropped
  int top = 0;            // first list row shown
  bool tracking = false;  // the left button went down on the combo and is still held
  bool buttonPressed = false;
  bool focused = false;
  bool resizing = false;        // the combo is sizing its own window
  bool closing = false;         // the combo is releasing the capture itself
  HWND restoreBelow = nullptr;  // the sibling the combo lay under before it was raised
};

constexpr int kComboArrowWidth = 16;

int ComboFieldHeight(const ComboState& s);
RECT ComboFieldRect(HWND hwnd, const ComboState& s);
RECT ComboButtonRect(HWND hwnd, const ComboState& s);
RECT ComboTextRect(HWND hwnd, const ComboState& s);
// The dropped list, frame included, below the field.
RECT ComboListRect(HWND hwnd, const ComboState& s);
int ComboListRowsShown(const ComboState& s);
bool ComboListScrolls(const ComboState& s);
ListRows ComboRows(HWND hwnd, const ComboState& s);
ScrollBarLayout ComboScrollBar(HWND hwnd, const ComboState& s);

// Sizes the window to the field, or to the field and the list when dropped.
void ResizeCombo(HWND hwnd, ComboState& s);
void InvalidateComboField(HWND hwnd, const ComboState& s);
void InvalidateComboRow(HWND hwnd, const ComboState& s, int row);

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

}  // namespace qz::controls
