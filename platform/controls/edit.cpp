#include "edit.h"

#include "control_base.h"
#include "controls.h"
#include "richedit.h"

namespace qz::controls {
namespace {

constexpr size_t kRichEditDefaultMaximum = 65536;

void OnCreate(HWND hwnd, EditState& s, const CREATESTRUCTA* cs) {
  s.lineHeight = MeasureFont(hwnd, s.font).tmHeight;
  if (s.lineHeight <= 0) s.lineHeight = 16;
  if (cs && cs->lpszName) s.model.SetText(cs->lpszName);
  Relayout(hwnd, s);
  s.created = true;
}

void OnNcDestroy(HWND hwnd, EditState& s) {
  if (s.caretBrush) DeleteObject(s.caretBrush);
  if (s.richBackground) DeleteObject(s.richBackground);
  DetachState<EditState>(hwnd);
}

void OnSetFont(HWND hwnd, EditState& s, WPARAM font, LPARAM redraw) {
  s.font = reinterpret_cast<HFONT>(font);
  s.lineHeight = MeasureFont(hwnd, s.font).tmHeight;
  if (s.lineHeight <= 0) s.lineHeight = 16;
  Relayout(hwnd, s);
  ScrollCaretIntoView(hwnd, s);
  if (LOWORD(redraw)) InvalidateRect(hwnd, nullptr, TRUE);
}

// WM_SETTEXT is not limited and not "modified"; only a single-line plain
// edit tells its parent about it.
LRESULT OnSetText(HWND hwnd, EditState& s, LPARAM lParam) {
  const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
  DWORD style = StyleOf(hwnd);
  s.model.SetText(text);
  s.model.SetModified(false);
  s.xOffset = 0;
  s.firstLine = 0;
  s.desiredX = -1;
  Relayout(hwnd, s, style);
  InvalidateRect(hwnd, nullptr, TRUE);
  if (s.created && !s.rich && !(style & ES_MULTILINE)) {
    if (!NotifyEdit(hwnd, s, EN_UPDATE)) return TRUE;
    NotifyEdit(hwnd, s, EN_CHANGE);
  }
  return TRUE;
}

void OnSetSel(HWND hwnd, EditState& s, WPARAM wParam, LPARAM lParam) {
  long long start = static_cast<long long>(static_cast<intptr_t>(wParam));
  long long end = static_cast<long long>(lParam);
  if (start < 0) {
    s.model.Select(s.model.Caret(), s.model.Caret());
  } else {
    size_t last = end < 0 ? s.model.Length() : static_cast<size_t>(end);
    s.model.Select(static_cast<size_t>(start), last);
  }
  s.desiredX = -1;
  ScrollCaretIntoView(hwnd, s);
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT OnGetSel(const EditState& s, WPARAM startOut, LPARAM endOut) {
  DWORD start = static_cast<DWORD>(s.model.SelectionStart());
  DWORD end = static_cast<DWORD>(s.model.SelectionEnd());
  if (startOut) *reinterpret_cast<DWORD*>(startOut) = start;
  if (endOut) *reinterpret_cast<DWORD*>(endOut) = end;
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return MAKELRESULT(start, end);
}

// 0 asks for the most: 0x7FFFFFFE characters in a single-line edit,
// 0xFFFFFFFF in a multi-line one (what EM_GETLIMITTEXT then answers); a rich
// edit keeps its own maximum.
void OnLimitText(HWND hwnd, EditState& s, WPARAM limit) {
  if (s.rich) {
    s.model.SetLimit(limit == 0 || limit > kEditMaximumLimit ? kRichEditDefaultMaximum : static_cast<size_t>(limit));
  } else if (IsMultiline(hwnd)) {
    s.model.SetLimit(limit == 0 || limit > kEditMultilineMaximumLimit ? kEditMultilineMaximumLimit
                                                                      : static_cast<size_t>(limit));
  } else {
    s.model.SetLimit(limit == 0 || limit > kEditMaximumLimit ? kEditMaximumLimit : static_cast<size_t>(limit));
  }
}

LRESULT OnSetReadOnly(HWND hwnd, WPARAM readOnly) {
  DWORD style = StyleOf(hwnd);
  style = readOnly ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY));
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

// A multi-line edit takes every key, but leaves Enter to the dialog (its
// default button) without ES_WANTRETURN, and Escape always.
LRESULT OnGetDlgCode(HWND hwnd, LPARAM lParam) {
  LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (!IsMultiline(hwnd)) return code;
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR)) {
    bool enter = msg->wParam == VK_RETURN;
    if (msg->wParam == VK_ESCAPE) return code;
    if (enter && !(StyleOf(hwnd) & ES_WANTRETURN)) return code;
  }
  return code | DLGC_WANTALLKEYS;
}

