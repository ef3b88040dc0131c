#include <gtest/gtest.h>

#include <algorithm>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

constexpr UINT BoxId = 1000;
constexpr double NoFrameTime = -1000000000.0;

class CheckBoxControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Matte"); }

  InputControl* AddCheckBox(std::vector<Input*> inputs, TagList attributes = {{qzc::tag::ControlName, "Invert"}},
                            int columns = 1) {
    return session.AddPanelControl("CheckBoxControl", attributes, std::move(inputs), columns);
  }
  InputControl* AddThreeStateBox(Input* input) {
    return AddCheckBox({input}, {{qzc::tag::ControlName, "Invert"}, {qzc::tag::CheckBoxThreeState, 1}});
  }
  static HWND BoxOf(InputControl* control) { return GetDlgItem(control->Wnd->m_hWnd, BoxId); }
  static LRESULT CheckOf(InputControl* control) { return SendMessageA(BoxOf(control), BM_GETCHECK, 0, 0); }
  static DWORD BoxType(InputControl* control) {
    return static_cast<DWORD>(GetWindowLongA(BoxOf(control), GWL_STYLE)) & BS_TYPEMASK;
  }
  void ClickBox(InputControl* control) {
    RECT rc;
    GetClientRect(BoxOf(control), &rc);
    session.Click(BoxOf(control), 6, rc.bottom / 2);
  }
  void SetNumber(Input* input, double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
  }
  // The box's rectangle in its control window's client coordinates.
  static RECT BoxRect(InputControl* control) {
    RECT rc;
    GetWindowRect(BoxOf(control), &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    return RECT{rc.left - origin.x, rc.top - origin.y, rc.right - origin.x, rc.bottom - origin.y};
  }
  std::vector<std::string> WrittenValues() const {
    std::vector<std::string> values;
    for (const Write& write : session.Writes()) values.push_back(write.Value);
    return values;
  }

  Session session;
  Operator* tool = nullptr;
};

TEST_F(CheckBoxControlTest, ThreeStateClicksWriteOnIndeterminateOffInTheBoxsOrder) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddThreeStateBox(invert);
  EXPECT_EQ(BoxType(box), static_cast<DWORD>(BS_AUTO3STATE));
  session.Doc.SetCurrentTime(7.0, 0);
  session.ClearWrites();

  ClickBox(box);
  EXPECT_EQ(CheckOf(box), BST_CHECKED);
  EXPECT_EQ(session.NumberValue(invert), 1.0);
  ClickBox(box);
  EXPECT_EQ(CheckOf(box), BST_INDETERMINATE);
  EXPECT_EQ(session.NumberValue(invert), -1.0);
  ClickBox(box);
  EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
  EXPECT_EQ(session.NumberValue(invert), 0.0);

  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1", "-1", "0"}));
  for (const Write& write : session.Writes()) EXPECT_EQ(write.Time, 7.0);
}

TEST_F(CheckBoxControlTest, TwoStateClicksToggleOnAndOff) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  EXPECT_EQ(BoxType(box), static_cast<DWORD>(BS_AUTOCHECKBOX));
  session.ClearWrites();
  ClickBox(box);
  ClickBox(box);
  ClickBox(box);
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1", "0", "1"}));
  EXPECT_EQ(CheckOf(box), BST_CHECKED);
}

TEST_F(CheckBoxControlTest, SpaceKeyOnTheFocusedBoxWritesLikeAClick) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  SetFocus(BoxOf(box));
  session.ClearWrites();
  qz::PressKey(VK_SPACE);
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1"}));
}

TEST_F(CheckBoxControlTest, ReleaseOutsideTheBoxWritesNothing) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  session.ClearWrites();
  session.Drag(BoxOf(box), POINT{6, 8}, POINT{6, 60});
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
}

TEST_F(CheckBoxControlTest, InputValuesAreTruncatedTowardsZero) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddThreeStateBox(invert);
  SetNumber(invert, 1.9);
  EXPECT_EQ(CheckOf(box), BST_CHECKED);
  SetNumber(invert, 0.7);
  EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
  SetNumber(invert, -1.0);
  EXPECT_EQ(CheckOf(box), BST_INDETERMINATE);
  SetNumber(invert, -0.5);
  EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
  SetNumber(invert, -3.0);
  EXPECT_EQ(CheckOf(box), BST_INDETERMINATE);
}

TEST_F(CheckBoxControlTest, ValueEqualToTheStateAfterTruncationLeavesTheDisplayAlone) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  SetNumber(invert, 1.0);
  ASSERT_EQ(CheckOf(box), BST_CHECKED);

  qz::StartRecording();
  SetNumber(invert, 1.5);
  std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  EXPECT_EQ(session.NumberValue(invert), 1.5);
  EXPECT_TRUE(std::none_of(messages.begin(), messages.end(), [&](const qz::RecordedMessage& m) {
    return m.hwnd == BoxOf(box) && m.message == BM_SETCHECK;
  }));

  qz::StartRecording();
  SetNumber(invert, 0.0);
  messages = qz::StopRecording();
  EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [&](const qz::RecordedMessage& m) {
    return m.hwnd == BoxOf(box) && m.message == BM_SETCHECK && m.wParam == BST_UNCHECKED;
  }));
}

