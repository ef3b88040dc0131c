#include <algorithm>
#include <cstdint>

#include "framework_state.h"

namespace {

// Brackets CreateWindowExA: while it runs, a CBT hook attaches the object to
// the first window created, before that window receives any message. Nested
// creations (a child made in WM_CREATE) share the outermost hook.
class CreationScope {
 public:
  explicit CreationScope(CWnd* wnd) {
    afx::FrameworkState& state = afx::State();
    previous_ = state.creating;
    state.creating = wnd;
    if (state.creationDepth++ == 0) state.creationHook = ::SetWindowsHookExA(WH_CBT, AfxCbtHook, nullptr, 0);
  }

  // Returns whether the hook attached the object.
  bool Finish() {
    afx::FrameworkState& state = afx::State();
    bool attached = state.creating == nullptr;
    state.creating = previous_;
    if (--state.creationDepth == 0 && state.creationHook) {
      ::UnhookWindowsHookEx(state.creationHook);
      state.creationHook = nullptr;
    }
    return attached;
  }

 private:
  CWnd* previous_;
};

}  // namespace

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  afx::FrameworkState& state = afx::State();
  if (code == HCBT_CREATEWND && state.creating) {
    CWnd* wnd = state.creating;
    state.creating = nullptr;
    wnd->AttachSubclassed(reinterpret_cast<HWND>(wParam));
  }
  return ::CallNextHookEx(state.creationHook, code, wParam, lParam);
}

void CWnd::AttachSubclassed(HWND hwnd) {
  Attach(hwnd);
  PreSubclassWindow();
  auto previous =
      reinterpret_cast<WNDPROC>(::SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
  // A class whose procedure is already AfxWndProc has nothing beneath it.
  m_pfnSuper = previous == AfxGetAfxWndProc() ? nullptr : previous;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  // Extents of rectangles near the int limits saturate rather than overflow.
  const auto extent = [](LONG from, LONG to) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
  };
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, extent(rect.left, rect.right),
                  extent(rect.top, rect.bottom), parent ? parent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  if (m_hWnd) return FALSE;
  afx::EnsureMessageFilter();
  CREATESTRUCTA cs{
      param,  AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x, LONG(style), windowName, className,
      exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  CreationScope scope(this);
  HWND hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (scope.Finish()) {
    // Once attached, a failed creation has already run WM_NCDESTROY and
    // PostNcDestroy, which may have deleted this object.
    return hwnd != nullptr;
  }
  if (hwnd) {
    // No hook reached the window: attach late rather than lose it.
    AttachSubclassed(hwnd);
    return TRUE;
  }
  PostNcDestroy();
  return FALSE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd) || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
  afx::EnsureMessageFilter();
  AttachSubclassed(hwnd);
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  ::SetWindowLongA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper ? m_pfnSuper : &::DefWindowProcA));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND hwnd = m_hWnd;
  bool routed = FromHandlePermanent(hwnd) == this &&
                ::GetWindowLongA(hwnd, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc());
  BOOL destroyed = ::DestroyWindow(hwnd);
  // A subclassed object was detached by its WM_NCDESTROY and may be gone;
  // any other object never hears of the destruction and lets go here.
  if (!routed) {
    Detach();
    m_hWnd = nullptr;
  }
  return destroyed;
}

CWnd::~CWnd() {
  if (CWinApp* app = afx::CurrentAppOrNull(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
  if (m_hWnd) CWnd::DestroyWindow();
  if (m_hWnd) Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) {
  return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CCmdTarget::OnCmdMsg(UINT, int, void*, void*) {
  return FALSE;
}
