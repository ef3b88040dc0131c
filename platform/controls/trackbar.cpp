#include <algorithm>

#include "commctrl.h"
#include "control_base.h"
#include "controls.h"
#include "trackbar.h"

namespace qz::controls {
namespace {

constexpr UINT_PTR kPageTimer = 1;
constexpr UINT kPageRepeatMs = 100;

int Clamp(const TrackBarState& s, int pos) {
  return std::clamp(pos, s.min, s.max);
}

void Notify(HWND hwnd, const TrackBarState& s, int code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  UINT msg = (StyleOf(hwnd) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  int pos = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? s.pos : 0;
  SendMessageA(parent, msg, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(hwnd));
}

// Only the thumb's old and new places are repainted.
void MoveThumb(HWND hwnd, TrackBarState& s, int pos, bool redraw = true) {
  pos = Clamp(s, pos);
  if (pos == s.pos) return;
  TrackGeometry g(hwnd, s);
  RECT before = g.ThumbRect(s.pos);
  s.pos = pos;
  if (!redraw) return;
  RECT after = g.ThumbRect(s.pos);
  InvalidateRect(hwnd, &before, TRUE);
  InvalidateRect(hwnd, &after, TRUE);
}

void SetRange(HWND hwnd, TrackBarState& s, int min, int max, bool redraw) {
  s.min = min;
  s.max = max < min ? min : max;
  s.pos = Clamp(s, s.pos);
  if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

void Step(HWND hwnd, TrackBarState& s, int pos, int code) {
  int before = s.pos;
  MoveThumb(hwnd, s, pos);
  if (s.pos != before) Notify(hwnd, s, code);
}

void PageTowardsPointer(HWND hwnd, TrackBarState& s) {
  TrackGeometry g(hwnd, s);
  RECT thumb = g.ThumbRect(s.pos);
  int start = g.Vertical() ? thumb.top : thumb.left;
  int end = g.Vertical() ? thumb.bottom : thumb.right;
  if (s.pageTarget >= start && s.pageTarget < end) return;
  int code = s.pageTarget < start ? TB_PAGEUP : TB_PAGEDOWN;
  if (code != s.pageCode) return;
  Step(hwnd, s, code == TB_PAGEUP ? s.pos - s.pageSize : s.pos + s.pageSize, code);
}

void EndGesture(HWND hwnd, TrackBarState& s) {
  bool dragging = s.dragging;
  bool active = s.dragging || s.paging;
  s.dragging = false;
  if (s.paging) KillTimer(hwnd, kPageTimer);
  s.paging = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (dragging) Notify(hwnd, s, TB_THUMBPOSITION);
  if (active) Notify(hwnd, s, TB_ENDTRACK);
}

void OnLButtonDown(HWND hwnd, TrackBarState& s, LPARAM lParam) {
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  if (GetFocus() != hwnd) SetFocus(hwnd);
  TrackGeometry g(hwnd, s);
  int axis = g.AxisOf(x, y);
  SetCapture(hwnd);
  if (PointIn(g.ThumbRect(s.pos), x, y)) {
    s.dragging = true;
    s.grabOffset = axis - g.CenterFor(s.pos);
    return;
  }
  s.paging = true;
  s.pageTarget = axis;
  s.pageCode = axis < g.CenterFor(s.pos) ? TB_PAGEUP : TB_PAGEDOWN;
  PageTowardsPointer(hwnd, s);
  SetTimer(hwnd, kPageTimer, kPageRepeatMs, nullptr);
}

void OnMouseMove(HWND hwnd, TrackBarState& s, LPARAM lParam) {
  TrackGeometry g(hwnd, s);
  int axis = g.AxisOf(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (s.paging) s.pageTarget = axis;
  if (!s.dragging) return;
  int before = s.pos;
  MoveThumb(hwnd, s, g.PosFor(axis - s.grabOffset));
  if (s.pos != before) Notify(hwnd, s, TB_THUMBTRACK);
}

bool IsStepKey(WPARAM vk) {
  return vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT ||
         vk == VK_HOME || vk == VK_END;
}

void OnKeyDown(HWND hwnd, TrackBarState& s, WPARAM vk) {
  switch (vk) {
    case VK_LEFT:
    case VK_UP:
      Step(hwnd, s, s.pos - s.lineSize, TB_LINEUP);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      Step(hwnd, s, s.pos + s.lineSize, TB_LINEDOWN);
      break;
    case VK_PRIOR:
      Step(hwnd, s, s.pos - s.pageSize, TB_PAGEUP);
      break;
    case VK_NEXT:
      Step(hwnd, s, s.pos + s.pageSize, TB_PAGEDOWN);
      break;
    case VK_HOME:
      Step(hwnd, s, s.min, TB_TOP);
      break;
    case VK_END:
      Step(hwnd, s, s.max, TB_BOTTOM);
      break;
    default:
      break;
  }
}

void OnFocus(HWND hwnd, TrackBarState& s, bool focused) {
  s.focused = focused;
  InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT HandleTrackBarMessage(HWND hwnd, TrackBarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case TBM_GETPOS:
      return s.pos;
    case TBM_GETRANGEMIN:
      return s.min;
    case TBM_GETRANGEMAX:
      return s.max;
    case TBM_SETPOS:
      MoveThumb(hwnd, s, static_cast<int>(lParam), wParam != 0);
      return 0;
    case TBM_SETRANGE:
      // As the platform does, a new range resets the page to a fifth of it.
      SetRange(hwnd, s, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), wParam != 0);
      s.pageSize = (s.max - s.min) / 5 > 0 ? (s.max - s.min) / 5 : 1;
      return 0;
    case TBM_SETRANGEMIN:
      SetRange(hwnd, s, static_cast<int>(lParam), s.max, wParam != 0);
      return 0;
    case TBM_SETRANGEMAX:
      SetRange(hwnd, s, s.min, static_cast<int>(lParam), wParam != 0);
      return 0;
    case TBM_SETPAGESIZE: {
      int previous = s.pageSize;
      s.pageSize = static_cast<int>(lParam);
      return previous;
    }
    case TBM_SETTICFREQ:
      s.ticFrequency = static_cast<int>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

static LRESULT TrackBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, TrackBarState* s) {
  switch (msg) {
    case WM_NCDESTROY:
      DetachState<TrackBarState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(hwnd, *s, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, *s, lParam);
      return 0;
    case WM_LBUTTONUP:
      EndGesture(hwnd, *s);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd && (s->dragging || s->paging)) EndGesture(hwnd, *s);
      return 0;
    case WM_TIMER:
      if (wParam == kPageTimer && s->paging) PageTowardsPointer(hwnd, *s);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, *s, wParam);
      return 0;
    case WM_KEYUP:
      if (IsStepKey(wParam)) Notify(hwnd, *s, TB_ENDTRACK);
      return 0;
    case WM_SETFOCUS:
      OnFocus(hwnd, *s, true);
      return 0;
    case WM_KILLFOCUS:
      OnFocus(hwnd, *s, false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    default:
      return HandleTrackBarMessage(hwnd, *s, msg, wParam, lParam);
  }
}

LRESULT CALLBACK TrackBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProc<TrackBarState>(hwnd, msg, wParam, lParam, PaintTrackBar, TrackBarMessage);
}

}  // namespace qz::controls
