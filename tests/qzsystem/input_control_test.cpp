#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/operator.h"
#include "qzsystem/timecodeedit.h"

namespace {

// A panel control that counts what the host tells it.
class CountingControl : public InputControl {
 public:
  void NotifyChanged(Input* input, Parameter* value) override {
    ++Notified;
    Told = value && value->ID == Number::ClassID ? static_cast<Number*>(value)->Value : -1.0;
    InputControl::NotifyChanged(input, value);
  }
  void UpdateDisplay(Input*) override { ++Displayed; }
  void OnOK() override { ++Completed; }
  void OnConnect(Input* input) override { ConnectedTold.push_back(input->ConnectedTo()); }
  // Records whether the input was still connected and observed when told.
  void OnDisconnect(Input* input) override {
    ++Disconnected;
    Inputs.ObtainReadLock();
    ConnectedWhenTold = Inputs.Find(input) != nullptr;
    Inputs.ReleaseReadLock();
  }
  int Notified = 0;
  int Displayed = 0;
  int Completed = 0;
  int Disconnected = 0;
  bool ConnectedWhenTold = false;
  std::vector<Output*> ConnectedTold;
  double Told = 0.0;
};

class InputControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qz::ResetPlatform();
    panel.CreateEx(0, AfxRegisterWndClass(0), "Panel", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
    tool = new Operator("Tool");
    doc.AddTool(tool);
    input = tool->AddInput("Size");
    TagList tags{{ControlDocTag, static_cast<const void*>(&doc)}};
    control.SetAttrsTagList(tags);
  }
  void TearDown() override {
    control.Close();
    panel.DestroyWindow();
    qz::ResetPlatform();
    AfxResetFramework();
  }

  CWinApp app{"test"};
  CWnd panel;
  CPipelineDoc doc;
  Operator* tool = nullptr;
  Input* input = nullptr;
  CountingControl control;
};

TEST_F(InputControlTest, OpenMakesTheControlWindowAtItsPositionHoldingTheControl) {
  control.Position = CPoint(0, 40);
  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(control.Open(&panel, rect), 1u);
  ASSERT_NE(control.Wnd, nullptr);
  EXPECT_EQ(reinterpret_cast<InputControl*>(GetWindowLongA(control.Wnd->m_hWnd, 0)), &control);
  RECT rc;
  GetWindowRect(control.Wnd->m_hWnd, &rc);
  EXPECT_EQ(rc.top, 40);
  EXPECT_EQ(rc.right - rc.left, 300);
  EXPECT_EQ(InputControl::FromWindow(control.Wnd->m_hWnd), &control);
  EXPECT_EQ(control.Open(&panel, rect), 0u) << "a second Open makes no second window";
}

TEST_F(InputControlTest, OpenWithoutAParentFails) {
  CRect rect(0, 0, 300, 0);
  EXPECT_EQ(control.Open(nullptr, rect), 0u);
  EXPECT_EQ(control.Wnd, nullptr);
}

TEST_F(InputControlTest, SetInputsWritesOnlyTheSelectedIndexAndNotifiesThroughTheInput) {
  Input* other = tool->AddInput("Other");
  other->Attrs.Set(PanelIndexTag, 1);
  control.AddInput(input);
  control.AddInput(other);
  AutoNumber value(new Number(2.5));
  control.SetInputs(value, 0.0, 0);
  EXPECT_EQ(control.Notified, 1);
  EXPECT_EQ(control.Displayed, 1);
  AutoParameter stored(input->GetValue(0.0));
  ASSERT_TRUE(stored);
  EXPECT_EQ(static_cast<Number*>(stored.Get())->Value, 2.5);
  AutoParameter untouched(other->GetValue(0.0));
  EXPECT_FALSE(untouched);

  control.SetInputs(value, 0.0, 0);
  EXPECT_EQ(control.Notified, 1) << "an unchanged value tells nobody";
}

TEST_F(InputControlTest, RemovedOrDeletedControlsAreNoLongerTold) {
  control.AddInput(input);
  control.RemoveInput(input);
  AutoNumber value(new Number(1.0));
  input->SetValue(value, 0.0, 1);
  EXPECT_EQ(control.Notified, 0);

  auto* gone = new CountingControl;
  gone->AddInput(input);
  delete gone;
  AutoNumber next(new Number(2.0));
  input->SetValue(next, 0.0, 1);  // would reach freed memory if the input still knew it
}

