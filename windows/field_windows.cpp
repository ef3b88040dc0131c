#include "windows/field_windows.h"

#include <strings.h>

namespace qzc {
namespace {

constexpr WORD KeyFirst = WM_KEYDOWN;
constexpr WORD KeyLast = 0x0109;  // WM_UNICHAR, the last keyboard message
constexpr WPARAM ModifierButtons = MK_SHIFT | MK_CONTROL;

bool Held(int vkey) {
  return (GetKeyState(vkey) & 0x8000) != 0;
}

// Keys the field keeps unless Shift or Ctrl is held: editing keys, digits,
// the letters the host uses as tool shortcuts and the keypad.
bool IsEditingKey(WPARAM key) {
  if (key >= '0' && key <= '9') return true;
  if (key >= VK_NUMPAD0 && key <= VK_ADD) return true;
  switch (key) {
    case VK_BACK:
    case VK_DELETE:
    case 'A':
    case 'B':
    case 'G':
    case 'R':
    case VK_SUBTRACT:
    case VK_DECIMAL:
    case VK_OEM_MINUS:
    case VK_OEM_PERIOD:
      return true;
    default:
      return false;
  }
}

// A multi-line plain edit window whose dialog still lets it cancel.
bool CancelsOnEscape(HWND hwnd) {
  char className[16] = {};
  GetClassNameA(hwnd, className, sizeof className);
  if (strcasecmp(className, "Edit") != 0) return false;
  if (!(GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE)) return false;
  HWND cancel = GetDlgItem(GetParent(hwnd), IDCANCEL);
  return !cancel || IsWindowEnabled(cancel);
}

// The dialog-style input pre-translation of the field itself: keyboard and
// mouse input is delivered to the field (the platform's IsDialogMessage
// dispatches it) and counts as handled, so the parents never see it.
BOOL PreTranslateInput(CWnd& field, MSG* msg) {
  const bool keyboard = msg->message >= KeyFirst && msg->message <= KeyLast;
  const bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
  if (!keyboard && !mouse) return FALSE;
  return IsDialogMessageA(field.m_hWnd, msg);
}

BOOL FieldPath(CWnd& field, MSG* msg) {
  if (field.CWnd::PreTranslateMessage(msg)) return TRUE;
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_CANCEL) &&
      CancelsOnEscape(field.m_hWnd)) {
    field.SendMessage(WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }
  return PreTranslateInput(field, msg);
}

}  // namespace

BOOL PreTranslateFieldMessage(CWnd& field, MSG* msg) {
  if (!msg || !field.m_hWnd) return FALSE;
  switch (msg->message) {
    case WM_MBUTTONDOWN:
      return FALSE;
    case WM_LBUTTONDOWN:
      if (msg->wParam & ModifierButtons) return FALSE;
      return FieldPath(field, msg);
    case WM_KEYDOWN: {
      const WPARAM key = msg->wParam;
      const bool modified = Held(VK_SHIFT) || Held(VK_CONTROL);
      if (key == VK_RETURN) return FALSE;
      if (key == 'C') return FieldPath(field, msg);
      if ((key == 'V' || key == 'X' || key == 'Z') && Held(VK_CONTROL)) return FieldPath(field, msg);
      if (key == 'V' || key == 'X' || key == 'Z' || IsEditingKey(key))
        return modified ? field.CWnd::PreTranslateMessage(msg) : FieldPath(field, msg);
      return field.CWnd::PreTranslateMessage(msg);
    }
    case WM_CHAR:
      return field.CWnd::PreTranslateMessage(msg);
    case WM_SYSKEYDOWN:
      return FALSE;
    default:
      return FieldPath(field, msg);
  }
}

}  // namespace qzc
