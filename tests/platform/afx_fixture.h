// Shared helpers of the framework tests: a clean platform per test, windows
// that log what reaches them, and a class procedure that logs what falls
// through to it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "afxwin.h"
#include "qzplatform/driver.h"

namespace afxtest {

inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

inline std::string MessageName(UINT msg) {
  switch (msg) {
    case WM_NCCREATE:
      return "WM_NCCREATE";
    case WM_CREATE:
      return "WM_CREATE";
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_NCDESTROY:
      return "WM_NCDESTROY";
    case WM_COMMAND:
      return "WM_COMMAND";
    case WM_NOTIFY:
      return "WM_NOTIFY";
    case WM_CTLCOLORSTATIC:
      return "WM_CTLCOLORSTATIC";
    case WM_DRAWITEM:
      return "WM_DRAWITEM";
    case WM_HSCROLL:
      return "WM_HSCROLL";
    case WM_PARENTNOTIFY:
      return "WM_PARENTNOTIFY";
    case WM_VKEYTOITEM:
      return "WM_VKEYTOITEM";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_DROPFILES:
      return "WM_DROPFILES";
    case WM_USER:
      return "WM_USER";
    case WM_REFLECT_BASE + WM_COMMAND:
      return "reflected WM_COMMAND";
    case WM_REFLECT_BASE + WM_NOTIFY:
      return "reflected WM_NOTIFY";
    case WM_REFLECT_BASE + WM_CTLCOLOR:
      return "reflected WM_CTLCOLOR";
    case WM_REFLECT_BASE + WM_DRAWITEM:
      return "reflected WM_DRAWITEM";
    case WM_REFLECT_BASE + WM_HSCROLL:
      return "reflected WM_HSCROLL";
    case WM_REFLECT_BASE + WM_PARENTNOTIFY:
      return "reflected WM_PARENTNOTIFY";
    case WM_REFLECT_BASE + WM_VKEYTOITEM:
      return "reflected WM_VKEYTOITEM";
    default: {
      char hex[16];
      snprintf(hex, sizeof hex, "0x%04x", msg);
      return hex;
    }
  }
}

// Messages whose arrival the tests follow; the rest (painting, sizing) is
// left out of the log so that expectations do not depend on them.
inline bool Followed(UINT msg) {
  return MessageName(msg).substr(0, 2) != "0x";
}

// The procedure of the "AfxTestClass" window class: logs followed messages as
// "class <msg>" and answers WM_USER + 1 with 0x5151 so tests can see that
// default processing reached it.
inline LRESULT CALLBACK LoggingClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (Followed(msg)) Log().push_back("class " + MessageName(msg));
  if (msg == WM_USER + 1) return 0x5151;
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline LPCSTR LoggingClass() {
  WNDCLASSA wc{};
  if (!::GetClassInfoA(nullptr, "AfxTestClass", &wc)) {
    wc = WNDCLASSA{0, LoggingClassProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "AfxTestClass"};
    ::RegisterClassA(&wc);
  }
  return "AfxTestClass";
}

// A window object that logs "<name> <msg>" for each followed message its
// WindowProc sees, then lets the framework handle it.
class LoggingWnd : public CWnd {
 public:
  explicit LoggingWnd(std::string name) : name_(std::move(name)) {}

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (Followed(msg)) Log().push_back(name_ + " " + MessageName(msg));
    return CWnd::WindowProc(msg, wParam, lParam);
  }

  BOOL CreateTop(int width = 200, int height = 120) {
    return CreateEx(0, LoggingClass(), name_.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr);
  }

  BOOL CreateChild(CWnd* parent, UINT id, const RECT& rect = RECT{10, 10, 60, 40}) {
    return Create(LoggingClass(), name_.c_str(), WS_VISIBLE, rect, parent, id);
  }

  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

class AfxTest : public ::testing::Test {
 protected:
  void SetUp() override { Log().clear(); }
  void TearDown() override {
    qz::ResetPlatform();
    AfxResetFramework();
    Log().clear();
  }
};

}  // namespace afxtest
