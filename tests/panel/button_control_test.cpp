#include <gtest/gtest.h>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace qzh {
namespace {

constexpr UINT ButtonId = 1000;

class ButtonControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Blur"); }

  InputControl* AddButton(std::vector<Input*> inputs, TagList attributes = {{qzc::tag::ControlName, "Reset"}},
                          int columns = 1) {
    return session.AddPanelControl("ButtonControl", attributes, std::move(inputs), columns);
  }
  static HWND ButtonOf(InputControl* control) { return GetDlgItem(control->Wnd->m_hWnd, ButtonId); }
  void ClickButton(InputControl* control) {
    RECT rc;
    GetClientRect(ButtonOf(control), &rc);
    session.Click(ButtonOf(control), rc.right / 2, rc.bottom / 2);
  }

  Session session;
  Operator* tool = nullptr;
};

TEST_F(ButtonControlTest, ClickPulsesInputZeroAtTheCurrentTimeAndAsksForARender) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 0.0);
  InputControl* button = AddButton({pulse});
  session.Doc.SetCurrentTime(12.0, 0);
  session.ClearWrites();

  ClickButton(button);

  ASSERT_EQ(session.Writes().size(), 2u);
  EXPECT_EQ(session.Writes()[0].Value, "1");
  EXPECT_EQ(session.Writes()[1].Value, "0");
  EXPECT_EQ(session.Writes()[0].Time, 12.0);
  EXPECT_EQ(session.Writes()[1].Time, 12.0);
  EXPECT_EQ(session.NumberValue(pulse), 0.0);
  ASSERT_EQ(session.Doc.RenderRequests().size(), 1u);
  const RenderRequest& request = session.Doc.RenderRequests()[0];
  EXPECT_EQ(request.Type, RenderRequest::Interactive);
  EXPECT_EQ(request.Tool, tool);
  EXPECT_EQ(request.Other, nullptr);
  EXPECT_EQ(request.Mode, 3);
}

TEST_F(ButtonControlTest, NoRenderFlagStillPulsesButAsksForNothing) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 0.0);
  InputControl* button = AddButton({pulse}, {{qzc::tag::ControlName, "Reset"}, {ControlFlagsTag, 2}});
  session.ClearWrites();
  ClickButton(button);
  EXPECT_EQ(session.Writes().size(), 2u);
  EXPECT_TRUE(session.Doc.RenderRequests().empty());
}

TEST_F(ButtonControlTest, OnlyInputsConnectedAsIndexZeroArePulsed) {
  Input* first = session.AddNumberInput(tool, "First", 0.0, 0);
  Input* other = session.AddNumberInput(tool, "Other", 5.0, 1);
  Input* second = session.AddNumberInput(tool, "Second", 0.0, 0);
  InputControl* button = AddButton({first, other, second});
  session.ClearWrites();
  ClickButton(button);

  ASSERT_EQ(session.Writes().size(), 4u);
  EXPECT_EQ(session.Writes()[0].Input, "First");
  EXPECT_EQ(session.Writes()[2].Input, "Second");
  EXPECT_EQ(session.NumberValue(other), 5.0);
  EXPECT_EQ(session.Doc.RenderRequests().size(), 2u);
}

TEST_F(ButtonControlTest, InputAlreadyPulsedTwiceStillWritesBothValues) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 0.0);
  InputControl* button = AddButton({pulse});
  ClickButton(button);
  session.ClearWrites();
  session.Doc.ClearRenderRequests();
  ClickButton(button);
  EXPECT_EQ(session.Writes().size(), 2u);
  EXPECT_EQ(session.Doc.RenderRequests().size(), 1u);
}

