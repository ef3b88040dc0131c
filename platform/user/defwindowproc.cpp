#include <algorithm>
#include <cstring>

#include "wm.h"

namespace qz::user {

static LRESULT OnNcCreate(Window* w, LPARAM lParam) {
  auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  // A resource number in place of a name (an icon static's picture) is no text.
  if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
  return TRUE;
}

static LRESULT OnGetText(Window* w, WPARAM size, LPARAM lParam) {
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer || size == 0) return 0;
  size_t n = std::min(w->text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, w->text.data(), n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

static LRESULT OnEraseBackground(Window* w, HDC hdc) {
  HBRUSH brush = w->cls ? w->cls->info.hbrBackground : nullptr;
  if (!brush || !hdc) return 0;
  RECT client = ClientRect(w);
  FillRect(hdc, &client, brush);
  return 1;
}

static LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
  return 0;
}

static LRESULT OnRightButtonUp(Window* w, LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  POINT origin = ClientOriginOnScreen(w);
  Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w->handle), MAKELPARAM(pt.x + origin.x, pt.y + origin.y));
  return 0;
}

static LRESULT OnContextMenu(Window* w, WPARAM wParam, LPARAM lParam) {
  if (w->parent && !IsTopLevel(w)) Send(w->parent, WM_CONTEXTMENU, wParam, lParam);
  return 0;
}

// The platform's colours for controls whose parent does not choose: window
// colours for edits and lists, button face for the rest.
static LRESULT OnControlColor(UINT msg, HDC hdc) {
  bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  int background = window ? COLOR_WINDOW : COLOR_BTNFACE;
  if (hdc) {
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// As on the platform, turning redrawing off clears the visible bit without
// hiding anything, so the window and its children stop being painted; turning
// it back on sets the bit and leaves the repaint to the caller.
static LRESULT OnSetRedraw(Window* w, bool redraw) {
  TouchLayout();
  if (redraw)
    w->style |= WS_VISIBLE;
  else
    w->style &= ~WS_VISIBLE;
  return 0;
}

}  // namespace qz::user

using namespace qz::user;

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return OnNcCreate(w, lParam);
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT:
      return OnGetText(w, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_ERASEBKGND:
      return OnEraseBackground(w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
      return OnPaint(hwnd);
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_CANCELMODE:
      if (P().capture == hwnd) ReleaseCapture();
      return 0;
    case WM_RBUTTONUP:
      return OnRightButtonUp(w, lParam);
    case WM_CONTEXTMENU:
      return OnContextMenu(w, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
      return OnControlColor(msg, reinterpret_cast<HDC>(wParam));
    case WM_SETREDRAW:
      return OnSetRedraw(w, wParam != 0);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
  }
  return 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}
