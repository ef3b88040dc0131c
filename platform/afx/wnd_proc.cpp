#include "framework_state.h"

namespace {

// The current message's time and point are always zero, so only its window,
// message and parameters are set and put back.
[[gnu::always_inline]] inline LRESULT CallWithCurrentMessage(afx::FrameworkState& state, CWnd* wnd, HWND hwnd, UINT msg,
                                                             WPARAM wParam, LPARAM lParam) {
  MSG& current = state.currentMessage;
  const HWND outerHwnd = current.hwnd;
  const UINT outerMessage = current.message;
  const WPARAM outerWParam = current.wParam;
  const LPARAM outerLParam = current.lParam;
  current.hwnd = hwnd;
  current.message = msg;
  current.wParam = wParam;
  current.lParam = lParam;
  // The object may delete itself while handling the message (PostNcDestroy).
  LRESULT result = wnd->WindowProc(msg, wParam, lParam);
  current.hwnd = outerHwnd;
  current.message = outerMessage;
  current.wParam = outerWParam;
  current.lParam = outerLParam;
  return result;
}

// A window the recent cache does not know: looked up in the map.
[[gnu::noinline]] LRESULT LookUpAndCall(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = afx::Permanent(hwnd);
  if (!wnd) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  // Finding the object made the framework's state.
  return CallWithCurrentMessage(*afx::g_state, wnd, hwnd, msg, wParam, lParam);
}

}  // namespace

// The common case, a window the recent cache knows, keeps nothing but the
// current message across the call.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && afx::g_state) {
    const afx::RecentWindow& recent = afx::RecentSlot(hwnd);
    if (recent.hwnd == hwnd) return CallWithCurrentMessage(*afx::g_state, recent.wnd, hwnd, msg, wParam, lParam);
  }
  return LookUpAndCall(hwnd, msg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() {
  return &AfxWndProc;
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWithCurrentMessage(afx::State(), wnd, hwnd, msg, wParam, lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  return &afx::State().currentMessage;
}

LRESULT CWnd::Default() {
  const MSG& msg = afx::State().currentMessage;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnWndMsg(msg, wParam, lParam, &result)) return result;
  afx::ReflectFrame* frame = afx::State().reflecting;
  if (frame && frame->target == this && frame->message == msg) {
    frame->unhandled = true;
    return 0;
  }
  return DefWindowProc(msg, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT value = 0;
  switch (msg) {
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) return FALSE;
      value = 1;
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header || !header->hwndFrom || !OnNotify(wParam, lParam, &value)) return FALSE;
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      if (!ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &value)) return FALSE;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!lParam || !ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &value)) return FALSE;
      value = 0;
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (!item || item->CtlType == ODT_MENU || !ReflectToChild(item->hwndItem, msg, wParam, lParam, &value))
        return FALSE;
      value = TRUE;
      break;
    }
    case WM_DELETEITEM: {
      auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
      if (!item || !ReflectToChild(item->hwndItem, msg, wParam, lParam, &value)) return FALSE;
      value = TRUE;
      break;
    }
    case WM_PARENTNOTIFY:
      // Only a child's creation and destruction carry the child; button
      // presses carry a point.
      if (LOWORD(wParam) != WM_CREATE && LOWORD(wParam) != WM_DESTROY) return FALSE;
      if (!ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &value)) return FALSE;
      value = 0;
      break;
    case WM_NCDESTROY:
      OnNcDestroy(wParam, lParam);
      break;
    default:
      return FALSE;
  }
  *result = value;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam) {
    LRESULT result = 0;
    if (ReflectToChild(reinterpret_cast<HWND>(lParam), WM_COMMAND, wParam, lParam, &result)) return TRUE;
  }
  return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header && ReflectToChild(header->hwndFrom, WM_NOTIFY, wParam, lParam, result)) return TRUE;
  return header && OnCmdMsg(static_cast<UINT>(header->idFrom), static_cast<int>(header->code), nullptr, nullptr);
}

void CWnd::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
  HWND hwnd = m_hWnd;
  LONG_PTR ourProc = ::GetWindowLongA(hwnd, GWL_WNDPROC);
  DefWindowProc(WM_NCDESTROY, wParam, lParam);
  // Hand the window back to its class procedure unless someone subclassed it
  // after us.
  if (m_pfnSuper && ::GetWindowLongA(hwnd, GWL_WNDPROC) == ourProc)
    ::SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  if (CWinApp* app = afx::CurrentAppOrNull(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
  Detach();
  PostNcDestroy();
}
