#include "framework_state.h"

BOOL CWnd::ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  CWnd* wnd = afx::Permanent(child);
  if (!wnd) return FALSE;
  return wnd->OnChildNotify(msg, wParam, lParam, result);
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result) {
  CWnd* wnd = FromHandlePermanent(child);
  return wnd && wnd->SendChildNotifyLastMsg(result);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* result) {
  const MSG& msg = afx::State().currentMessage;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, result);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectChildNotify(msg, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND: {
      if (!DispatchReflected(WM_REFLECT_BASE + msg, wParam, lParam, nullptr)) return FALSE;
      if (result) *result = 1;
      return TRUE;
    }
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return DispatchReflected(WM_REFLECT_BASE + msg, wParam, lParam, result);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      AFX_CTLCOLOR color{m_hWnd, reinterpret_cast<HDC>(wParam), msg - WM_CTLCOLORMSGBOX};
      LRESULT brush = 0;
      if (!DispatchReflected(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&color), &brush) || !brush)
        return FALSE;
      if (result) *result = brush;
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL CWnd::DispatchReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  afx::FrameworkState& state = afx::State();
  afx::ReflectFrame frame{this, msg, false, state.reflecting};
  state.reflecting = &frame;
  LRESULT value = WindowProc(msg, wParam, lParam);
  state.reflecting = frame.previous;
  if (frame.unhandled) return FALSE;
  if (result) *result = value;
  return TRUE;
}