TEST_F(CheckBoxControlTest, ValuesThatAreNotNumbersAreIgnored) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  SetNumber(invert, 1.0);
  ASSERT_EQ(CheckOf(box), BST_CHECKED);
  box->NotifyChanged(invert, nullptr);
  Text text("on");
  box->NotifyChanged(invert, &text);
  EXPECT_EQ(CheckOf(box), BST_CHECKED);
}

TEST_F(CheckBoxControlTest, CopyAttrAnswersThreeStateAndNameWithZero) {
  InputControl* box = AddCheckBox({}, {{qzc::tag::ControlName, "Invert"}, {qzc::tag::CheckBoxThreeState, 1}});
  intptr_t threeState = 0;
  EXPECT_EQ(box->CopyAttr(qzc::tag::CheckBoxThreeState, &threeState), 0u);
  EXPECT_EQ(threeState, 1);
  const char* name = nullptr;
  EXPECT_EQ(box->CopyAttr(qzc::tag::ControlName, &name), 0u);
  EXPECT_STREQ(name, "Invert");

  intptr_t columns = 0;
  EXPECT_EQ(box->CopyAttr(ControlColumnsTag, &columns), 1u);
  EXPECT_EQ(columns, 1);
  intptr_t untouched = 42;
  EXPECT_EQ(box->CopyAttr(qzc::tag::Specific3, &untouched), 0u);
  EXPECT_EQ(untouched, 42);
}

TEST_F(CheckBoxControlTest, LayoutFollowsTheCellWidth) {
  InputControl* one = AddCheckBox({}, {{qzc::tag::ControlName, "One"}}, 1);
  RECT rc = BoxRect(one);
  EXPECT_EQ(rc.left, 5);
  EXPECT_EQ(rc.top, 3);
  EXPECT_EQ(rc.right, 295);
  EXPECT_EQ(rc.bottom, 19);
  EXPECT_EQ(session.OpenedRect(one).right, 300);
  EXPECT_EQ(session.OpenedRect(one).bottom, 22);

  InputControl* two = AddCheckBox({}, {{qzc::tag::ControlName, "Two"}}, 2);
  EXPECT_EQ(BoxRect(two).right, 145);
  EXPECT_EQ(session.OpenedRect(two).right, 150);
  EXPECT_EQ(session.OpenedRect(two).bottom, 22);
  EXPECT_TRUE(GetWindowLongA(BoxOf(two), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(CheckBoxControlTest, OpenShowsTheFirstInputsValue) {
  Input* invert = session.AddNumberInput(tool, "Invert", -1.0);
  InputControl* box = CreatePanelControl("CheckBoxControl");
  ASSERT_NE(box, nullptr);
  TagList tags{{ControlDocTag, static_cast<const void*>(&session.Doc)}, {qzc::tag::CheckBoxThreeState, 1}};
  box->SetAttrsTagList(tags);
  box->AddInput(invert);
  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(box->Open(session.Panel(), rect), 1u);
  EXPECT_EQ(CheckOf(box), BST_INDETERMINATE);
  delete box;
}

TEST_F(CheckBoxControlTest, DisconnectKeepsTheStateInTheInputOutsideAnyFrame) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  Input* other = session.AddNumberInput(tool, "Other", 0.0, 1);
  InputControl* box = AddCheckBox({invert, other});
  ClickBox(box);
  session.ClearWrites();

  box->OnDisconnect(other);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Input, "Other");
  EXPECT_EQ(session.Writes()[0].Value, "1");
  EXPECT_EQ(session.Writes()[0].Time, NoFrameTime);
  box->OnDisconnect(nullptr);
}

// The box shows the whole part of the input's value; disconnecting it
// gives back exactly the value the input held, not the whole part.
TEST_F(CheckBoxControlTest, DisconnectGivesBackExactlyTheValueTheInputHeld) {
  for (double held : {0.87, 1.9, -0.5, 1e39, 16777217.0}) {
    Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
    InputControl* box = AddCheckBox({invert});
    SetNumber(invert, held);
    box->OnDisconnect(invert);
    EXPECT_EQ(session.NumberValue(invert), held);
    session.RemovePanelControl(box);
  }
}

TEST_F(CheckBoxControlTest, EachClickIsOneUndoStep) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddThreeStateBox(invert);
  ClickBox(box);
  ClickBox(box);
  EXPECT_EQ(session.Doc.UndoSteps().size(), 2u);

  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(session.NumberValue(invert), 1.0);
  EXPECT_EQ(CheckOf(box), BST_CHECKED);
  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(session.NumberValue(invert), 0.0);
  EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
}

