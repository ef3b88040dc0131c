#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

constexpr int XEditId = 1;
constexpr int YEditId = 2;
constexpr double NoFrameTime = -1000000000.0;
constexpr double None = std::numeric_limits<double>::quiet_NaN();

class OffsetControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Transform"); }

  // The control on a Point input "Center", shown as the host shows a newly
  // connected input's value.
  InputControl* AddOffset(float x, float y, const TagList& attributes = {{qzc::tag::ControlName, "Center"}}) {
    input = session.AddInput(tool, "Center", new Point(x, y));
    control = session.AddPanelControl("OffsetControl", attributes, {input});
    EXPECT_NE(control, nullptr);
    if (!control) return nullptr;
    AutoParameter value(input->GetValue(session.Doc.CurrentTime));
    control->NotifyChanged(input, value);
    xEdit = GetDlgItem(control->Wnd->m_hWnd, XEditId);
    yEdit = GetDlgItem(control->Wnd->m_hWnd, YEditId);
    session.Pump();
    session.ClearWrites();
    return control;
  }
  static std::string TextOf(HWND hwnd) {
    char text[128] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  void TypeAndEnter(HWND edit, const char* text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }
  std::pair<float, float> ValueOf(Input* of) {
    AutoParameter value(of->GetValue(session.Doc.CurrentTime));
    if (!value || value->ID != Point::ClassID) return {-1.0f, -1.0f};
    auto* point = static_cast<Point*>(value.Get());
    return {point->X, point->Y};
  }
  void HostSends(float x, float y) {
    AutoParameter point(new Point(x, y));
    control->NotifyChanged(input, point);
  }
  // A child's rectangle in the control window's coordinates.
  CRect PlaceOf(HWND hwnd) const {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    CRect place(rc);
    place -= origin;
    return place;
  }
  std::vector<HWND> Labels() const {
    std::vector<HWND> labels;
    for (HWND child = GetWindow(control->Wnd->m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgCtrlID(child) == 0xffff) labels.push_back(child);
    return labels;
  }

  Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND xEdit = nullptr;
  HWND yEdit = nullptr;
};

TEST_F(OffsetControlTest, OpensTwoLabelledFieldsAndTheNameAtTheRight) {
  AddOffset(0.25f, 0.75f);
  EXPECT_EQ(control->ID, MakeID("OffC"));
  EXPECT_EQ(session.OpenedRect(control), CRect(215, 5, 300, 26));  // the host passes an empty rectangle
  EXPECT_EQ(PlaceOf(xEdit), CRect(25, 3, 85, 21));
  EXPECT_EQ(PlaceOf(yEdit), CRect(125, 3, 185, 21));
  for (HWND edit : {xEdit, yEdit}) {
    EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)), 0x50010080u);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 25);
  }
  const std::vector<HWND> labels = Labels();
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(TextOf(labels[0]), "X:");
  EXPECT_EQ(PlaceOf(labels[0]), CRect(5, 5, 25, 21));
  EXPECT_EQ(TextOf(labels[1]), "Y:");
  EXPECT_EQ(PlaceOf(labels[1]), CRect(105, 5, 125, 21));
  EXPECT_EQ(TextOf(labels[2]), "Center");
  EXPECT_EQ(PlaceOf(labels[2]), CRect(215, 5, 295, 23));
  EXPECT_EQ(TextOf(xEdit), "0.2500");
  EXPECT_EQ(TextOf(yEdit), "0.7500");
}

// The host opens a control before it connects its inputs.
TEST_F(OffsetControlTest, OpenWithoutAnInputShowsTheStoredCoordinates) {
  control = session.AddPanelControl("OffsetControl", {{qzc::tag::Decimals, 2}}, {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(control->Wnd->m_hWnd, XEditId)), "0.50");
  EXPECT_EQ(TextOf(GetDlgItem(control->Wnd->m_hWnd, YEditId)), "0.50");
}