TEST_F(ButtonControlTest, ClickWithoutInputsDoesNothing) {
  InputControl* button = AddButton({});
  EXPECT_EQ(button->HandleMsg(WM_COMMAND, MAKEWPARAM(ButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(ButtonOf(button))),
            0);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_TRUE(session.Doc.RenderRequests().empty());
}

TEST_F(ButtonControlTest, OtherIdsAndCodesGoToTheBaseHandler) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 0.0);
  InputControl* button = AddButton({pulse});
  session.ClearWrites();
  button->HandleMsg(WM_COMMAND, MAKEWPARAM(ButtonId + 1, BN_CLICKED), 0);
  button->HandleMsg(WM_COMMAND, MAKEWPARAM(ButtonId, BN_DOUBLECLICKED), 0);
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(ButtonControlTest, LayoutFollowsTheCellWidth) {
  InputControl* one = AddButton({}, {{qzc::tag::ControlName, "One"}}, 1);
  RECT rc;
  GetWindowRect(ButtonOf(one), &rc);
  POINT origin{0, 0};
  ClientToScreen(one->Wnd->m_hWnd, &origin);
  EXPECT_EQ(rc.left - origin.x, 5);
  EXPECT_EQ(rc.top - origin.y, 3);
  EXPECT_EQ(rc.right - origin.x, 295);
  EXPECT_EQ(rc.bottom - origin.y, 23);
  EXPECT_EQ(session.OpenedRect(one).right, 300);
  EXPECT_EQ(session.OpenedRect(one).bottom, 26);

  InputControl* two = AddButton({}, {{qzc::tag::ControlName, "Two"}}, 2);
  GetWindowRect(ButtonOf(two), &rc);
  origin = {0, 0};
  ClientToScreen(two->Wnd->m_hWnd, &origin);
  EXPECT_EQ(rc.right - origin.x, 145);
  EXPECT_EQ(session.OpenedRect(two).right, 150);
  EXPECT_EQ(session.OpenedRect(two).bottom, 26);
}

TEST_F(ButtonControlTest, ReappliedAttributesUpdateTextEnabledStateAndRepaint) {
  InputControl* button = AddButton({}, {{qzc::tag::ControlName, "Reset"}});
  char text[64];
  GetWindowTextA(ButtonOf(button), text, sizeof text);
  EXPECT_STREQ(text, "Reset");

  session.ApplyAttributes(button, {{qzc::tag::ControlName, "Again"}});
  GetWindowTextA(ButtonOf(button), text, sizeof text);
  EXPECT_STREQ(text, "Again");
  EXPECT_TRUE(IsWindowEnabled(ButtonOf(button)));

  session.Pump();
  session.ApplyAttributes(button, {{ControlDisabledTag, 1}});
  GetWindowTextA(ButtonOf(button), text, sizeof text);
  EXPECT_STREQ(text, "Again");
  EXPECT_TRUE(GetWindowLongA(ButtonOf(button), GWL_STYLE) & WS_DISABLED);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(button->Wnd->m_hWnd, &update, FALSE));

  session.ApplyAttributes(button, {{ControlDisabledTag, 0}});
  EXPECT_FALSE(GetWindowLongA(ButtonOf(button), GWL_STYLE) & WS_DISABLED);
}

TEST_F(ButtonControlTest, DisabledButtonSendsNoClick) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 0.0);
  InputControl* button = AddButton({pulse}, {{qzc::tag::ControlName, "Reset"}, {ControlDisabledTag, 1}});
  session.ClearWrites();
  ClickButton(button);
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(ButtonControlTest, ControlNeverOpenedIsDestroyedCleanly) {
  InputControl* control = CreatePanelControl("ButtonControl");
  ASSERT_NE(control, nullptr);
  TagList tags{{qzc::tag::ControlName, "Never shown"}};
  EXPECT_EQ(control->SetAttrsTagList(tags), 1u);
  delete control;
}

TEST_F(ButtonControlTest, ButtonIsDrawnWithItsLabel) {
  AddButton({}, {{qzc::tag::ControlName, "Reset Pulse"}});
  session.Pump();
  int width, height;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(session.PanelWindow(), &width, &height, &pixels));
  // The button face differs from the dark panel, and its caption has dark text pixels.
  const uint32_t panel = pixels[static_cast<size_t>(24) * width + 2];
  const uint32_t face = pixels[static_cast<size_t>(6) * width + 20];
  EXPECT_NE(panel, face);
  int dark = 0;
  for (int y = 6; y < 20; ++y)
    for (int x = 100; x < 200; ++x) {
      uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      if ((p & 0xff) < 0x60 && ((p >> 8) & 0xff) < 0x60 && ((p >> 16) & 0xff) < 0x60) ++dark;
    }
  EXPECT_GT(dark, 20);
}

// The host opens the panel before it connects the inputs; the button shows
// no value and must neither pulse nor reset an input that holds one.
TEST_F(ButtonControlTest, OpenedOnAHeldValueInTheHostsOrderWritesNothing) {
  Input* pulse = session.AddNumberInput(tool, "Pulse", 1.0);
  InputControl* button = AddButton({pulse});
  EXPECT_NE(FindChild(button, Role::PushButton), nullptr);
  EXPECT_TRUE(session.ControlWrites().empty());
  EXPECT_TRUE(session.Doc.RenderRequests().empty());

  session.DisconnectInput(button, pulse);
  EXPECT_EQ(session.NumberValue(pulse), 1.0);
  EXPECT_TRUE(session.ControlWrites().empty());
}

}  // namespace
}  // namespace qzh
