#include "app_profile.h"
#include "framework_state.h"
#include "qzplatform/driver.h"

namespace {

// Live application objects, newest first. Plain pointers, so that objects
// with static storage may come and go in any order.
CWinApp* g_newestApp = nullptr;
CWinApp* g_builtInApp = nullptr;

CWinApp& BuiltInApp() {
  static CWinApp app("qzplatform");
  return app;
}

}  // namespace

namespace afx {

void EnsureMessageFilter() {
  FrameworkState& state = State();
  if (state.filterInstalled) return;
  qz::SetMessageFilter(&AfxPreTranslateMessage);
  state.filterInstalled = true;
}

CWinApp* CurrentAppOrNull() {
  return g_newestApp;
}

void ResetDefaultApp() {
  if (!g_builtInApp) return;
  g_builtInApp->m_pMainWnd = nullptr;
  g_builtInApp->SetProfilePath(nullptr);
}

}  // namespace afx

CWinApp::CWinApp(LPCSTR appName)
    : m_appName(appName), m_profile(std::make_unique<Profile>()), m_previousApp(g_newestApp) {
  m_pszAppName = m_appName;
  g_newestApp = this;
  afx::EnsureMessageFilter();
}

CWinApp::~CWinApp() {
  for (CWinApp** link = &g_newestApp; *link; link = &(*link)->m_previousApp) {
    if (*link == this) {
      *link = m_previousApp;
      break;
    }
  }
  if (g_builtInApp == this) g_builtInApp = nullptr;
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::ExitInstance() {
  return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG*) {
  return FALSE;
}

CWinApp* AfxGetApp() {
  // Once made, the built-in application stays linked until exit, so it is
  // the application whenever the host's are gone.
  if (!g_newestApp) g_builtInApp = &BuiltInApp();
  return g_newestApp;
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = afx::CurrentAppOrNull();
  return app ? app->m_pMainWnd : nullptr;
}

BOOL AfxPreTranslateMessage(MSG* msg) {
  if (!msg) return FALSE;
  CWnd* main = AfxGetMainWnd();
  HWND stop = main ? main->m_hWnd : nullptr;
  bool insideMain = false;
  // Each step re-reads the parent from the platform: a handler may have
  // destroyed windows of the chain.
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    if (CWnd* wnd = afx::Permanent(hwnd); wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    if (hwnd == stop) {
      insideMain = true;
      break;
    }
  }
  main = AfxGetMainWnd();
  if (main && main->m_hWnd && msg->hwnd && !insideMain && main->PreTranslateMessage(msg)) return TRUE;
  CWinApp* app = afx::CurrentAppOrNull();
  return app && app->PreTranslateMessage(msg);
}