// A control opened again on a connected input shows the input's point.
TEST_F(OffsetControlTest, OpenReadsTheFirstConnectedInput) {
  input = session.AddInput(tool, "Center", new Point(0.125f, -3.5f));
  InputControl* reopened = CreatePanelControl("OffsetControl");
  ASSERT_NE(reopened, nullptr);
  TagList tags{{ControlDocTag, static_cast<const void*>(&session.Doc)}};
  reopened->SetAttrsTagList(tags);
  reopened->AddInput(input);
  CRect rect(0, 0, 200, 0);
  ASSERT_EQ(reopened->Open(session.Panel(), rect), 1u);
  EXPECT_EQ(TextOf(GetDlgItem(reopened->Wnd->m_hWnd, XEditId)), "0.1250");
  EXPECT_EQ(TextOf(GetDlgItem(reopened->Wnd->m_hWnd, YEditId)), "-3.5000");
  EXPECT_EQ(rect, CRect(115, 5, 200, 26));
  delete reopened;
}

struct TypedRow {
  const char* Name;
  int Field;  // XEditId or YEditId
  const char* Text;
  double X;  // the point sent, None: nothing is sent
  double Y;
};

class OffsetTypingTest : public OffsetControlTest, public ::testing::WithParamInterface<TypedRow> {};

