#include <set>
#include <string>

#include "framework_state.h"
#include "qzplatform/shell.h"

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::set<std::string> names;
  char name[96];
  snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
           static_cast<void*>(icon));
  LPCSTR stable = names.insert(name).first->c_str();
  WNDCLASSA wc{};
  // Registered again when missing: a platform reset may have dropped it.
  if (!::GetClassInfoA(AfxGetInstanceHandle(), stable, &wc)) {
    wc = WNDCLASSA{classStyle, &::DefWindowProcA, 0,       0,     AfxGetInstanceHandle(), icon,
                   cursor,     background,        nullptr, stable};
    ::RegisterClassA(&wc);
  }
  return stable;
}

HINSTANCE AfxGetInstanceHandle() {
  return nullptr;
}

HINSTANCE AfxGetResourceHandle() {
  return nullptr;
}

void AfxResetFramework() {
  afx::ResetWindowMaps();
  qz::ResetDrops();
  afx::ResetCommonDialogs();
  afx::ResetDefaultApp();
  if (afx::CurrentAppOrNull()) afx::EnsureMessageFilter();
}
