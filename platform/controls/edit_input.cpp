#include <cctype>

#include "control_base.h"
#include "edit.h"

namespace qz::controls {
namespace {

bool IsReadOnly(HWND hwnd) {
  return (StyleOf(hwnd) & ES_READONLY) != 0;
}
bool KeyHeld(int vk) {
  return GetKeyState(vk) < 0;
}

void MoveTo(HWND hwnd, EditState& s, size_t target, bool extend, bool keepColumn = false) {
  s.model.MoveCaret(target, extend);
  if (!keepColumn) s.desiredX = -1;
  ScrollCaretIntoView(hwnd, s);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void MoveLines(HWND hwnd, EditState& s, int delta, bool extend) {
  size_t line = s.layout.LineOf(s.model.Caret());
  size_t target = 0;
  {
    WindowEditMeasure measure(hwnd, s);
    if (s.desiredX < 0) s.desiredX = s.layout.XOf(s.model.Text(), s.model.Caret(), measure.Get());
    int last = static_cast<int>(s.layout.LineCount()) - 1;
    int wanted = static_cast<int>(line) + delta;
    size_t newLine = static_cast<size_t>(wanted < 0 ? 0 : (wanted > last ? last : wanted));
    target = s.layout.PositionAt(s.model.Text(), newLine, s.desiredX, measure.Get());
  }
  MoveTo(hwnd, s, target, extend, true);
}

int VisibleLines(HWND hwnd, const EditState& s) {
  RECT area = EditTextArea(hwnd);
  int lines = (area.bottom - area.top) / (s.lineHeight > 0 ? s.lineHeight : 1);
  return lines > 1 ? lines : 1;
}

void StepHorizontally(HWND hwnd, EditState& s, bool forward, bool extend, bool byWord) {
  size_t caret = s.model.Caret();
  size_t target;
  if (s.model.HasSelection() && !extend) {
    target = forward ? s.model.SelectionEnd() : s.model.SelectionStart();
  } else if (forward) {
    target = byWord ? s.model.NextWord(caret) : s.model.NextPosition(caret);
  } else {
    target = byWord ? s.model.PreviousWord(caret) : s.model.PreviousPosition(caret);
  }
  MoveTo(hwnd, s, target, extend);
}

size_t LineEndForCaret(const EditState& s, const EditLine& line) {
  // The end of a wrapped line is the next line's start, so the caret stops before it.
  bool wrapped = line.end == line.next && line.end < s.model.Length();
  return wrapped && line.end > line.start ? line.end - 1 : line.end;
}

void InsertTyped(HWND hwnd, EditState& s, char c) {
  DWORD style = StyleOf(hwnd);
  if ((style & ES_NUMBER) && !std::isdigit(static_cast<unsigned char>(c))) {
    MessageBeep(0);
    return;
  }
  if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ReplaceSelectionAsUser(hwnd, s, std::string_view(&c, 1));
}

}  // namespace

void EditOnChar(HWND hwnd, EditState& s, WPARAM ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  bool multiline = IsMultiline(hwnd);
  bool breakOrTab = c == VK_BACK || c == '\r' || c == '\n' || c == '\t';
  if (c < 0x20 && !breakOrTab) return;
  if (IsReadOnly(hwnd)) {
    if (c >= 0x20 || c == VK_BACK) MessageBeep(0);
    return;
  }
  switch (c) {
    case VK_BACK:
      if (s.model.DeleteBackward()) FinishUserEdit(hwnd, s);
      return;
    case '\r':
      // Enter belongs to the dialog (the default button) unless the edit asks for it.
      if (multiline && (StyleOf(hwnd) & ES_WANTRETURN)) ReplaceSelectionAsUser(hwnd, s, "\r\n");
      return;
    case '\n':
      if (multiline) ReplaceSelectionAsUser(hwnd, s, "\r\n");
      return;
    case '\t':
      if (multiline) ReplaceSelectionAsUser(hwnd, s, "\t");
      return;
    default:
      InsertTyped(hwnd, s, static_cast<char>(c));
      return;
  }
}

void EditOnKeyDown(HWND hwnd, EditState& s, WPARAM vk) {
  bool shift = KeyHeld(VK_SHIFT);
  bool ctrl = KeyHeld(VK_CONTROL);
  bool multiline = IsMultiline(hwnd);
  const EditLine& line = s.layout.Line(s.layout.LineOf(s.model.Caret()));
  switch (vk) {
    case VK_LEFT:
      StepHorizontally(hwnd, s, false, shift, ctrl);
      break;
    case VK_RIGHT:
      StepHorizontally(hwnd, s, true, shift, ctrl);
      break;
    case VK_UP:
    case VK_DOWN:
      if (multiline) {
        MoveLines(hwnd, s, vk == VK_UP ? -1 : 1, shift);
      } else {
        StepHorizontally(hwnd, s, vk == VK_DOWN, shift, ctrl);
      }
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multiline) MoveLines(hwnd, s, (vk == VK_PRIOR ? -1 : 1) * VisibleLines(hwnd, s), shift);
      break;
    case VK_HOME:
      MoveTo(hwnd, s, (ctrl || !multiline) ? 0 : line.start, shift);
      break;
    case VK_END:
      MoveTo(hwnd, s, (ctrl || !multiline) ? s.model.Length() : LineEndForCaret(s, line), shift);
      break;
    case VK_DELETE:
      if (IsReadOnly(hwnd)) {
        MessageBeep(0);
      } else if (s.model.DeleteForward()) {
        FinishUserEdit(hwnd, s);
      }
      break;
    default:
      break;
  }
}

void EditOnLButtonDown(HWND hwnd, EditState& s, WPARAM keys, LPARAM lParam) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  size_t position = EditHitTest(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  s.mouseSelecting = true;
  SetCapture(hwnd);
  MoveTo(hwnd, s, position, (keys & MK_SHIFT) != 0);
}

void EditOnLButtonDblClk(HWND hwnd, EditState& s, LPARAM lParam) {
  size_t position = EditHitTest(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  size_t start = 0;
  size_t end = 0;
  s.model.WordAround(position, &start, &end);
  s.model.Select(start, end);
  s.desiredX = -1;
  ScrollCaretIntoView(hwnd, s);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void EditOnMouseMove(HWND hwnd, EditState& s, LPARAM lParam) {
  if (!s.mouseSelecting || GetCapture() != hwnd) return;
  size_t position = EditHitTest(hwnd, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (position == s.model.Caret()) return;
  MoveTo(hwnd, s, position, true);
}

void EditOnLButtonUp(HWND hwnd, EditState& s) {
  if (!s.mouseSelecting) return;
  s.mouseSelecting = false;
  if (GetCapture() == hwnd) ReleaseCapture();
}

void EditOnFocus(HWND hwnd, EditState& s, bool focused) {
  s.focused = focused;
  if (!focused) s.mouseSelecting = false;
  InvalidateRect(hwnd, nullptr, FALSE);
  NotifyEdit(hwnd, s, focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

}  // namespace qz::controls
