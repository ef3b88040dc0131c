// Shared pieces of the window manager's tests: a fixture that resets the
// platform around each test, a test window class whose behaviour each test
// sets per window, and message-sequence comparison that prints both lists.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "qzplatform/driver.h"
#include "windows.h"

namespace usertest {

inline constexpr const char* kTestClass = "QzUserTest";
inline constexpr COLORREF kBackground = RGB(0x20, 0x40, 0x60);

// Returns true (with *result set) when it handled the message; otherwise the
// window falls back to DefWindowProcA.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;

// One expected message. `check` says which parameters must match.
struct Msg {
  enum Check { kNone = 0, kWParam = 1, kLParam = 2, kBoth = 3 };
  HWND hwnd;
  UINT message;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool posted = false;
  int check = kNone;
};

inline Msg Sent(HWND h, UINT m) {
  return Msg{h, m, 0, 0, false, Msg::kNone};
}
inline Msg Sent(HWND h, UINT m, WPARAM w, LPARAM l) {
  return Msg{h, m, w, l, false, Msg::kBoth};
}
inline Msg SentW(HWND h, UINT m, WPARAM w) {
  return Msg{h, m, w, 0, false, Msg::kWParam};
}
inline Msg SentL(HWND h, UINT m, LPARAM l) {
  return Msg{h, m, 0, l, false, Msg::kLParam};
}
inline Msg Posted(HWND h, UINT m) {
  return Msg{h, m, 0, 0, true, Msg::kNone};
}
inline Msg Posted(HWND h, UINT m, WPARAM w, LPARAM l) {
  return Msg{h, m, w, l, true, Msg::kBoth};
}

std::string Describe(const std::vector<qz::RecordedMessage>& actual);
std::string Describe(const std::vector<Msg>& expected);
// Keeps only the recorded messages whose ids are listed.
std::vector<qz::RecordedMessage> Only(const std::vector<qz::RecordedMessage>& all, std::initializer_list<UINT> ids);
// Drops the recorded messages whose ids are listed.
std::vector<qz::RecordedMessage> Without(const std::vector<qz::RecordedMessage>& all, std::initializer_list<UINT> ids);
::testing::AssertionResult SameSequence(const std::vector<qz::RecordedMessage>& actual,
                                        const std::vector<Msg>& expected);

void SetHandler(HWND hwnd, Handler handler);
LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0);
  HWND Child(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0);
  // The pixel at a client point of `hwnd`, as 0x00RRGGBB, read from a capture of its top-level window.
  uint32_t PixelAt(HWND hwnd, int x, int y);

  HBRUSH background_ = nullptr;
};

inline uint32_t Pixel(COLORREF c) {
  return ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff);
}

}  // namespace usertest
