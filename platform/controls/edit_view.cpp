#include <algorithm>

#include "control_base.h"
#include "edit.h"

namespace qz::controls {
namespace {

constexpr char kPasswordMask = '*';

class UnusedMeasure : public TextMeasure {
 public:
  int Width(const char*, size_t) const override { return 0; }
};

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

EditMeasure::EditMeasure(HDC hdc, bool password) : hdc_(hdc), password_(password) {
  if (!password_) return;
  SIZE size{};
  if (GetTextExtentPoint32A(hdc_, &kPasswordMask, 1, &size)) maskWidth_ = size.cx;
}

int EditMeasure::Width(const char* text, size_t length) const {
  if (length == 0) return 0;
  if (password_) return maskWidth_ * static_cast<int>(length);
  SIZE size{};
  if (!GetTextExtentPoint32A(hdc_, text, static_cast<int>(length), &size)) return 0;
  return size.cx;
}

WindowEditMeasure::WindowEditMeasure(HWND hwnd, const EditState& s)
    : hwnd_(hwnd),
      hdc_(GetDC(hwnd)),
      oldFont_(hdc_ ? SelectObject(hdc_, FontOrSystem(s.font)) : nullptr),
      measure_(hdc_, (GetWindowLongA(hwnd, GWL_STYLE) & ES_PASSWORD) != 0) {}

WindowEditMeasure::~WindowEditMeasure() {
  if (!hdc_) return;
  if (oldFont_) SelectObject(hdc_, oldFont_);
  ReleaseDC(hwnd_, hdc_);
}

RECT EditTextArea(const RECT& inner, bool multiline) {
  RECT area = inner;
  area.left += kEditMargin;
  area.right -= kEditMargin;
  if (area.right < area.left) area.right = area.left;
  if (multiline) area.top += 1;
  return area;
}

RECT EditTextArea(HWND hwnd) {
  return EditTextArea(InnerClientRect(hwnd), IsMultiline(hwnd));
}

bool WrapsLines(DWORD style, const EditState& s) {
  return (style & ES_MULTILINE) && (s.rich || !(style & ES_AUTOHSCROLL));
}

bool WrapsLines(HWND hwnd, const EditState& s) {
  return WrapsLines(StyleOf(hwnd), s);
}

int LineTop(bool multiline, const EditState& s, const RECT& area, size_t line) {
  if (multiline) return area.top + (static_cast<int>(line) - static_cast<int>(s.firstLine)) * s.lineHeight;
  int spare = (area.bottom - area.top) - s.lineHeight;
  return area.top + (spare > 0 ? spare / 2 : 0);
}

int LineTop(HWND hwnd, const EditState& s, const RECT& area, size_t line) {
  return LineTop(IsMultiline(hwnd), s, area, line);
}

int LineIndent(DWORD style, const RECT& area, const EditState& s, size_t line, const TextMeasure& measure) {
  DWORD align = style & (ES_CENTER | ES_RIGHT);
  if (!align) return 0;
  const EditLine& l = s.layout.Line(line);
  int spare = (area.right - area.left) - measure.Width(s.model.Text().data() + l.start, l.end - l.start);
  if (spare <= 0) return 0;
  return (align & ES_CENTER) ? spare / 2 : spare;
}

int LineIndent(HWND hwnd, const EditState& s, size_t line, const TextMeasure& measure) {
  DWORD style = StyleOf(hwnd);
  if (!(style & (ES_CENTER | ES_RIGHT))) return 0;
  return LineIndent(style, EditTextArea(hwnd), s, line, measure);
}

// Lines that are not wrapped end only at line breaks and need no measuring,
// so no DC is made for them.
void Relayout(HWND hwnd, EditState& s) {
  Relayout(hwnd, s, StyleOf(hwnd));
}

void Relayout(HWND hwnd, EditState& s, DWORD style) {
  if (WrapsLines(style, s)) {
    WindowEditMeasure measure(hwnd, s);
    RECT area = EditTextArea(hwnd);
    s.layout.Build(s.model.Text(), true, std::max(1, static_cast<int>(area.right - area.left)), measure.Get());
  } else {
    s.layout.Build(s.model.Text(), (style & ES_MULTILINE) != 0, 0, UnusedMeasure());
  }
  if (s.firstLine >= s.layout.LineCount()) s.firstLine = s.layout.LineCount() - 1;
}

void ScrollCaretIntoView(HWND hwnd, EditState& s) {
  RECT area = EditTextArea(hwnd);
  size_t line = s.layout.LineOf(s.model.Caret());
  if (IsMultiline(hwnd)) {
    int visible = (area.bottom - area.top) / (s.lineHeight > 0 ? s.lineHeight : 1);
    size_t lines = static_cast<size_t>(visible > 1 ? visible : 1);
    if (line < s.firstLine) s.firstLine = line;
    if (line >= s.firstLine + lines) s.firstLine = line - lines + 1;
  }
  if (WrapsLines(hwnd, s)) {
    s.xOffset = 0;
    return;
  }
  WindowEditMeasure measure(hwnd, s);
  const std::string& text = s.model.Text();
  const EditLine& l = s.layout.Line(line);
  int width = area.right - area.left;
  int lineWidth = measure.Get().Width(text.data() + l.start, l.end - l.start);
  int x = s.layout.XOf(text, s.model.Caret(), measure.Get());
  if (lineWidth < width) {
    s.xOffset = 0;
    return;
  }
  if (x - s.xOffset > width - 1) s.xOffset = x - width + 1;
  if (x < s.xOffset) s.xOffset = x;
}

size_t EditHitTest(HWND hwnd, EditState& s, int x, int y) {
  RECT area = EditTextArea(hwnd);
  size_t line = 0;
  if (IsMultiline(hwnd)) {
    int row = static_cast<int>(s.firstLine) + FloorDiv(y - area.top, s.lineHeight > 0 ? s.lineHeight : 1);
    int last = static_cast<int>(s.layout.LineCount()) - 1;
    line = static_cast<size_t>(row < 0 ? 0 : (row > last ? last : row));
  }
  WindowEditMeasure measure(hwnd, s);
  int offset = x - area.left + s.xOffset - LineIndent(hwnd, s, line, measure.Get());
  return s.layout.PositionAt(s.model.Text(), line, offset, measure.Get());
}

bool FitsSingleLine(HWND hwnd, const EditState& s, const std::string& text) {
  WindowEditMeasure measure(hwnd, s);
  RECT area = EditTextArea(hwnd);
  return measure.Get().Width(text.data(), text.size()) <= area.right - area.left;
}

}  // namespace qz::controls