// Typed coordinates go out as a Point of floats with both coordinates; they
// are not clamped to the range.
TEST_P(OffsetTypingTest, EnterSendsANewPointWhenTheTypedValueDiffersAtAll) {
  const TypedRow& row = GetParam();
  AddOffset(0.5f, 0.25f);
  session.Doc.SetCurrentTime(3.0, 0);
  session.ClearWrites();
  TypeAndEnter(row.Field == XEditId ? xEdit : yEdit, row.Text);
  if (std::isnan(row.X)) {
    EXPECT_TRUE(session.Writes().empty());
    EXPECT_EQ(ValueOf(input), (std::pair<float, float>{0.5f, 0.25f}));
  } else {
    ASSERT_EQ(session.Writes().size(), 1u);
    EXPECT_EQ(session.Writes()[0].Time, 3.0);
    EXPECT_EQ(ValueOf(input), (std::pair<float, float>{static_cast<float>(row.X), static_cast<float>(row.Y)}));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, OffsetTypingTest,
                         ::testing::Values(TypedRow{"XKeepsY", XEditId, "0.75", 0.75, 0.25},
                                           TypedRow{"YKeepsX", YEditId, "-2", 0.5, -2.0},
                                           TypedRow{"NarrowedToFloat", XEditId, "0.123456789", 0.123456789, 0.25},
                                           TypedRow{"BelowTheShownDecimals", XEditId, "0.50001", 0.50001, 0.25},
                                           TypedRow{"OutsideTheRange", YEditId, "12.5", 0.5, 12.5},
                                           TypedRow{"EqualSendsNothing", XEditId, "0.5", None, None},
                                           TypedRow{"NotANumberSendsNothing", YEditId, "abc", None, None},
                                           TypedRow{"BeyondAFloatSendsNothing", XEditId, "1e300", None, None}),
                         [](const ::testing::TestParamInfo<TypedRow>& info) { return info.param.Name; });

TEST_F(OffsetControlTest, RejectedEntryShowsTheStoredValueAgain) {
  AddOffset(0.5f, 0.25f);
  TypeAndEnter(yEdit, "abc");
  EXPECT_EQ(TextOf(yEdit), "0.2500");
  TypeAndEnter(xEdit, "0.75");
  EXPECT_EQ(TextOf(xEdit), "0.7500");
}

// Leaving a field the user did not change must not replace the stored
// coordinate by the rounded one the field shows.
TEST_F(OffsetControlTest, LeavingAnUntouchedFieldSendsNothing) {
  AddOffset(0.123456f, 0.654321f);
  ASSERT_EQ(TextOf(xEdit), "0.1235");
  SetFocus(xEdit);
  qz::PressKey(VK_RETURN);
  SetFocus(yEdit);
  SetFocus(session.PanelWindow());
  session.Pump();
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(ValueOf(input), (std::pair<float, float>{0.123456f, 0.654321f}));

  // Tabbing on from a typed x still sends the finer y untouched.
  TypeAndEnter(xEdit, "0.2");
  EXPECT_EQ(ValueOf(input), (std::pair<float, float>{0.2f, 0.654321f}));
}

TEST_F(OffsetControlTest, HostValueEqualInBothCoordinatesIsNotShownAgain) {
  AddOffset(0.5f, 0.25f);
  SendMessageA(xEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0.9"));
  HostSends(0.5f, 0.25f);
  EXPECT_EQ(TextOf(xEdit), "0.9");
  HostSends(0.5f, 0.3f);
  EXPECT_EQ(TextOf(xEdit), "0.5000");
  EXPECT_EQ(TextOf(yEdit), "0.3000");
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(OffsetControlTest, OtherValuesFromTheHostAreIgnored) {
  AddOffset(0.5f, 0.25f);
  control->NotifyChanged(input, nullptr);
  AutoNumber number(new Number(0.9));
  control->NotifyChanged(input, number);
  EXPECT_EQ(TextOf(xEdit), "0.5000");
  EXPECT_EQ(TextOf(yEdit), "0.2500");
}

TEST_F(OffsetControlTest, AttributesAppliedAgainChangeTheDigitsAndTheName) {
  AddOffset(0.5f, 0.25f, {{qzc::tag::Decimals, 2}});
  EXPECT_EQ(TextOf(xEdit), "0.50");
  session.ApplyAttributes(control, {{qzc::tag::Decimals, 3}, {qzc::tag::ControlName, "Pivot"}});
  EXPECT_EQ(TextOf(yEdit), "0.250");
  EXPECT_EQ(TextOf(Labels()[2]), "Pivot");
}

struct RangeRow {
  const char* Name;
  float X;
  float Y;
  uint32_t XInRange;
  uint32_t YInRange;
};

class OffsetRangeTest : public OffsetControlTest, public ::testing::WithParamInterface<RangeRow> {};

TEST_P(OffsetRangeTest, EditInRangeTestsTheStoredCoordinateWithBoundsIncluded) {
  const RangeRow& row = GetParam();
  AddOffset(row.X, row.Y, {{qzc::tag::DisplayMin, -0.5}, {qzc::tag::DisplayMax, 0.75}});
  EXPECT_EQ(control->IsEditInRange(xEdit), row.XInRange);
  EXPECT_EQ(control->IsEditInRange(yEdit), row.YInRange);
  EXPECT_EQ(control->IsEditInRange(control->Wnd->m_hWnd), 1u);  // the base's answer
  SendMessageA(xEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
  EXPECT_EQ(control->IsEditInRange(xEdit), row.XInRange);  // the stored coordinate counts, not the text
}

INSTANTIATE_TEST_SUITE_P(Rows, OffsetRangeTest,
                         ::testing::Values(RangeRow{"OnTheBounds", -0.5f, 0.75f, 1, 1},
                                           RangeRow{"Inside", 0.0f, 0.5f, 1, 1},
                                           RangeRow{"JustOutside", -0.5001f, 0.7501f, 0, 0},
                                           RangeRow{"OneOutside", 2.0f, 0.1f, 0, 1}),
                         [](const ::testing::TestParamInfo<RangeRow>& info) { return info.param.Name; });

TEST_F(OffsetControlTest, DisconnectedInputKeepsTheShownPointForNoFrame) {
  AddOffset(0.5f, 0.25f);
  TypeAndEnter(xEdit, "0.625");
  Input* other = session.AddInput(tool, "Other", new Point(0.0f, 0.0f));
  session.ClearWrites();
  control->OnDisconnect(other);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Time, NoFrameTime);
  EXPECT_EQ(session.Writes()[0].Value, "(0.625, 0.25)");
}

}  // namespace
}  // namespace qzh
