#include <algorithm>

#include "control_base.h"
#include "edit.h"

namespace qz::controls {
namespace {

HBRUSH PrepareColors(HWND hwnd, HDC hdc, const EditState& s) {
  bool enabled = IsWindowEnabled(hwnd);
  HBRUSH brush = nullptr;
  if (s.rich) {
    // A rich edit asks nobody: its own background colour and the window text colour.
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, s.richBackground ? s.richBackgroundColor : GetSysColor(COLOR_WINDOW));
    SetBkMode(hdc, OPAQUE);
    brush = s.richBackground ? s.richBackground : GetSysColorBrush(COLOR_WINDOW);
  } else if (enabled && !(StyleOf(hwnd) & ES_READONLY)) {
    brush = AskParentForColors(hwnd, hdc, WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW);
  } else {
    brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  }
  if (!enabled) UseDisabledTextColor(hdc);
  return brush;
}

void DrawRun(HDC hdc, const std::string& shown, size_t from, size_t to, int x, int y) {
  if (to > from) TextOutA(hdc, x, y, shown.data() + from, static_cast<int>(to - from));
}

void DrawSelectedRun(HDC hdc, const std::string& shown, size_t from, size_t to, int x, int y) {
  if (to <= from) return;
  COLORREF text = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  COLORREF back = SetBkColor(hdc, GetSysColor(COLOR_HIGHLIGHT));
  int mode = SetBkMode(hdc, OPAQUE);
  DrawRun(hdc, shown, from, to, x, y);
  SetTextColor(hdc, text);
  SetBkColor(hdc, back);
  SetBkMode(hdc, mode);
}

void DrawLine(HWND hwnd, HDC hdc, const EditState& s, const std::string& shown, size_t index, const RECT& area,
              const TextMeasure& measure, bool showSelection) {
  const EditLine& line = s.layout.Line(index);
  int y = LineTop(hwnd, s, area, index);
  int x0 = area.left + LineIndent(hwnd, s, index, measure) - s.xOffset;
  size_t a = line.start;
  size_t d = line.end;
  size_t b = showSelection ? std::clamp(s.model.SelectionStart(), a, d) : d;
  size_t c = showSelection ? std::clamp(s.model.SelectionEnd(), a, d) : d;
  const char* base = shown.data();
  DrawRun(hdc, shown, a, b, x0, y);
  DrawSelectedRun(hdc, shown, b, c, x0 + measure.Width(base + a, b - a), y);
  DrawRun(hdc, shown, c, d, x0 + measure.Width(base + a, c - a), y);
}

void DrawCaret(HWND hwnd, HDC hdc, EditState& s, const RECT& area, const TextMeasure& measure) {
  COLORREF color = GetTextColor(hdc);
  if (!s.caretBrush || s.caretColor != color) {
    if (s.caretBrush) DeleteObject(s.caretBrush);
    s.caretBrush = CreateSolidBrush(color);
    s.caretColor = color;
  }
  if (!s.caretBrush) return;
  size_t line = s.layout.LineOf(s.model.Caret());
  int x = area.left + LineIndent(hwnd, s, line, measure) + s.layout.XOf(s.model.Text(), s.model.Caret(), measure) -
          s.xOffset;
  int y = LineTop(hwnd, s, area, line);
  RECT caret{x, y, x + 1, y + s.lineHeight};
  FillRect(hdc, &caret, s.caretBrush);
}

}  // namespace

void PaintEdit(HWND hwnd, HDC hdc, EditState& s) {
  FontSelection font(hdc, s.font);
  DrawClientEdge(hwnd, hdc);
  RECT inner = InnerClientRect(hwnd);
  HBRUSH brush = PrepareColors(hwnd, hdc, s);
  if (brush) FillRect(hdc, &inner, brush);

  DWORD style = StyleOf(hwnd);
  bool password = (style & ES_PASSWORD) && !IsMultiline(hwnd);
  const std::string* shown = &s.model.Text();
  if (password) {
    s.scratch.assign(s.model.Length(), '*');
    shown = &s.scratch;
  }
  RECT area = EditTextArea(hwnd);
  IntersectClipRect(hdc, area.left, inner.top, area.right, inner.bottom);
  EditMeasure measure(hdc, password);
  bool showSelection = s.model.HasSelection() && (s.focused || (style & ES_NOHIDESEL));
  for (size_t i = s.firstLine; i < s.layout.LineCount(); ++i) {
    if (LineTop(hwnd, s, area, i) >= inner.bottom) break;
    DrawLine(hwnd, hdc, s, *shown, i, area, measure, showSelection);
  }
  if (s.focused) DrawCaret(hwnd, hdc, s, area, measure);
}

}  // namespace qz::controls
