// A range control on a tool with a low input ("Start", index 0) and a high
// input ("End", index 1), its bar and number fields, and a record of every
// value written with its change kind. The outer range defaults to 0 to 151,
// so that one unit is one pixel of the bar (x 62 to 213).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {

struct Sent {
  std::string Input;
  double Value;
  intptr_t Kind;
  bool operator==(const Sent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  return out << sent.Input << " = " << sent.Value << " kind " << sent.Kind;
}

class RangeFixture : public ::testing::Test, public WriteListener {
 protected:
  static constexpr int BarId = 1001;
  static constexpr int LowEditId = 0x7595;
  static constexpr int HighEditId = 0x7596;
  static constexpr int BarLeft = 62;
  static constexpr int BarRight = 213;
  static constexpr int HandleRow = 9;
  static constexpr int HandleWidth = 7;

  void SetUp() override { tool = session.AddTool("Shot"); }

  void AddRange(double low, double high, const TagList& attributes = {}) {
    lowInput = session.AddNumberInput(tool, "Start", low, 0);
    highInput = session.AddNumberInput(tool, "End", high, 1);
    TagList tags{{qzc::tag::DisplayMin, 0.0}, {qzc::tag::DisplayMax, 151.0}, {qzc::tag::Decimals, 0}};
    tags.Merge(attributes);
    control = session.AddPanelControl("RangeControl", tags, {lowInput, highInput});
    ASSERT_NE(control, nullptr);
    bar = GetDlgItem(control->Wnd->m_hWnd, BarId);
    lowEdit = GetDlgItem(bar, LowEditId);
    highEdit = GetDlgItem(bar, HighEditId);
    ASSERT_NE(lowEdit, nullptr);
    ASSERT_NE(highEdit, nullptr);
    session.Pump();
    session.Doc.SetWriteListener(this);
  }

  void InputWritten(Input* input, double, Parameter* value) override {
    double number = 0.0;
    if (value && value->ID == Number::ClassID) number = static_cast<Number*>(value)->Value;
    sent.push_back({input->GetName(), number, value ? value->Attrs.GetLong(qzc::tag::ChangeKind, -1) : -1});
  }

  double Low() { return session.NumberValue(lowInput); }
  double High() { return session.NumberValue(highInput); }
  void HostWrites(Input* input, double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
    session.Pump();
  }

  void Press(int x, int y = HandleRow) {
    qz::InjectMouseAt(bar, WM_LBUTTONDOWN, x, y);
    session.Pump();
  }
  void MoveTo(int x, int y = HandleRow) {
    qz::InjectMouseAt(bar, WM_MOUSEMOVE, x, y);
    session.Pump();
  }
  void Release(int x, int y = HandleRow) {
    qz::InjectMouseAt(bar, WM_LBUTTONUP, x, y);
    session.Pump();
  }
  void Key(UINT msg, int vk, bool repeat = false) {
    qz::InjectKey(msg, vk, repeat);
    session.Pump();
  }
  void Stroke(int vk) {
    Key(WM_KEYDOWN, vk);
    Key(WM_KEYUP, vk);
  }
  void Type(HWND edit, const char* text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }

  static std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }

  // High words of the WM_HSCROLL messages the bar posted to the control.
  std::vector<int> Phases(const std::vector<qz::RecordedMessage>& recorded) const {
    std::vector<int> phases;
    for (const qz::RecordedMessage& m : recorded)
      if (m.posted && m.message == WM_HSCROLL && m.hwnd == control->Wnd->m_hWnd &&
          reinterpret_cast<HWND>(m.lParam) == bar) {
        EXPECT_EQ(LOWORD(m.wParam), TB_THUMBTRACK);
        phases.push_back(HIWORD(m.wParam));
      }
    return phases;
  }

  std::vector<uint32_t> Capture(int* width) {
    session.Pump();
    int height = 0;
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(qz::CaptureWindow(bar, width, &height, &pixels));
    return pixels;
  }

  Session session;
  Operator* tool = nullptr;
  Input* lowInput = nullptr;
  Input* highInput = nullptr;
  InputControl* control = nullptr;
  HWND bar = nullptr;
  HWND lowEdit = nullptr;
  HWND highEdit = nullptr;
  std::vector<Sent> sent;
};

}  // namespace qzh
