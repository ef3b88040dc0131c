// Shared helpers of the standard-control tests: a clean platform per test and
// a top-level parent window that records what its controls tell it and can be
// told how to answer colour and key questions.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commctrl.h"
#include "qzplatform/driver.h"
#include "richedit.h"
#include "windows.h"

namespace controls_test {

struct ParentMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int selectionAtTime;  // for WM_COMMAND from a combo box: its CB_GETCURSEL when it spoke
};

class ControlsTest : public ::testing::Test {
 protected:
  static constexpr int kParentX = 100;
  static constexpr int kParentY = 80;

  void SetUp() override {
    qz::ResetPlatform();
    current_ = this;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ControlsTest::ParentProc;
    wc.lpszClassName = "ControlsTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(0, "ControlsTestParent", "parent", WS_POPUP | WS_VISIBLE, kParentX, kParentY, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }

  void TearDown() override {
    qz::ResetPlatform();
    for (HGDIOBJ object : ownedObjects_) DeleteObject(object);
    current_ = nullptr;
  }

  HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << cls;
    return hwnd;
  }

  HBRUSH SolidBrush(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    ownedObjects_.push_back(brush);
    return brush;
  }

  // The parent's messages of one kind, in order.
  std::vector<ParentMessage> Received(UINT message) const {
    std::vector<ParentMessage> out;
    for (const ParentMessage& m : log_)
      if (m.message == message) out.push_back(m);
    return out;
  }

  // Notification codes of WM_COMMAND from the control with `id`, in order.
  std::vector<int> Codes(int id) const {
    std::vector<int> out;
    for (const ParentMessage& m : log_)
      if (m.message == WM_COMMAND && LOWORD(m.wParam) == id) out.push_back(HIWORD(m.wParam));
    return out;
  }

  int Count(UINT message) const { return static_cast<int>(Received(message).size()); }
  void ClearLog() { log_.clear(); }

  void ClickAt(HWND hwnd, int x, int y) { qz::Click(hwnd, x, y); }

  std::string TextOf(HWND hwnd) {
    char buffer[512];
    GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
  }

 public:
  // A pixel of the window as last drawn, 0x00RRGGBB, in window coordinates.
  static uint32_t Pixel(HWND hwnd, int x, int y) {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!qz::CaptureWindow(hwnd, &w, &h, &pixels) || x < 0 || y < 0 || x >= w || y >= h) return 0xFFFFFFFF;
    return pixels[static_cast<size_t>(y) * w + x];
  }

  // How many pixels of the rectangle (window coordinates) are not `background`.
  static int CountOther(HWND hwnd, RECT r, uint32_t background) {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!qz::CaptureWindow(hwnd, &w, &h, &pixels)) return -1;
    int count = 0;
    for (int y = r.top; y < r.bottom && y < h; ++y)
      for (int x = r.left; x < r.right && x < w; ++x)
        if (y >= 0 && x >= 0 && pixels[static_cast<size_t>(y) * w + x] != background) ++count;
    return count;
  }

  static uint32_t Rgb(COLORREF c) { return ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff); }
  static uint32_t SysPixel(int index) { return Rgb(GetSysColor(index)); }
  static bool IsDark(uint32_t p) { return ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) < 3 * 96; }

 protected:
  HWND parent_ = nullptr;
  std::vector<ParentMessage> log_;
  std::vector<DRAWITEMSTRUCT> drawItems_;
  std::vector<DELETEITEMSTRUCT> deletedItems_;

  // How the parent answers WM_CTLCOLOR*: for `colorMessage_`, sets the text
  // colour and background mode and returns `colorBrush_`.
  UINT colorMessage_ = 0;
  HBRUSH colorBrush_ = nullptr;
  COLORREF colorText_ = RGB(0, 0, 0);
  int colorBkMode_ = OPAQUE;
  // WM_ERASEBKGND of the parent fills with this brush, or the button face.
  HBRUSH eraseBrush_ = nullptr;
  // The answer to WM_VKEYTOITEM.
  LRESULT vkeyAnswer_ = -1;
  std::function<void(WPARAM, LPARAM)> onCommand_;

 private:
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ControlsTest* t = current_;
    if (!t) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ParentMessage record{msg, wParam, lParam, -2};
    if (msg == WM_COMMAND && lParam) {
      char name[16] = {};
      GetClassNameA(reinterpret_cast<HWND>(lParam), name, sizeof(name));
      if (std::string(name) == "ComboBox")
        record.selectionAtTime = static_cast<int>(SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
    }
    t->log_.push_back(record);
    switch (msg) {
      case WM_COMMAND:
        if (t->onCommand_) t->onCommand_(wParam, lParam);
        return 0;
      case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 t->eraseBrush_ ? t->eraseBrush_ : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      case WM_VKEYTOITEM:
        return t->vkeyAnswer_;
      case WM_DRAWITEM:
        t->drawItems_.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_DELETEITEM:
        t->deletedItems_.push_back(*reinterpret_cast<const DELETEITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORLISTBOX:
        if (msg == t->colorMessage_ && t->colorBrush_) {
          SetTextColor(reinterpret_cast<HDC>(wParam), t->colorText_);
          SetBkMode(reinterpret_cast<HDC>(wParam), t->colorBkMode_);
          return reinterpret_cast<LRESULT>(t->colorBrush_);
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
      default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
  }

  static inline ControlsTest* current_ = nullptr;
  std::vector<HGDIOBJ> ownedObjects_;
};

}  // namespace controls_test