// The host opens a panel before it connects the inputs, so an open control
// is handed each newly connected input's value once; a closed one reads it
// when it opens.
TEST_F(InputControlTest, AddInputHandsAnOpenControlTheValueAtTheCurrentTimeOnce) {
  input->Animate(1);
  AutoNumber early(new Number(1.0));
  AutoNumber late(new Number(2.0));
  input->SetValue(early, 0.0, 1);
  input->SetValue(late, 10.0, 1);
  doc.SetCurrentTime(12.0, 0);
  control.Notified = 0;

  Input* closedInput = tool->AddInput("Closed");
  closedInput->SetValue(early, 0.0, 1);
  control.AddInput(closedInput);
  EXPECT_EQ(control.Notified, 0) << "a control without a window is not told";

  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(control.Open(&panel, rect), 1u);
  EXPECT_EQ(control.AddInput(input), 1u);
  EXPECT_EQ(control.Notified, 1);
  EXPECT_EQ(control.Told, 2.0);
  EXPECT_EQ(control.Displayed, 1);
  EXPECT_EQ(control.AddInput(input), 1u);
  EXPECT_EQ(control.Notified, 1) << "an input already connected is not handed again";

  Input* empty = tool->AddInput("Empty");
  control.AddInput(empty);
  EXPECT_EQ(control.Notified, 1) << "no value, nothing to hand";
}

TEST_F(InputControlTest, RemoveInputLetsTheControlWriteBackBeforeLettingGo) {
  control.AddInput(input);
  EXPECT_EQ(control.RemoveInput(input), 1u);
  EXPECT_EQ(control.Disconnected, 1);
  EXPECT_TRUE(control.ConnectedWhenTold);
  EXPECT_EQ(control.RemoveInput(input), 0u) << "no longer connected";
  EXPECT_EQ(control.RemoveInput(nullptr), 0u);
  EXPECT_EQ(control.Disconnected, 1);
}

TEST_F(InputControlTest, ConnectionChangesOfAConnectedInputReachOnConnectUndoIncluded) {
  Output* image = doc.AddTool(new Operator("Matte1"))->AddOutput("Output", 0x017475cf);
  control.AddInput(input);
  doc.StartUndo("Connect Tool to BitmapMask");
  input->ConnectTo(image, 1);
  doc.EndUndo(1);
  doc.Undo();
  control.RemoveInput(input);
  input->ConnectTo(image, 1);
  EXPECT_EQ(control.ConnectedTold, (std::vector<Output*>{image, nullptr}));
}

TEST_F(InputControlTest, LeavingAnEditFieldCompletesTheEntry) {
  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(control.Open(&panel, rect), 1u);
  control.Wnd->SendMessage(WM_COMMAND, MAKEWPARAM(10101, EN_KILLFOCUS), 0);
  EXPECT_EQ(control.Completed, 1);
}

TEST(HasValueChanged, ComparesAtThePrecision) {
  EXPECT_TRUE(InputControl::HasValueChanged(0, 0.3001, 0.3, 0.0001)) << "one step of precision counts";
  EXPECT_FALSE(InputControl::HasValueChanged(0, 0.30004, 0.3, 0.0001));
  EXPECT_FALSE(InputControl::HasValueChanged(0, 0.1 + 0.2, 0.3, 0.0001));
  EXPECT_TRUE(InputControl::HasValueChanged(1, 2.0, 1.0, 0.0001));
  EXPECT_FALSE(InputControl::HasValueChanged(1, 2.2, 2.0, 0.0001));
  EXPECT_TRUE(InputControl::HasValueChanged(0, 5.0, 4.0, 0.0)) << "no precision: any difference";
}