void OnSize(HWND hwnd, EditState& s) {
  Relayout(hwnd, s);
  ScrollCaretIntoView(hwnd, s);
  InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace

bool NotifyEdit(HWND hwnd, const EditState& s, int code) {
  if (!s.created) return true;
  if (s.rich && code == EN_CHANGE && !(s.eventMask & ENM_CHANGE)) return true;
  if (s.rich && code == EN_UPDATE && !(s.eventMask & ENM_UPDATE)) return true;
  NotifyParent(hwnd, code);
  return IsWindow(hwnd) != FALSE;
}

void FinishUserEdit(HWND hwnd, EditState& s) {
  s.desiredX = -1;
  Relayout(hwnd, s);
  ScrollCaretIntoView(hwnd, s);
  if (!NotifyEdit(hwnd, s, EN_UPDATE)) return;
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  NotifyEdit(hwnd, s, EN_CHANGE);
}

void ReplaceSelectionAsUser(HWND hwnd, EditState& s, std::string_view insert) {
  bool stopped = false;
  if (insert.size() > s.model.RoomForInsert()) {
    insert = insert.substr(0, s.model.RoomForInsert());
    stopped = true;
  }
  if (!IsMultiline(hwnd) && !(StyleOf(hwnd) & ES_AUTOHSCROLL)) {
    for (;;) {
      s.model.PreviewReplace(insert, &s.scratch);
      if (insert.empty() || FitsSingleLine(hwnd, s, s.scratch)) break;
      insert.remove_suffix(1);
      stopped = true;
    }
  }
  if (stopped && !NotifyEdit(hwnd, s, EN_MAXTEXT)) return;
  if (!s.model.ReplaceSelection(insert)) return;
  FinishUserEdit(hwnd, s);
}

LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool rich) {
  EditState* s = ControlState<EditState>(hwnd, msg);
  if (!s) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCCREATE) {
    s->rich = rich;
    // A plain edit starts at 30000 characters; a rich edit at the model's 32767.
    if (!rich) s->model.SetLimit(kEditDefaultLimit);
  }
  LRESULT result = 0;
  if (HandleCommonMessage(hwnd, msg, *s, PaintEdit, &result)) return result;
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd, *s, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      OnSetFont(hwnd, *s, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
      return OnSetText(hwnd, *s, lParam);
    case WM_GETTEXT:
      return CopyTextOut(s->model.Text(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(s->model.Length());
    case WM_SIZE:
      OnSize(hwnd, *s);
      return 0;
    case WM_CHAR:
      EditOnChar(hwnd, *s, wParam);
      return 0;
    case WM_KEYDOWN:
      EditOnKeyDown(hwnd, *s, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      EditOnLButtonDown(hwnd, *s, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      EditOnLButtonDblClk(hwnd, *s, lParam);
      return 0;
    case WM_MOUSEMOVE:
      EditOnMouseMove(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONUP:
      EditOnLButtonUp(hwnd, *s);
      return 0;
    case WM_CAPTURECHANGED:
      s->mouseSelecting = false;
      return 0;
    case WM_SETFOCUS:
      EditOnFocus(hwnd, *s, true);
      return 0;
    case WM_KILLFOCUS:
      EditOnFocus(hwnd, *s, false);
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(hwnd, lParam);
    case EM_GETSEL:
      return OnGetSel(*s, wParam, lParam);
    case EM_SETSEL:
      OnSetSel(hwnd, *s, wParam, lParam);
      return 0;
    case EM_REPLACESEL:
      ReplaceSelectionAsUser(hwnd, *s, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return 0;
    case EM_LIMITTEXT:
      OnLimitText(hwnd, *s, wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(s->model.Limit());
    case EM_GETMODIFY:
      return s->model.Modified() ? TRUE : FALSE;
    case EM_SETMODIFY:
      s->model.SetModified(wParam != 0);
      return 0;
    case EM_GETLINECOUNT:
      return IsMultiline(hwnd) ? static_cast<LRESULT>(s->layout.LineCount()) : 1;
    case EM_SETREADONLY:
      return OnSetReadOnly(hwnd, wParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return EditWindowProc(hwnd, msg, wParam, lParam, false);
}

}  // namespace qz::controls
