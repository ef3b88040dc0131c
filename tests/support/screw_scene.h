// A screw control on a tool's panel, driven as the host and a user do: its
// wheel, the number field inside it, the values written and the WM_HSCROLL
// codes the wheel posts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {

// The wheel's layout from its resource, in its client coordinates.
constexpr int WheelId = 1001;
constexpr int ScrewEditId = 0x4E85;
constexpr int WheelLeft = 18;
constexpr int WheelRight = 210;
constexpr int WheelWidth = WheelRight - WheelLeft;
constexpr int WheelTop = 2;
constexpr int WheelBottom = 15;
constexpr int EditLeft = 224;
constexpr int WheelRow = 8;
constexpr int LeftArrowX = 10;
constexpr int RightArrowX = 216;

class ScrewScene : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Transform"); }

  // The control with an input holding `value`, which the host hands to the
  // control as it connects the input.
  InputControl* AddScrew(double value, const TagList& attributes) {
    input = session.AddNumberInput(tool, "Size", value);
    control = session.AddPanelControl("ScrewControl", attributes, {input});
    EXPECT_NE(control, nullptr);
    if (!control) return nullptr;
    AutoParameter held(input->GetValue(session.Doc.CurrentTime));
    control->NotifyChanged(input, held);
    wheel = GetDlgItem(control->Wnd->m_hWnd, WheelId);
    edit = GetDlgItem(wheel, ScrewEditId);
    session.Pump();
    session.ClearWrites();
    return control;
  }

  double Value() { return session.NumberValue(input); }
  void HostWrites(double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
    session.Pump();
  }
  std::string EditText() const {
    char text[64] = "";
    GetWindowTextA(edit, text, sizeof text);
    return text;
  }

  void Press(int x, int y = WheelRow) {
    qz::InjectMouseAt(wheel, WM_LBUTTONDOWN, x, y);
    session.Pump();
  }
  void Release(int x, int y = WheelRow) {
    qz::InjectMouseAt(wheel, WM_LBUTTONUP, x, y);
    session.Pump();
  }
  void DragWheel(int from, int to, int moves = 4) {
    session.Drag(wheel, POINT{from, WheelRow}, POINT{to, WheelRow}, moves);
  }
  void Key(int vk) {
    SetFocus(wheel);
    qz::PressKey(vk);
  }
  void TypeAndEnter(const char* text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }

  // The codes of the WM_HSCROLL messages the wheel posted to the control.
  std::vector<int> PostedCodes(const std::vector<qz::RecordedMessage>& recorded) const {
    std::vector<int> codes;
    for (const qz::RecordedMessage& m : recorded)
      if (m.posted && m.message == WM_HSCROLL && m.hwnd == control->Wnd->m_hWnd &&
          reinterpret_cast<HWND>(m.lParam) == wheel)
        codes.push_back(LOWORD(m.wParam));
    return codes;
  }

  std::vector<uint32_t> Capture(HWND hwnd, int* width) {
    session.Pump();
    int height = 0;
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(qz::CaptureWindow(hwnd, width, &height, &pixels));
    return pixels;
  }

  Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND wheel = nullptr;
  HWND edit = nullptr;
};

}  // namespace qzh