// Whole-number inputs round halves away from zero, on either side of zero.
TEST(HasValueChanged, RoundsHalvesAwayFromZero) {
  struct Case {
    double newValue, oldValue;
    bool changed;
  };
  const Case cases[] = {
      {2.5, 2.0, true},  {2.49, 2.0, false}, {-2.5, -2.0, true}, {-2.49, -2.0, false},
      {-0.5, 0.0, true}, {-0.4, 0.0, false}, {0.5, 1.0, false},  {4503599627370497.0, 4503599627370496.0, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InputControl::HasValueChanged(1, c.newValue, c.oldValue, 0.0001) != 0, c.changed)
        << c.newValue << " after " << c.oldValue;
}

TEST(TimeCodeEdit, FormatsNumbersAndTimeCodes) {
  char text[32];
  TimeCodeEdit::FormatTimeCode(0.5, text, 0, 4, sizeof text, 0, 0, 0, 0, 1e9);
  EXPECT_STREQ(text, "0.5000");
  TimeCodeEdit::FormatTimeCode(7.9, text, 1, 4, sizeof text, 0, 0, 0, 0, 1e9);
  EXPECT_STREQ(text, "7");
  TimeCodeEdit::FormatTimeCode(3725.0 * 24 + 5, text, 1, 0, sizeof text, 1, 24, 0, 0, 1e9);
  EXPECT_STREQ(text, "01:02:05:05");
  char small[4];
  TimeCodeEdit::FormatTimeCode(123456.0, small, 1, 0, sizeof small, 0, 0, 0, 0, 1e9);
  EXPECT_STREQ(small, "123");
}

// The field's own number writer must give exactly the text printf gives,
// including ties (which round to even), minus zero, small buffers and values
// past the exact shortcut.
TEST(TimeCodeEdit, NumbersAreWrittenExactlyAsPrintfWritesThem) {
  std::vector<double> values = {0.0,       -0.0,
                                0.5,       1.5,
                                2.5,       -2.5,
                                0.125,     0.375,
                                1.0 / 3.0, -0.00004,
                                0.00005,   0.30004999999999998,
                                1e15,      9007199254740993.0,
                                1e-7,      123456.78905,
                                1e19};
  for (int m = 1; m < 20; ++m)
    for (int k = 1; k < 8; ++k) values.push_back(k / static_cast<double>(1 << m));
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-30, 60);
  for (int i = 0; i < 3000; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  for (double value : values) {
    for (int decimals = 1; decimals <= 15; decimals += 2) {
      for (long size : {32L, 4L}) {
        char ours[32];
        char expected[32];
        TimeCodeEdit::FormatTimeCode(value, ours, 0, decimals, size, 0, 0, 0, 0, 1e300);
        std::snprintf(expected, static_cast<size_t>(size), "%.*f", decimals, value);
        ASSERT_STREQ(ours, expected) << "value " << value << " decimals " << decimals << " size " << size;
      }
    }
  }
}

TEST(TimeCodeEdit, ParsesWhatItFormatsAndRejectsOtherText) {
  double v = 0;
  EXPECT_TRUE(TimeCodeEdit::ParseTimeCode(" 2.25 ", 0, 0, &v));
  EXPECT_EQ(v, 2.25);
  EXPECT_TRUE(TimeCodeEdit::ParseTimeCode("01:02:05:05", 1, 24, &v));
  EXPECT_EQ(v, 3725.0 * 24 + 5);
  EXPECT_FALSE(TimeCodeEdit::ParseTimeCode("abc", 0, 0, &v));
  EXPECT_FALSE(TimeCodeEdit::ParseTimeCode("1.5x", 0, 0, &v));
  EXPECT_FALSE(TimeCodeEdit::ParseTimeCode("", 0, 0, &v));
}

TEST_F(InputControlTest, NumberFieldShowsAndReadsBackTypedValues) {
  TimeCodeEdit edit;
  ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 80, 20), &panel, 10101));
  edit.SetValue(0.25, 3);
  char text[32];
  edit.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "0.250");
  edit.SetWindowText("1.75");
  EXPECT_EQ(edit.GetValue(9.0), 1.75);
  edit.SetWindowText("oops");
  EXPECT_EQ(edit.GetValue(9.0), 9.0);
  edit.SetInteger(1);
  edit.SetWindowText("4.8");
  EXPECT_EQ(edit.GetValue(0.0), 4.0);
  edit.SetDisabled(1);
  EXPECT_FALSE(edit.IsWindowEnabled());
}

}  // namespace
