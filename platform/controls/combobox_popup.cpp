#include "combobox.h"
#include "control_base.h"

namespace qz::controls {
namespace {

constexpr char kListClass[] = "ComboLBox";

// The pop-up keeps its combo's handle in its first extra bytes: being a
// top-level window, its parent is the combo's top-level window, not the combo.
HWND ComboOfList(HWND list) {
  return reinterpret_cast<HWND>(GetWindowLongA(list, 0));
}

ComboState* StateOfListCombo(HWND list) {
  HWND combo = ComboOfList(list);
  return combo && IsWindow(combo) ? StateOf<ComboState>(combo) : nullptr;
}

void PaintList(HWND list) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(list, &ps);
  ComboState* s = StateOfListCombo(list);
  if (hdc && s) PaintComboList(ComboOfList(list), hdc, *s);
  EndPaint(list, &ps);
}

// Mouse and keys never reach the pop-up: the combo holds the capture and the
// focus while it is shown, so the pop-up only paints.
LRESULT CALLBACK ComboListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongA(list, 0, reinterpret_cast<LONG_PTR>(cs ? cs->lpCreateParams : nullptr));
      return TRUE;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintList(list);
      return 0;
    case WM_NCDESTROY:
      // Destroyed from elsewhere (with its owner): the combo must not use the handle again.
      if (ComboState* s = StateOfListCombo(list); s && s->list == list) s->list = nullptr;
      return DefWindowProcA(list, msg, wParam, lParam);
    default:
      return DefWindowProcA(list, msg, wParam, lParam);
  }
}

// Registered on first use, and again after a platform reset forgets it.
bool EnsureListClass() {
  if (GetClassInfoA(nullptr, kListClass, nullptr)) return true;
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = ComboListProc;
  wc.cbWndExtra = kStateBytes;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kListClass;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

HWND CreateComboList(HWND hwnd) {
  if (!EnsureListClass()) return nullptr;
  return CreateWindowExA(0, kListClass, "", WS_POPUP, 0, 0, 0, 0, hwnd, nullptr, nullptr, hwnd);
}

void PlaceComboList(HWND hwnd, ComboState& s) {
  if (!s.list) return;
  RECT at = ComboDroppedRect(hwnd, s);
  SetWindowPos(s.list, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void DestroyComboList(ComboState& s) {
  HWND list = s.list;
  s.list = nullptr;
  if (list) DestroyWindow(list);
}

bool ComboPointInList(HWND hwnd, const ComboState& s, int x, int y, POINT* out) {
  if (!s.list || !IsWindowVisible(s.list)) return false;
  POINT pt{x, y};
  MapWindowPoints(hwnd, s.list, &pt, 1);
  *out = pt;
  return true;
}

}  // namespace qz::controls
