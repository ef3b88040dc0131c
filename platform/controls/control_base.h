// Helpers shared by the standard controls: per-window state, notifications
// to the parent, colours asked of the parent, fonts.
#pragma once

#include <new>
#include <string>
#include <string_view>

#include "windows.h"

namespace qz::controls {

// Every control keeps a pointer to its state in the first extra bytes of its window.
constexpr int kStateBytes = sizeof(void*);

template <class State>
State* StateOf(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongA(hwnd, 0));
}

// Allocates the state at WM_NCCREATE; returns false (creation fails) when out of memory.
template <class State>
bool AttachState(HWND hwnd) {
  State* state = new (std::nothrow) State();
  if (!state) return false;
  SetWindowLongA(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
  return true;
}

// The state of the control a message is for, made at WM_NCCREATE; null
// before that, or when it could not be made (creation then fails).
template <class State>
State* ControlState(HWND hwnd, UINT msg) {
  if (msg == WM_NCCREATE) AttachState<State>(hwnd);
  return StateOf<State>(hwnd);
}

// Frees the state at WM_NCDESTROY.
template <class State>
void DetachState(HWND hwnd) {
  delete StateOf<State>(hwnd);
  SetWindowLongA(hwnd, 0, 0);
}

inline DWORD StyleOf(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}
inline DWORD ExStyleOf(HWND hwnd) {
  return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
}

inline bool PointIn(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
inline void Inset(RECT& r, int dx, int dy) {
  r.left += dx;
  r.top += dy;
  r.right -= dx;
  r.bottom -= dy;
}
inline void Shift(RECT& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}

// WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the parent.
void NotifyParent(HWND hwnd, int code);

// Copies as WM_GETTEXT does: at most size - 1 characters and a terminating
// NUL; returns how many characters were copied.
LRESULT CopyTextOut(std::string_view text, WPARAM size, LPARAM buffer);

// Tells the parent (WM_DELETEITEM) of a removed list or combo item that is
// owner-drawn or carries item data, as the platform does.
void NotifyItemDeleted(HWND hwnd, UINT ctlType, int index, ULONG_PTR data, bool ownerDrawn);

// Sets the control's default text and background colours on `hdc`, then asks
// the parent with `ctlColorMessage` (WM_CTLCOLOR*), which may change them.
// Returns the brush to fill the background with, or nullptr for "do not fill"
// (the parent returned a hollow brush).
HBRUSH AskParentForColors(HWND hwnd, HDC hdc, UINT ctlColorMessage, int textColorIndex, int backColorIndex);

bool IsHollowBrush(HBRUSH brush);

// The font set by WM_SETFONT, or the system font for nullptr.
HFONT FontOrSystem(HFONT font);

// Metrics of `font` measured on the window's DC.
TEXTMETRICA MeasureFont(HWND hwnd, HFONT font);

// The average character width of `font` as the platform's controls take it:
// the width of "a".."z" and "A".."Z" over 52, rounded to nearest.
int AverageCharWidth(HWND hwnd, HFONT font);

// The client rectangle without the sunken edge of WS_EX_CLIENTEDGE when the
// window manager leaves that edge to the control (its client area is not inset).
RECT InnerClientRect(HWND hwnd);
// Draws that edge when it is the control's to draw.
void DrawClientEdge(HWND hwnd, HDC hdc);
// Both at once: draws the edge when it is the control's and returns the
// client rectangle inside it.
RECT PaintClientEdge(HWND hwnd, HDC hdc);

// Text drawn by a disabled control: grey, regardless of what the parent set.
void UseDisabledTextColor(HDC hdc);

// The window's text, read without allocating when it is short.
class WindowText {
 public:
  explicit WindowText(HWND hwnd);
  const char* c_str() const { return heap_.empty() ? inline_ : heap_.c_str(); }
  int size() const { return length_; }

 private:
  char inline_[256];
  std::string heap_;
  int length_ = 0;
};

// WM_PAINT: BeginPaint, `paint(hwnd, hdc, state)`, EndPaint.
template <class State, class Paint>
void PaintControl(HWND hwnd, State& state, Paint paint) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc) paint(hwnd, hdc, state);
  EndPaint(hwnd, &ps);
}

// What every control answers alike: it repaints when enabled or disabled,
// erases nothing apart (WM_PAINT fills the whole background) and paints with
// `paint`. Returns false for any other message.
template <class State, class Paint>
bool HandleCommonMessage(HWND hwnd, UINT msg, State& state, Paint paint, LRESULT* result) {
  switch (msg) {
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT:
      PaintControl(hwnd, state, paint);
      *result = 0;
      return true;
    default:
      return false;
  }
}

// The window procedure of a standard control: finds the control's state
// (creation fails without it), answers the common messages, and hands the
// rest to `handle`.
template <class State, class Paint, class Handler>
LRESULT ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Paint paint, Handler handle) {
  State* s = ControlState<State>(hwnd, msg);
  if (!s) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (HandleCommonMessage(hwnd, msg, *s, paint, &result)) return result;
  return handle(hwnd, msg, wParam, lParam, s);
}

// Selects a font for the lifetime of the object.
class FontSelection {
 public:
  FontSelection(HDC hdc, HFONT font) : hdc_(hdc), old_(SelectObject(hdc, FontOrSystem(font))) {}
  ~FontSelection() {
    if (old_) SelectObject(hdc_, old_);
  }
  FontSelection(const FontSelection&) = delete;
  FontSelection& operator=(const FontSelection&) = delete;

 private:
  HDC hdc_;
  HGDIOBJ old_;
};

}  // namespace qz::controls
