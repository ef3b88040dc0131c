#include <algorithm>

#include "../gdi/paint_canvas.h"
#include "control_base.h"
#include "edit.h"

namespace qz::controls {
namespace {

using gdi::PaintCanvas;

HBRUSH PrepareColors(HWND hwnd, HDC hdc, const EditState& s, DWORD style) {
  bool enabled = IsWindowEnabled(hwnd);
  HBRUSH brush = nullptr;
  if (s.rich) {
    // A rich edit asks nobody: its own background colour and the window text colour.
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, s.richBackground ? s.richBackgroundColor : GetSysColor(COLOR_WINDOW));
    SetBkMode(hdc, OPAQUE);
    brush = s.richBackground ? s.richBackground : GetSysColorBrush(COLOR_WINDOW);
  } else if (enabled && !(style & ES_READONLY)) {
    brush = AskParentForColors(hwnd, hdc, WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW);
  } else {
    brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  }
  if (!enabled) UseDisabledTextColor(hdc);
  return brush;
}

// What one paint needs to know of the window, read once.
struct EditFrame {
  DWORD style;
  bool multiline;
  RECT inner;  // client area inside any edge
  RECT area;   // where the text goes
};

void DrawRun(PaintCanvas& canvas, const std::string& shown, size_t from, size_t to, int x, int y) {
  if (to > from) canvas.Text(x, y, shown.data() + from, static_cast<int>(to - from));
}

void DrawSelectedRun(HDC hdc, PaintCanvas& canvas, const std::string& shown, size_t from, size_t to, int x, int y) {
  COLORREF text = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  COLORREF back = SetBkColor(hdc, GetSysColor(COLOR_HIGHLIGHT));
  int mode = SetBkMode(hdc, OPAQUE);
  DrawRun(canvas, shown, from, to, x, y);
  SetTextColor(hdc, text);
  SetBkColor(hdc, back);
  SetBkMode(hdc, mode);
}

// A line in up to three runs: before, in and after the selection. A run
// after the first starts where the text before it ends, measured only when
// the run has something to draw.
void DrawLine(HDC hdc, PaintCanvas& canvas, const EditState& s, const EditFrame& frame, const std::string& shown,
              size_t index, const TextMeasure& measure, bool showSelection) {
  const EditLine& line = s.layout.Line(index);
  int y = LineTop(frame.multiline, s, frame.area, index);
  int x0 = frame.area.left + LineIndent(frame.style, frame.area, s, index, measure) - s.xOffset;
  size_t a = line.start;
  size_t d = line.end;
  size_t b = showSelection ? std::clamp(s.model.SelectionStart(), a, d) : d;
  size_t c = showSelection ? std::clamp(s.model.SelectionEnd(), a, d) : d;
  const char* base = shown.data();
  DrawRun(canvas, shown, a, b, x0, y);
  if (c > b) DrawSelectedRun(hdc, canvas, shown, b, c, x0 + measure.Width(base + a, b - a), y);
  if (d > c) DrawRun(canvas, shown, c, d, x0 + measure.Width(base + a, c - a), y);
}

void DrawCaret(HDC hdc, PaintCanvas& canvas, EditState& s, const EditFrame& frame, const TextMeasure& measure) {
  COLORREF color = GetTextColor(hdc);
  if (!s.caretBrush || s.caretColor != color) {
    if (s.caretBrush) DeleteObject(s.caretBrush);
    s.caretBrush = CreateSolidBrush(color);
    s.caretColor = color;
  }
  if (!s.caretBrush) return;
  size_t line = s.layout.LineOf(s.model.Caret());
  int x = frame.area.left + LineIndent(frame.style, frame.area, s, line, measure) +
          s.layout.XOf(s.model.Text(), s.model.Caret(), measure) - s.xOffset;
  int y = LineTop(frame.multiline, s, frame.area, line);
  RECT caret{x, y, x + 1, y + s.lineHeight};
  canvas.Fill(caret, s.caretBrush);
}

}  // namespace

// The background, the text and the caret go through one canvas: the fill is
// made once, and text on it in the same colour is not filled again.
void PaintEdit(HWND hwnd, HDC hdc, EditState& s) {
  FontSelection font(hdc, s.font);
  EditFrame frame;
  frame.inner = PaintClientEdge(hwnd, hdc);
  frame.style = StyleOf(hwnd);
  frame.multiline = (frame.style & ES_MULTILINE) != 0;
  HBRUSH brush = PrepareColors(hwnd, hdc, s, frame.style);
  PaintCanvas canvas(hdc);
  if (brush) canvas.Fill(frame.inner, brush);

  bool password = (frame.style & ES_PASSWORD) && !frame.multiline;
  const std::string* shown = &s.model.Text();
  if (password) {
    s.scratch.assign(s.model.Length(), '*');
    shown = &s.scratch;
  }
  frame.area = EditTextArea(frame.inner, frame.multiline);
  canvas.Clip(RECT{frame.area.left, frame.inner.top, frame.area.right, frame.inner.bottom});
  EditMeasure measure(hdc, password);
  bool showSelection = s.model.HasSelection() && (s.focused || (frame.style & ES_NOHIDESEL));
  for (size_t i = s.firstLine; i < s.layout.LineCount(); ++i) {
    if (LineTop(frame.multiline, s, frame.area, i) >= frame.inner.bottom) break;
    DrawLine(hdc, canvas, s, frame, *shown, i, measure, showSelection);
  }
  if (s.focused) DrawCaret(hdc, canvas, s, frame, measure);
}

}  // namespace qz::controls
