// State and parts of the "EDIT" class and of the rich edit built on it.
#pragma once

#include <string>

#include "edit_layout.h"
#include "edit_model.h"
#include "windows.h"

namespace qz::controls {

struct EditState {
  EditModel model;
  EditLayout layout;
  HFONT font = nullptr;
  bool rich = false;
  bool created = false;  // nothing is notified before WM_CREATE
  bool focused = false;
  bool mouseSelecting = false;
  int lineHeight = 16;
  int xOffset = 0;                  // pixels scrolled horizontally
  size_t firstLine = 0;             // first visible line
  int desiredX = -1;                // column kept by Up/Down, -1 = from the caret
  DWORD eventMask = 0;              // rich edit: which of EN_CHANGE/EN_UPDATE are sent
  HBRUSH richBackground = nullptr;  // rich edit: EM_SETBKGNDCOLOR brush, nullptr = system colour
  COLORREF richBackgroundColor = 0;
  HBRUSH caretBrush = nullptr;  // in the text colour, remade only when that changes
  COLORREF caretColor = 0;
  std::string scratch;  // reused for previews and password masks
};

constexpr int kEditMargin = 2;
constexpr size_t kEditMaximumLimit = 0x7FFFFFFE;
constexpr size_t kEditMultilineMaximumLimit = 0xFFFFFFFF;
// What a new plain edit lets a user type before EM_LIMITTEXT.
constexpr size_t kEditDefaultLimit = 30000;

inline bool IsMultiline(HWND hwnd) {
  return (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE) != 0;
}

// Measures text in the edit's font on a DC; password edits measure their mask.
class EditMeasure : public TextMeasure {
 public:
  EditMeasure(HDC hdc, bool password);
  int Width(const char* text, size_t length) const override;

 private:
  HDC hdc_;
  bool password_;
  int maskWidth_ = 0;
};

// A measure on the window's own DC with the edit's font, for work outside painting.
class WindowEditMeasure {
 public:
  WindowEditMeasure(HWND hwnd, const EditState& s);
  ~WindowEditMeasure();
  WindowEditMeasure(const WindowEditMeasure&) = delete;
  WindowEditMeasure& operator=(const WindowEditMeasure&) = delete;
  const TextMeasure& Get() const { return measure_; }

 private:
  HWND hwnd_;
  HDC hdc_;
  HGDIOBJ oldFont_;
  EditMeasure measure_;
};

// The area text is drawn in: the client area inside any edge and the margins.
RECT EditTextArea(HWND hwnd);
// The same from the client area inside the edge (`inner`).
RECT EditTextArea(const RECT& inner, bool multiline);
bool WrapsLines(HWND hwnd, const EditState& s);
bool WrapsLines(DWORD style, const EditState& s);
// Top of a line in client coordinates: single lines are centred vertically.
int LineTop(HWND hwnd, const EditState& s, const RECT& area, size_t line);
int LineTop(bool multiline, const EditState& s, const RECT& area, size_t line);
// Pixel offset of a line from the text area's left edge for ES_CENTER/ES_RIGHT.
int LineIndent(HWND hwnd, const EditState& s, size_t line, const TextMeasure& measure);
// The same for a window of `style` whose text area is `area`.
int LineIndent(DWORD style, const RECT& area, const EditState& s, size_t line, const TextMeasure& measure);

void Relayout(HWND hwnd, EditState& s);
// The same for a window whose style is known to be `style`.
void Relayout(HWND hwnd, EditState& s, DWORD style);
void ScrollCaretIntoView(HWND hwnd, EditState& s);
size_t EditHitTest(HWND hwnd, EditState& s, int x, int y);
// Whether `text` fits the width of a single-line edit without ES_AUTOHSCROLL.
bool FitsSingleLine(HWND hwnd, const EditState& s, const std::string& text);

// Sends EN_* by WM_COMMAND, filtered by the event mask for a rich edit.
// Returns false when the parent destroyed the edit meanwhile.
bool NotifyEdit(HWND hwnd, const EditState& s, int code);
// After a change made by the user: EN_UPDATE, the repaint, then EN_CHANGE.
void FinishUserEdit(HWND hwnd, EditState& s);
// Replaces the selection as typing does: within the limit (EN_MAXTEXT when it
// cuts the text) and, without ES_AUTOHSCROLL, within the visible width.
void ReplaceSelectionAsUser(HWND hwnd, EditState& s, std::string_view insert);

void PaintEdit(HWND hwnd, HDC hdc, EditState& s);

void EditOnChar(HWND hwnd, EditState& s, WPARAM ch);
void EditOnKeyDown(HWND hwnd, EditState& s, WPARAM vk);
void EditOnLButtonDown(HWND hwnd, EditState& s, WPARAM keys, LPARAM lParam);
void EditOnLButtonDblClk(HWND hwnd, EditState& s, LPARAM lParam);
void EditOnMouseMove(HWND hwnd, EditState& s, LPARAM lParam);
void EditOnLButtonUp(HWND hwnd, EditState& s);
void EditOnFocus(HWND hwnd, EditState& s, bool focused);

// The window procedure shared by "EDIT" and "RICHEDIT".
LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool rich);

}  // namespace qz::controls
