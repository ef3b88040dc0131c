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

void UpdateAutoCheck(HWND hwnd, ButtonState& s) {
  switch (ButtonType(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
      SetCheck(hwnd, s, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTO3STATE:
      SetCheck(hwnd, s, (s.check + 1) % 3);
      break;
    case BS_AUTORADIOBUTTON:
      SetCheck(hwnd, s, BST_CHECKED);
      ClearRadioGroup(hwnd);
      break;
    default:
      break;
  }
}

// The parent may destroy the button while handling BN_CLICKED, so nothing
// touches the state afterwards.
void Click(HWND hwnd, ButtonState& s) {
  UpdateAutoCheck(hwnd, s);
  NotifyParent(hwnd, BN_CLICKED);
}

bool IsInside(HWND hwnd, LPARAM lParam) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return PointIn(client, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void OnLButtonDown(HWND hwnd, ButtonState& s) {
  if (!IsWindowEnabled(hwnd)) return;
  SetCapture(hwnd);
  SetFocus(hwnd);
  s.mouseDown = true;
  SetPushed(hwnd, s, true);
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

void OnMouseMove(HWND hwnd, ButtonState& s, LPARAM lParam) {
  if (!s.mouseDown || GetCapture() != hwnd) return;
  SetPushed(hwnd, s, IsInside(hwnd, lParam));
}

void OnLButtonUp(HWND hwnd, ButtonState& s, LPARAM lParam) {
  if (!s.mouseDown) return;
  // Cleared first: releasing capture sends WM_CAPTURECHANGED, which would cancel.
  s.mouseDown = false;
  bool inside = IsInside(hwnd, lParam);
  SetPushed(hwnd, s, false);
  ReleaseCapture();
  if (inside) Click(hwnd, s);
}

void OnCaptureChanged(HWND hwnd, ButtonState& s) {
  if (!s.mouseDown) return;
  s.mouseDown = false;
  SetPushed(hwnd, s, false);
}

void OnKeyDown(HWND hwnd, ButtonState& s, WPARAM vk, LPARAM lParam) {
  if (vk != VK_SPACE || (lParam & KF_REPEAT_BIT) || !IsWindowEnabled(hwnd)) return;
  s.spaceDown = true;
  SetPushed(hwnd, s, true);
}

void OnKeyUp(HWND hwnd, ButtonState& s, WPARAM vk) {
  if (vk != VK_SPACE || !s.spaceDown) return;
  s.spaceDown = false;
  SetPushed(hwnd, s, false);
  if (!s.mouseDown) Click(hwnd, s);
}

void OnFocus(HWND hwnd, ButtonState& s, bool focused) {
  s.focused = focused;
  if (!focused) {
    s.spaceDown = false;
    if (s.mouseDown && GetCapture() == hwnd) ReleaseCapture();
    s.mouseDown = false;
    s.pushed = false;
  }
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
      OnLButtonUp(hwnd, *s, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(hwnd, *s);
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
