#include <gtest/gtest.h>

#include <vector>

#include "qzsystem/dib.h"
#include "qzsystem/resources.h"
#include "range_fixture.h"

namespace qzh {
namespace {

using namespace qzc;

// 152 steps over 0 to 151: one step is one unit, one pixel.
const TagList UnitSteps{{tag::StepCount, 152}};

class RangeBarTest : public RangeFixture {
 protected:
  // The left edge of the drawn left handle, found by its outline; -1 if none.
  int LeftHandleAt() {
    int width = 0;
    std::vector<uint32_t> pixels = Capture(&width);
    for (int x = 0; x < BarRight; ++x)
      if (pixels[HandleRow * width + x] == 0x141414u) return x;
    return -1;
  }
};

TEST_F(RangeBarTest, APressWithoutMovingPostsNothingUntilTheRelease) {
  AddRange(20, 60);
  qz::StartRecording();
  Press(102);
  EXPECT_TRUE(Phases(qz::StopRecording()).empty());
  qz::StartRecording();
  Release(102);
  EXPECT_EQ(Phases(qz::StopRecording()), std::vector<int>{2});
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(session.Doc.RenderRequests().size(), 1u);
}

TEST_F(RangeBarTest, AMoveOnlyAtTheReleaseIsAGestureOfItsOwn) {
  AddRange(20, 60);
  qz::StartRecording();
  Press(102);
  Release(110);
  EXPECT_EQ(Phases(qz::StopRecording()), (std::vector<int>{1, 2}));
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  EXPECT_EQ(Low(), 28);
}

TEST_F(RangeBarTest, ARightClickDuringADragRestoresThePressValues) {
  AddRange(20, 60);
  Press(102);
  MoveTo(130);
  EXPECT_EQ(Low(), 48);
  qz::InjectMouseAt(bar, WM_RBUTTONDOWN, 130, HandleRow);
  session.Pump();
  EXPECT_EQ(Low(), 20);
  EXPECT_EQ(High(), 60);
  EXPECT_EQ(GetCapture(), nullptr);
  MoveTo(140);
  EXPECT_EQ(Low(), 20);
}

TEST_F(RangeBarTest, CtrlKeysResizeAboutTheCentreThenHomeAndEnd) {
  AddRange(20, 60, UnitSteps);
  SetFocus(bar);
  qz::SetKeyDown(VK_CONTROL, true);
  Stroke(VK_LEFT);
  EXPECT_EQ(Low(), 21);
  EXPECT_EQ(High(), 59);
  Stroke(VK_NEXT);
  EXPECT_EQ(Low(), 11);
  EXPECT_EQ(High(), 69);
  Stroke(VK_HOME);
  EXPECT_EQ(Low(), 40);
  EXPECT_EQ(High(), 40);
  Stroke(VK_END);
  EXPECT_EQ(Low(), 0);
  EXPECT_EQ(High(), 151);
  qz::SetKeyDown(VK_CONTROL, false);
}

TEST_F(RangeBarTest, KeysMoveTheSelectionKeepingItsSpan) {
  AddRange(20, 60, UnitSteps);
  SetFocus(bar);
  Stroke(VK_RIGHT);
  EXPECT_EQ(Low(), 21);
  EXPECT_EQ(High(), 61);
  Stroke(VK_PRIOR);
  EXPECT_EQ(Low(), 11);
  Stroke(VK_END);
  EXPECT_EQ(Low(), 111);
  EXPECT_EQ(High(), 151);
  Stroke(VK_HOME);
  EXPECT_EQ(Low(), 0);
  EXPECT_EQ(High(), 40);
  qz::StartRecording();
  Key(WM_KEYDOWN, VK_RIGHT);
  Key(WM_KEYDOWN, VK_RIGHT, true);
  Key(WM_KEYUP, VK_RIGHT);
  EXPECT_EQ(Phases(qz::StopRecording()), (std::vector<int>{1, 0, 2}));
}

TEST_F(RangeBarTest, WithKeepSpanCtrlDoesNothingToKeysAndHandlesMoveTheWhole) {
  AddRange(20, 60, {{tag::StepCount, 152}, {tag::RangeKeepSpan, 1}});
  SetFocus(bar);
  qz::SetKeyDown(VK_CONTROL, true);
  Stroke(VK_LEFT);
  qz::SetKeyDown(VK_CONTROL, false);
  EXPECT_EQ(Low(), 19);
  EXPECT_EQ(High(), 59);
  Press(78);  // on the left handle of 19 (x 81)
  MoveTo(88);
  Release(88);
  EXPECT_EQ(Low(), 29);
  EXPECT_EQ(High(), 69);
}

TEST_F(RangeBarTest, CtrlDragOfAnEndMovesTheOtherTheOppositeWay) {
  AddRange(20, 60);
  qz::SetKeyDown(VK_CONTROL, true);
  Press(125);
  MoveTo(135);
  Release(135);
  qz::SetKeyDown(VK_CONTROL, false);
  EXPECT_EQ(Low(), 10);
  EXPECT_EQ(High(), 70);
}

TEST_F(RangeBarTest, HoldingBesideTheSelectionStepsOnTheVirtualClock) {
  AddRange(50, 80, UnitSteps);
  qz::StartRecording();
  Press(82, 14);  // left of the selection, below the handles' middle
  EXPECT_EQ(Low(), 49);
  session.AdvanceClock(279);
  EXPECT_EQ(Low(), 49);
  session.AdvanceClock(1);
  EXPECT_EQ(Low(), 48);
  session.AdvanceClock(69);
  EXPECT_EQ(Low(), 48);
  session.AdvanceClock(1);
  EXPECT_EQ(Low(), 47);
  session.AdvanceClock(5000);
  EXPECT_EQ(Low(), 20);  // the low end reached the pointer at x 82
  EXPECT_EQ(High(), 50);
  Release(82, 14);
  const std::vector<int> phases = Phases(qz::StopRecording());
  ASSERT_EQ(phases.size(), 31u);
  EXPECT_EQ(phases.front(), 1);
  EXPECT_EQ(phases.back(), 2);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  // Nothing is left pending for the next gesture.
  qz::StartRecording();
  Press(95);
  MoveTo(100);
  Release(100);
  EXPECT_EQ(Phases(qz::StopRecording()), (std::vector<int>{1, 2}));
}

TEST_F(RangeBarTest, ReleasingStopsTheRepeat) {
  AddRange(50, 80, UnitSteps);
  Press(200, 14);
  Release(200, 14);
  session.AdvanceClock(1000);
  EXPECT_EQ(Low(), 51);
  EXPECT_EQ(High(), 81);
}

TEST_F(RangeBarTest, AnEmptyOuterRangeMakesTheWholeBarTheSelection) {
  AddRange(5, 5, {{tag::DisplayMin, 5.0}, {tag::DisplayMax, 5.0}});
  qz::StartRecording();
  Press(150);
  MoveTo(160);
  Release(160);
  EXPECT_EQ(Phases(qz::StopRecording()), (std::vector<int>{1, 2}));
  EXPECT_EQ(Low(), 5);
  EXPECT_EQ(High(), 5);
}

TEST_F(RangeBarTest, DragCursorsNameTheEnd) {
  AddRange(20, 60);
  MoveTo(79);
  EXPECT_EQ(qz::CurrentCursorId(), 276u);
  MoveTo(100);
  EXPECT_EQ(qz::CurrentCursorId(), 275u);
  MoveTo(125);
  EXPECT_EQ(qz::CurrentCursorId(), 277u);
  MoveTo(70, 14);
  EXPECT_EQ(qz::CurrentCursorId(), 32512u);
}

TEST_F(RangeBarTest, HandlesFollowADragWithoutResidue) {
  AddRange(20, 60);
  EXPECT_EQ(LeftHandleAt(), 82 - HandleWidth);
  Press(79);
  for (int x = 80; x <= 95; ++x) MoveTo(x);
  Release(95);
  EXPECT_EQ(Low(), 36);
  EXPECT_EQ(LeftHandleAt(), 98 - HandleWidth);
  // Left of the handle the bar is its background picture again.
  ResDIB background(100010, 0);
  ASSERT_TRUE(background.Load());
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  for (int x = 60; x < 98 - HandleWidth; ++x)
    EXPECT_EQ(pixels[HandleRow * width + x], background.Dib->Bits[HandleRow * background.Dib->Width + x] & 0xffffff)
        << "x " << x;
}

TEST_F(RangeBarTest, RepeatMarksFollowTheHighEndUpToTheLimit) {
  AddRange(20, 40, {{tag::RangeRepeatMarks, 1}, {tag::RangeRepeatLimit, 100.0}});
  ResDIB first(100015, 0);
  ResDIB second(100016, 0);
  ASSERT_TRUE(first.Load() && second.Load());
  const uint32_t one = first.Dib->Bits[first.Dib->Width * 7] & 0xffffff;
  const uint32_t two = second.Dib->Bits[second.Dib->Width * 7] & 0xffffff;
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  // Spans of 20 from 40: 41..60, 61..80, 81..100 and nothing beyond.
  const int row = 2 + 7;
  EXPECT_EQ(pixels[row * width + 62 + 50], one);
  EXPECT_EQ(pixels[row * width + 62 + 70], two);
  EXPECT_EQ(pixels[row * width + 62 + 90], one);
  EXPECT_NE(pixels[row * width + 62 + 110], one);
  EXPECT_NE(pixels[row * width + 62 + 110], two);
}

TEST_F(RangeBarTest, AnEmptySpanHasNoRepeatMarks) {
  AddRange(40, 40, {{tag::RangeRepeatMarks, 1}, {tag::RangeRepeatLimit, 100.0}});
  int width = 0;
  std::vector<uint32_t> pixels = Capture(&width);
  EXPECT_EQ(pixels.size() % width, 0u);  // painted, and did not hang
}

TEST_F(RangeBarTest, EditFieldsUseTheBarColoursAndLeavingOneCompletesTheEntry) {
  AddRange(20, 60);
  ResColour colours(100112);
  ASSERT_TRUE(colours.Load());
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(highEdit, &width, &height, &pixels));
  const COLORREF c = colours.Background;
  EXPECT_EQ(pixels[(height / 2) * width + width - 4], (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  SetFocus(lowEdit);
  SendMessageA(lowEdit, EM_SETSEL, 0, -1);
  qz::TypeText("25");
  Press(150, 30);  // the bar takes the focus
  Release(150, 30);
  EXPECT_EQ(GetFocus(), bar);
  EXPECT_EQ(Low(), 25);
}

}  // namespace
}  // namespace qzh
