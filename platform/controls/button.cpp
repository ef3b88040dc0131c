#include <strings.h>

#include "button.h"
#include "control_base.h"
#include "controls.h"

namespace qz::controls {
namespace {

int MaxCheck(DWORD type) {
  return (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
}

void InvalidateFace(HWND hwnd) {
  DWORD style = StyleOf(hwnd);
  if (HasCheckState(ButtonType(style)) && !(style & BS_PUSHLIKE)) {
    RECT box = CheckBoxRect(hwnd, style);
    InvalidateRect(hwnd, &box, FALSE);
    return;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void SetPushed(HWND hwnd, ButtonState& s, bool pushed) {
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  InvalidateFace(hwnd);
}

void SetCheck(HWND hwnd, ButtonState& s, int check) {
  if (s.check == check) return;
  s.check = check;
  InvalidateFace(hwnd);
}

bool IsButtonWindow(HWND hwnd) {
  char name[16];
  return GetClassNameA(hwnd, name, sizeof(name)) > 0 && strcasecmp(name, "BUTTON") == 0;
}

// An automatic radio button clears the other automatic radio buttons of its
// group: the siblings from the nearest WS_GROUP at or before it up to the next one.
void ClearRadioGroup(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  HWND first = GetWindow(parent, GW_CHILD);
  HWND groupStart = first;
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (StyleOf(w) & WS_GROUP) groupStart = w;
    if (w == hwnd) break;
  }
  for (HWND w = groupStart; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != groupStart && (StyleOf(w) & WS_GROUP)) break;
    if (w == hwnd || !IsButtonWindow(w)) continue;
    if (ButtonType(StyleOf(w)) == BS_AUTORADIOBUTTON) SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// The new check state of a click goes out as BM_SETCHECK to the button itself,
// so that a subclass sees it; an automatic radio button then clears its group.
void UpdateAutoCheck(HWND hwnd, const ButtonState& s) {
  switch (ButtonType(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
      SendMessageA(hwnd, BM_SETCHECK, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE:
      SendMessageA(hwnd, BM_SETCHECK, (s.check + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      if (IsWindow(hwnd)) ClearRadioGroup(hwnd);
      break;
    default:
      break;
  }
}

bool IsInside(HWND hwnd, LPARAM lParam) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return PointIn(client, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

// The pressed look changes through BM_SETSTATE sent to the button itself, as
// the platform's buttons do, so subclasses and message maps see every change.
// A subclass may destroy the button in any of these sends, so each is checked.
void OnLButtonDown(HWND hwnd, ButtonState& s) {
  if (!IsWindowEnabled(hwnd)) return;
  SetCapture(hwnd);
  SetFocus(hwnd);
  if (!IsWindow(hwnd)) return;
  s.tracking = true;
  SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
}

void OnLButtonDblClk(HWND hwnd, ButtonState& s) {
  DWORD style = StyleOf(hwnd);
  DWORD type = ButtonType(style);
  if ((style & BS_NOTIFY) || type == BS_RADIOBUTTON || type == BS_OWNERDRAW) {
    if (IsWindowEnabled(hwnd)) NotifyParent(hwnd, BN_DOUBLECLICKED);
    return;
  }
  OnLButtonDown(hwnd, s);
}

void OnMouseMove(HWND hwnd, const ButtonState& s, LPARAM lParam) {
  if (!s.tracking || GetCapture() != hwnd) return;
  SendMessageA(hwnd, BM_SETSTATE, IsInside(hwnd, lParam), 0);
}

// The end of a press, by the left button (`inside` = released over the
// button) or by Space (always inside). In order: BM_SETSTATE(FALSE), the
// automatic check state (BM_SETCHECK), the capture release
// (WM_CAPTURECHANGED), then BN_CLICKED. A press dragged off the button ends
// with the capture release alone.
void Release(HWND hwnd, ButtonState& s, bool inside) {
  if (!s.tracking) return;
  // Cleared first: the capture release sends WM_CAPTURECHANGED, which would cancel.
  s.tracking = false;
  if (!s.pushed) {
    ReleaseCapture();
    return;
  }
  SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
  if (!IsWindow(hwnd)) return;
  if (!inside) {
    ReleaseCapture();
    return;
  }
  UpdateAutoCheck(hwnd, s);
  if (!IsWindow(hwnd)) return;
  ReleaseCapture();
  // The parent may destroy the button while handling BN_CLICKED; nothing follows it.
  if (IsWindow(hwnd)) NotifyParent(hwnd, BN_CLICKED);
}

// Another window taking the capture mid-press cancels it; the button taking
// it again itself (lParam = the button) does not.
void OnCaptureChanged(HWND hwnd, ButtonState& s, LPARAM newCapture) {
  if (reinterpret_cast<HWND>(newCapture) == hwnd || !s.tracking) return;
  s.tracking = false;
  if (s.pushed) SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
}

// Space presses like the left button: the capture is taken at key-down and
// released at key-up, which clicks.
void OnKeyDown(HWND hwnd, ButtonState& s, WPARAM vk, LPARAM lParam) {
  if (vk != VK_SPACE || (lParam & KF_REPEAT_BIT) || !IsWindowEnabled(hwnd)) return;
  SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
  if (!IsWindow(hwnd)) return;
  s.tracking = true;
  SetCapture(hwnd);
}

void OnKeyUp(HWND hwnd, ButtonState& s, WPARAM vk) {
  if (vk == VK_SPACE) Release(hwnd, s, true);
}

// Losing the focus mid-press lets go of the capture, which cancels the press.
void OnFocus(HWND hwnd, ButtonState& s, bool focused) {
  s.focused = focused;
  if (!focused && s.tracking && GetCapture() == hwnd) ReleaseCapture();
  if (!IsWindow(hwnd)) return;
  if (!focused) s.tracking = false;
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT OnGetDlgCode(HWND hwnd) {
  switch (ButtonType(StyleOf(hwnd))) {
    case BS_PUSHBUTTON:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return DLGC_BUTTON;
  }
}

LRESULT OnSetCheck(HWND hwnd, ButtonState& s, WPARAM check) {
  DWORD type = ButtonType(StyleOf(hwnd));
  if (!HasCheckState(type)) return 0;
  int value = static_cast<int>(check);
  if (value < 0) value = 0;
  if (value > MaxCheck(type)) value = MaxCheck(type);
  SetCheck(hwnd, s, value);
  return 0;
}

LRESULT OnGetState(HWND hwnd, const ButtonState& s) {
  LRESULT state = HasCheckState(ButtonType(StyleOf(hwnd))) ? s.check : 0;
  if (s.pushed) state |= BST_PUSHED;
  if (s.focused) state |= BST_FOCUS;
  return state;
}

// Only the type bits change, as the module switches between check box kinds this way.
void OnSetStyle(HWND hwnd, WPARAM style, LPARAM redraw) {
  DWORD current = StyleOf(hwnd);
  DWORD updated = (current & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(style) & BS_TYPEMASK);
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(updated));
  if (LOWORD(redraw)) InvalidateRect(hwnd, nullptr, TRUE);
}

void OnClick(HWND hwnd) {
  if (!IsWindowEnabled(hwnd)) return;
  SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);
  SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
}

LRESULT OnSetImage(HWND hwnd, ButtonState& s, WPARAM type, LPARAM image) {
  if (type != IMAGE_BITMAP && type != IMAGE_ICON) return 0;
  HANDLE previous = s.image;
  s.image = reinterpret_cast<HANDLE>(image);
  InvalidateRect(hwnd, nullptr, TRUE);
  return reinterpret_cast<LRESULT>(previous);
}

void OnNcDestroy(HWND hwnd, ButtonState& s) {
  if (s.imageDC) DeleteDC(s.imageDC);
  DetachState<ButtonState>(hwnd);
}

}  // namespace

static LRESULT ButtonMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, ButtonState* s) {
  switch (msg) {
    case WM_NCDESTROY:
      OnNcDestroy(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCHITTEST:
      if (ButtonType(StyleOf(hwnd)) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_LBUTTONDOWN:
      OnLButtonDown(hwnd, *s);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(hwnd, *s);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONUP:
      Release(hwnd, *s, IsInside(hwnd, lParam));
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(hwnd, *s, lParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, *s, wParam, lParam);
      return 0;
    case WM_KEYUP:
      OnKeyUp(hwnd, *s, wParam);
      return 0;
    case WM_SETFOCUS:
      OnFocus(hwnd, *s, true);
      return 0;
    case WM_KILLFOCUS:
      OnFocus(hwnd, *s, false);
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(hwnd);
    case BM_GETCHECK:
      return HasCheckState(ButtonType(StyleOf(hwnd))) ? s->check : 0;
    case BM_SETCHECK:
      return OnSetCheck(hwnd, *s, wParam);
    case BM_GETSTATE:
      return OnGetState(hwnd, *s);
    case BM_SETSTATE:
      SetPushed(hwnd, *s, wParam != 0);
      return 0;
    case BM_SETSTYLE:
      OnSetStyle(hwnd, wParam, lParam);
      return 0;
    case BM_CLICK:
      OnClick(hwnd);
      return 0;
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(s->image);
    case BM_SETIMAGE:
      return OnSetImage(hwnd, *s, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProc<ButtonState>(hwnd, msg, wParam, lParam, PaintButton, ButtonMessage);
}

}  // namespace qz::controls
