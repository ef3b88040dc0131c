#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "module_fixture.h"
#include "qzsystem/resources.h"
#include "range_fixture.h"

namespace qzh {
namespace {

using namespace qzc;

class RangeControlTest : public RangeFixture {};

TEST_F(RangeControlTest, OpensAtTheBackgroundSizeWithTheFieldsInTheBar) {
  AddRange(20, 60);
  EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 34));
  EXPECT_TRUE(GetWindowLongA(bar, GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(SendMessageA(lowEdit, EM_GETLIMITTEXT, 0, 0), 25);
  EXPECT_EQ(TextOf(lowEdit), "20");
  EXPECT_EQ(TextOf(highEdit), "60");
  RECT rc;
  GetWindowRect(highEdit, &rc);
  POINT origin{0, 0};
  ClientToScreen(bar, &origin);
  CRect place(rc);
  place -= origin;
  EXPECT_EQ(place, CRect(224, 2, 274, 20));
}

TEST_F(RangeControlTest, DraggingTheSpanSendsBothEndsWithKindTwoLowFirst) {
  AddRange(20, 60);
  Press(102);
  MoveTo(112);
  MoveTo(92);
  Release(92);
  const std::vector<Sent> expected = {{"Start", 30, 2}, {"End", 70, 2}, {"Start", 10, 2}, {"End", 50, 2}};
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  EXPECT_EQ(TextOf(lowEdit), "10");
  EXPECT_EQ(TextOf(highEdit), "50");
}

// With Ctrl an end drag moves both ends about the centre: narrowing sends
// the low end first, widening the high end first.
TEST_F(RangeControlTest, NarrowingSendsTheLowEndFirstAndWideningTheHighEnd) {
  AddRange(20, 60);
  qz::SetKeyDown(VK_CONTROL, true);
  Press(79);  // on the low handle, 3 pixels left of the low end
  MoveTo(84);
  MoveTo(74);
  Release(74);
  qz::SetKeyDown(VK_CONTROL, false);
  const std::vector<Sent> expected = {{"Start", 25, 2}, {"End", 55, 2}, {"End", 65, 2}, {"Start", 15, 2}};
  EXPECT_EQ(sent, expected);
}

TEST_F(RangeControlTest, OneEndDraggedAloneCarriesItsOwnKind) {
  AddRange(20, 60);
  Press(79);
  MoveTo(89);
  Release(89);
  Press(125);  // on the high handle, 3 pixels right of the high end
  MoveTo(135);
  Release(135);
  const std::vector<Sent> expected = {{"Start", 30, 0}, {"End", 70, 1}};
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(session.Doc.UndoSteps(), (std::vector<std::string>{"Control Change", "Control Change"}));
}

TEST_F(RangeControlTest, IntegerEndMovedByLessThanHalfAUnitSnapsBack) {
  // 0 to 30.2 over 151 pixels: a pixel is 0.2; the low end 10 sits at x 112.
  AddRange(10, 20, {{tag::DisplayMax, 30.2}, {tag::Integer, 1}});
  Press(109);
  MoveTo(111);  // 10.4
  EXPECT_TRUE(sent.empty());
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  const uint32_t outline = 0x141414;
  EXPECT_EQ(pixels[HandleRow * width + 112 - HandleWidth], outline);  // the handle is back at 10
  MoveTo(112);                                                        // 10.6
  Release(112);
  EXPECT_EQ(sent, (std::vector<Sent>{{"Start", 11, 0}}));
  EXPECT_EQ(TextOf(lowEdit), "11");
}

struct TypedCase {
  const char* Name;
  long KeepSpan;
  double Low, High;
  bool IntoLow;
  const char* Typed;
  std::vector<Sent> Expected;
};

class RangeTyping : public RangeFixture, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(RangeTyping, SendsTheEndsWithTheirKinds) {
  const TypedCase& c = GetParam();
  AddRange(c.Low, c.High, {{tag::RangeKeepSpan, c.KeepSpan}});
  Type(c.IntoLow ? lowEdit : highEdit, c.Typed);
  EXPECT_EQ(sent, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    RangeControl, RangeTyping,
    ::testing::Values(
        TypedCase{"LowWithinTheRange", 0, 20, 60, true, "30", {{"Start", 30, 3}}},
        TypedCase{"LowAboveHighPushesIt", 0, 20, 60, true, "80", {{"End", 80, 3}, {"Start", 80, 3}}},
        TypedCase{"LowAboveHighestStopsThere", 0, 20, 60, true, "500", {{"End", 151, 3}, {"Start", 151, 3}}},
        TypedCase{"HighBelowLowStopsAtIt", 0, 20, 60, false, "5", {{"End", 20, 4}}},
        TypedCase{"KeepSpanLowAgainstHighest", 1, 100, 140, true, "120", {{"End", 151, 5}, {"Start", 111, 5}}},
        TypedCase{"KeepSpanHighAgainstLowest", 1, 20, 60, false, "30", {{"Start", 0, 5}, {"End", 40, 5}}},
        TypedCase{"KeepSpanLowWithinTheRange", 1, 20, 60, true, "30", {{"Start", 30, 3}}},
        TypedCase{"KeepSpanLowAboveHighPushesIt", 1, 20, 60, true, "70", {{"End", 70, 3}, {"Start", 70, 3}}}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return info.param.Name; });

TEST_F(RangeControlTest, AnUnchangedTypedValueWritesNothingButRefreshes) {
  AddRange(20, 60);
  SetFocus(highEdit);
  SendMessageA(highEdit, EM_SETSEL, 0, -1);
  qz::TypeText("60.2");
  Type(lowEdit, "20.4");
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(TextOf(lowEdit), "20");
  EXPECT_EQ(TextOf(highEdit), "60");
}

struct RefitCase {
  const char* Name;
  long KeepSpan;
  double Lowest, Highest;
  const char* LowShown;
  const char* HighShown;
};

class RangeRefit : public RangeFixture, public ::testing::WithParamInterface<RefitCase> {};

TEST_P(RangeRefit, ClampsTheSelectionIntoTheNewRange) {
  const RefitCase& c = GetParam();
  AddRange(100, 140, {{tag::RangeKeepSpan, c.KeepSpan}});
  session.ApplyAttributes(control, {{tag::DisplayMin, c.Lowest}, {tag::DisplayMax, c.Highest}});
  EXPECT_EQ(TextOf(lowEdit), c.LowShown);
  EXPECT_EQ(TextOf(highEdit), c.HighShown);
  EXPECT_TRUE(sent.empty());
}

INSTANTIATE_TEST_SUITE_P(RangeControl, RangeRefit,
                         ::testing::Values(RefitCase{"BelowEachEndAlone", 0, 0, 50, "50", "50"},
                                           RefitCase{"BelowKeepingTheSpan", 1, 0, 50, "10", "50"},
                                           RefitCase{"AboveEachEndAlone", 0, 200, 300, "200", "200"},
                                           RefitCase{"AboveKeepingTheSpan", 1, 200, 300, "200", "240"}),
                         [](const ::testing::TestParamInfo<RefitCase>& info) { return info.param.Name; });

TEST_F(RangeControlTest, AnUpdateChangingNothingShownSkipsExactlyOneDisplay) {
  AddRange(20, 60);
  session.ApplyAttributes(control, {{tag::LowEnd, 30.0}});
  EXPECT_EQ(TextOf(lowEdit), "20");
  HostWrites(highInput, 70);
  EXPECT_EQ(TextOf(lowEdit), "30");
  EXPECT_EQ(TextOf(highEdit), "70");
  // A change the bar draws for shows at once.
  session.ApplyAttributes(control, {{tag::LowEnd, 40.0}, {tag::RangeRepeatMarks, 1}});
  EXPECT_EQ(TextOf(lowEdit), "40");
  EXPECT_EQ(sent, (std::vector<Sent>{{"End", 70, -1}}));  // the host's own write only
}

TEST_F(RangeControlTest, TheMiddleOfThePanelBelongsToTheHighInput) {
  AddRange(20, 60);
  RECT client;
  GetClientRect(control->Wnd->m_hWnd, &client);
  const int half = client.right / 2;
  EXPECT_EQ(control->GetInputAt(half - 1, 0), lowInput);
  EXPECT_EQ(control->GetInputAt(half, 0), highInput);
  EXPECT_EQ(control->GetInputAt(-5, 900), lowInput);
}

TEST_F(RangeControlTest, OnlyTheFirstChangeOfAGestureOpensAnUndoStep) {
  AddRange(20, 60);
  qz::StartRecording();
  Press(102);
  MoveTo(104);
  MoveTo(106);
  MoveTo(108);
  Release(108);
  EXPECT_EQ(Phases(qz::StopRecording()), (std::vector<int>{1, 0, 0, 2}));
  EXPECT_EQ(sent.size(), 6u);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(Low(), 20);
  EXPECT_EQ(High(), 60);
  // A key press is a gesture of its own.
  SetFocus(bar);
  Stroke(VK_RIGHT);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  EXPECT_NEAR(High(), 61.52, 1e-9);  // the default 100 steps over 0 to 151
}

TEST_F(RangeControlTest, ReadOnlyHidesTheNumbersAndDisablesTheFields) {
  AddRange(20, 60, {{tag::ReadOnly, 1}, {tag::RangeTextFlags, 5}});
  EXPECT_FALSE(IsWindowEnabled(lowEdit));
  EXPECT_FALSE(IsWindowEnabled(highEdit));
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  // No text colour anywhere in the row of the numbers below the bar.
  for (int x = 72; x < 203; ++x) EXPECT_NE(pixels[20 * width + x], 0xe1e1e1u) << "x " << x;
  Press(102);
  MoveTo(120);
  Release(120);
  SetFocus(bar);
  Stroke(VK_END);
  EXPECT_TRUE(sent.empty());
  session.ApplyAttributes(control, {{tag::ReadOnly, 0}});
  EXPECT_TRUE(IsWindowEnabled(lowEdit));
}

TEST_F(RangeControlTest, TheNumbersShowTheSpanAndTheInnerValues) {
  AddRange(20, 60,
           {{tag::Integer, 1}, {tag::RangeInnerLow, 8.0}, {tag::RangeInnerHigh, 8.0}, {tag::RangeTextFlags, 5}});
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  int lit = 0;
  for (int x = 72; x < 203; ++x) lit += pixels[20 * width + x] == 0xe1e1e1u;
  EXPECT_GT(lit, 0);
}

TEST_F(RangeControlTest, NegativeDecimalsGiveCoarserStepsAndWholeNumbers) {
  AddRange(50, 100, {{tag::Decimals, -1}});
  EXPECT_EQ(TextOf(lowEdit), "50");
  HostWrites(lowInput, 54);
  Type(highEdit, "104");  // below the precision of 10: nothing written
  EXPECT_TRUE(sent.size() == 1u && sent[0].Input == "Start");
  EXPECT_EQ(TextOf(lowEdit), "50");
  HostWrites(lowInput, 56);
  EXPECT_EQ(TextOf(lowEdit), "56");
}

TEST_F(RangeControlTest, NegativeValuesRoundToTheNearestWholeNumber) {
  AddRange(-2.7, 10, {{tag::DisplayMin, -10.0}, {tag::Integer, 1}, {tag::RangeTextFlags, 1}});
  EXPECT_EQ(TextOf(lowEdit), "-3");
  EXPECT_EQ(TextOf(highEdit), "10");
}

// As a host that hands a newly connected input's value to the open control.
TEST_F(RangeControlTest, ARepeatedValueIsShownOnceAndWritesNothing) {
  AddRange(20, 60);
  AutoNumber same(new Number(20.0));
  control->NotifyChanged(lowInput, same);
  SetFocus(lowEdit);
  SendMessageA(lowEdit, EM_SETSEL, 0, -1);
  qz::TypeText("33");
  control->NotifyChanged(lowInput, same);
  EXPECT_EQ(TextOf(lowEdit), "33");  // not redrawn
  EXPECT_TRUE(sent.empty());
}

TEST_F(RangeControlTest, ValuesThatAreNotFiniteNumbersAreIgnored) {
  AddRange(20, 60);
  AutoNumber nan(new Number(std::nan("")));
  control->NotifyChanged(lowInput, nan);
  AutoParameter text(new Text("7"));
  control->NotifyChanged(highInput, text);
  session.ApplyAttributes(control, {{tag::DisplayMax, std::nan("")}, {tag::LowEnd, INFINITY}});
  EXPECT_EQ(TextOf(lowEdit), "20");
  EXPECT_EQ(TextOf(highEdit), "60");
  Type(lowEdit, "nan");
  EXPECT_TRUE(sent.empty());
}

// A label of 300 characters is kept to its first 127: a second one that
// differs only after them changes nothing shown.
TEST_F(RangeControlTest, LongTextsAreCutTo127Characters) {
  AddRange(20, 60);
  const std::string longLabel(127, 'A');
  session.ApplyAttributes(control, {{tag::RangeLowLabel, (longLabel + std::string(173, 'B')).c_str()}});
  session.ApplyAttributes(control, {{tag::RangeLowLabel, (longLabel + "C").c_str()}, {tag::LowEnd, 30.0}});
  EXPECT_EQ(TextOf(lowEdit), "20");  // the display was skipped: nothing the bar draws changed
}

TEST_F(RangeControlTest, UseAttributesZeroLeavesTheControlAsItWas) {
  AddRange(20, 60);
  session.ApplyAttributes(control, {{tag::UseAttributes, 0}, {tag::DisplayMax, 10.0}, {tag::LowEnd, 5.0}});
  HostWrites(highInput, 100);
  EXPECT_EQ(TextOf(lowEdit), "20");
  EXPECT_EQ(TextOf(highEdit), "100");
}

TEST_F(RangeControlTest, DisconnectWritesEachEndForNoFrame) {
  AddRange(20, 60);
  control->OnDisconnect(highInput);
  control->OnDisconnect(lowInput);
  EXPECT_EQ(sent, (std::vector<Sent>{}));  // the inputs already hold those values
  HostWrites(lowInput, 20.00001);          // not shown at the precision, but kept
  sent.clear();
  control->OnDisconnect(lowInput);
  EXPECT_EQ(sent, (std::vector<Sent>{}));  // the input keeps its own value exactly
}

// A decimals attribute of two thousand million shows 15 digits, in no time.
TEST_F(RangeControlTest, HugeDecimalsShowAtMostFifteenDigits) {
  AddRange(20.5, 60.25, {{tag::Decimals, 2000000000}, {tag::RangeTextFlags, 5}});
  EXPECT_EQ(TextOf(lowEdit), "20.500000000000000");
  HostWrites(highInput, 70.125);
  EXPECT_EQ(TextOf(highEdit), "70.125000000000000");
}

// Run with an empty resource store: a module loaded afresh finds none of
// its pictures or layouts and uses its start-up layout.
class RangeControlWithoutResources : public RangeFixture {
 protected:
  static void SetUpTestSuite() {
    ModuleEnvironment::Instance().Unload();
    ASSERT_NE(mkdtemp(Folder), nullptr);
    SetResourceDir(Folder);
    ASSERT_TRUE(ModuleEnvironment::Instance().Load());
  }
  static void TearDownTestSuite() {
    ModuleEnvironment::Instance().Unload();
    SetResourceDir(nullptr);
    rmdir(Folder);
    ASSERT_TRUE(ModuleEnvironment::Instance().Load());
  }
  static inline char Folder[] = "/tmp/qz-range-noresXXXXXX";
};

TEST_F(RangeControlWithoutResources, KeepsItsLayoutAndStillDrags) {
  AddRange(20, 60);
  EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 34));
  RECT rc;
  GetWindowRect(lowEdit, &rc);
  POINT origin{0, 0};
  ClientToScreen(bar, &origin);
  CRect place(rc);
  place -= origin;
  EXPECT_EQ(place, CRect(2, 2, 52, 20));
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  EXPECT_EQ(pixels[30 * width + 150], 0x404040u);
  Press(102);
  MoveTo(112);
  Release(112);
  EXPECT_EQ(sent, (std::vector<Sent>{{"Start", 30, 2}, {"End", 70, 2}}));
}

}  // namespace
}  // namespace qzh