TEST_F(CheckBoxControlTest, ReappliedAttributesSwitchTheBoxKindAndCaption) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert});
  session.ApplyAttributes(box, {{qzc::tag::CheckBoxThreeState, 1}});
  EXPECT_EQ(BoxType(box), static_cast<DWORD>(BS_AUTO3STATE));
  char text[64];
  GetWindowTextA(BoxOf(box), text, sizeof text);
  EXPECT_STREQ(text, "Invert");

  session.Pump();
  session.ApplyAttributes(box, {{qzc::tag::ControlName, "Flip"}});
  GetWindowTextA(BoxOf(box), text, sizeof text);
  EXPECT_STREQ(text, "Flip");
  RECT update;
  EXPECT_TRUE(GetUpdateRect(box->Wnd->m_hWnd, &update, FALSE));
  EXPECT_EQ(BoxType(box), static_cast<DWORD>(BS_AUTO3STATE));

  session.ApplyAttributes(box, {{qzc::tag::CheckBoxThreeState, 0}});
  EXPECT_EQ(BoxType(box), static_cast<DWORD>(BS_AUTOCHECKBOX));
  ClickBox(box);
  ClickBox(box);
  EXPECT_EQ(session.NumberValue(invert), 0.0);
}

TEST_F(CheckBoxControlTest, DisabledBoxIgnoresClicks) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert}, {{qzc::tag::ControlName, "Invert"}, {ControlDisabledTag, 1}});
  session.ClearWrites();
  ClickBox(box);
  EXPECT_TRUE(session.Writes().empty());
  session.ApplyAttributes(box, {{ControlDisabledTag, 0}});
  ClickBox(box);
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1"}));
}

TEST_F(CheckBoxControlTest, ControlNeverOpenedIsDestroyedCleanly) {
  InputControl* control = CreatePanelControl("CheckBoxControl");
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("ChBC"));
  TagList tags{{qzc::tag::ControlName, "Never shown"}, {qzc::tag::CheckBoxThreeState, 1}};
  EXPECT_EQ(control->SetAttrsTagList(tags), 1u);
  control->UpdateDisplay(nullptr);
  delete control;
}

// The caption must stay readable over the dark panel, and a click must
// change the box's pixels.
TEST_F(CheckBoxControlTest, BoxIsDrawnWithItsCaptionAndMark) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  InputControl* box = AddCheckBox({invert}, {{qzc::tag::ControlName, "Invert Mask"}});
  session.Pump();
  int width, height;
  std::vector<uint32_t> before;
  ASSERT_TRUE(qz::CaptureWindow(box->Wnd->m_hWnd, &width, &height, &before));
  auto luminance = [](uint32_t p) { return ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff); };
  int dark = 0, light = 0;
  for (int y = 4; y < 18; ++y)
    for (int x = 25; x < 120; ++x) {
      int l = luminance(before[static_cast<size_t>(y) * width + x]);
      if (l < 3 * 0x60) ++dark;
      if (l > 3 * 0xa0) ++light;
    }
  EXPECT_GT(dark, 20);
  EXPECT_GT(light, 20);

  ClickBox(box);
  session.Pump();
  std::vector<uint32_t> after;
  ASSERT_TRUE(qz::CaptureWindow(box->Wnd->m_hWnd, &width, &height, &after));
  int changed = 0;
  for (int y = 3; y < 19; ++y)
    for (int x = 5; x < 20; ++x)
      if (before[static_cast<size_t>(y) * width + x] != after[static_cast<size_t>(y) * width + x]) ++changed;
  EXPECT_GT(changed, 5);
}

// The host opens the panel before it connects the inputs: the box must show
// the state the input already holds, and a disconnect must hand the input
// that same state rather than the box's initial one.
TEST_F(CheckBoxControlTest, OpenedInTheHostsOrderShowsTheHeldStateAndKeepsIt) {
  const struct {
    double Value;
    LRESULT Check;
  } cases[] = {{1.0, BST_CHECKED}, {-1.0, BST_INDETERMINATE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    Input* invert = session.AddNumberInput(tool, "Invert", c.Value);
    InputControl* box = AddThreeStateBox(invert);
    EXPECT_EQ(SendMessageA(FindChild(box, Role::CheckBox), BM_GETCHECK, 0, 0), c.Check);
    EXPECT_TRUE(session.ControlWrites().empty());

    session.DisconnectInput(box, invert);
    EXPECT_EQ(session.NumberValue(invert), c.Value);
    EXPECT_TRUE(session.ControlWrites().empty());
  }
}

}  // namespace
}  // namespace qzh
