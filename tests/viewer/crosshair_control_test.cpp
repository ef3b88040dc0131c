#include <gtest/gtest.h>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "viewer_fixture.h"

namespace qzh {
namespace {

class CrosshairTest : public ViewerControlTest {
 protected:
  PreviewControl* AddMarker(Input* input, long shape) {
    return AddControl("CrosshairControl", {input}, TagList{{qzc::tag::MarkerShape, static_cast<intptr_t>(shape)}});
  }
};

TEST_F(CrosshairTest, IsRegisteredAsTheViewerControlXHrC) {
  PreviewControl* control = viewer.AddViewerControl("CrosshairControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("XHrC"));
  EXPECT_EQ(CreatePanelControl("CrosshairControl"), nullptr);
}

TEST_F(CrosshairTest, PlusArmsReachSixteenPixelsUpAndLeftFifteenDownAndRight) {
  AddMarker(AddPoint("Centre", 0.5f, 0.5f), 0);
  const Picture shown = Capture();
  const POINT c = At(0.5, 0.5);
  for (int d = -16; d <= 15; ++d) {
    EXPECT_EQ(shown.At(Offset(c, 0, d)), HandlePixel) << d;
    EXPECT_EQ(shown.At(Offset(c, d, 0)), HandlePixel) << d;
  }
  for (POINT beyond : {Offset(c, 0, -17), Offset(c, 0, 16), Offset(c, -17, 0), Offset(c, 16, 0), Offset(c, 1, 1)})
    EXPECT_EQ(shown.At(beyond), bare.At(beyond)) << beyond.x << "," << beyond.y;
}

TEST_F(CrosshairTest, DiagonalCrossPaintsTwentyThreePixelsOnEachDiagonal) {
  AddMarker(AddPoint("Centre", 0.5f, 0.5f), 1);
  const Picture shown = Capture();
  const POINT c = At(0.5, 0.5);
  for (int d = -11; d <= 11; ++d) {
    EXPECT_EQ(shown.At(Offset(c, d, d)), HandlePixel) << d;
    EXPECT_EQ(shown.At(Offset(c, d, -d)), HandlePixel) << d;
  }
  for (POINT beyond : {Offset(c, 12, 12), Offset(c, -12, -12), Offset(c, 12, -12), Offset(c, -12, 12), Offset(c, 1, 0)})
    EXPECT_EQ(shown.At(beyond), bare.At(beyond)) << beyond.x << "," << beyond.y;
}

TEST_F(CrosshairTest, SquareAndDotAreThePlatformsOutlineAndFilledEllipse) {
  Input* position = AddPoint("Centre", 0.3f, 0.6f);
  PreviewControl* control = AddMarker(position, 2);
  const POINT c = At(0.3, 0.6);
  auto expected = [&](auto figure) {
    return DrawnOver(bare, [&](HDC dc) {
      HPEN pen = CreatePen(PS_SOLID, 1, Viewer::HandleColour);
      HGDIOBJ old = SelectObject(dc, pen);
      figure(dc);
      SelectObject(dc, old);
      DeleteObject(pen);
    });
  };
  EXPECT_EQ(Capture().Pixels, expected([&](HDC dc) {
                                MoveToEx(dc, c.x - 2, c.y - 2, nullptr);
                                LineTo(dc, c.x + 2, c.y - 2);
                                LineTo(dc, c.x + 2, c.y + 2);
                                LineTo(dc, c.x - 2, c.y + 2);
                                LineTo(dc, c.x - 2, c.y - 2);
                              }).Pixels);
  viewer.ApplyAttributes(control, {{qzc::tag::MarkerShape, 3}});
  EXPECT_TRUE(ViewerNeedsPaint());
  // The dot takes the paint DC's brush, white on a fresh DC.
  EXPECT_EQ(Capture().Pixels, expected([&](HDC dc) { Ellipse(dc, c.x - 3, c.y - 3, c.x + 3, c.y + 3); }).Pixels);
}

// A shape outside 0-3 draws nothing, but the marker can still be found,
// dragged and nudged.
TEST_F(CrosshairTest, UnknownShapeDrawsNothingAndStillDragsAndNudges) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddMarker(position, 4);
  EXPECT_EQ(Differences(Capture(), bare), "");
  const POINT to = At(0.7, 0.3);
  Drag(At(0.5, 0.5), to);
  EXPECT_EQ(PointOf(position), PositionOf(to));
  EXPECT_EQ(Differences(Capture(), bare), "");
  qz::PressKey(VK_RIGHT);
  EXPECT_FLOAT_EQ(PointOf(position).first, PositionOf(to).first + 1.0f / 320.0f);
}

TEST_F(CrosshairTest, DragWritesThePointerAndIsOneUndoStep) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddMarker(position, 0);
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  session.ClearWrites();
  const POINT to = At(0.25, 0.75);
  EXPECT_EQ(viewer.InputAt(Offset(At(0.5, 0.5), 4, -4)), position);
  EXPECT_EQ(viewer.InputAt(Offset(At(0.5, 0.5), 5, 0)), nullptr);
  Drag(Offset(At(0.5, 0.5), 4, -4), to, 3);
  EXPECT_EQ(session.Writes().size(), 3u);
  EXPECT_EQ(PointOf(position), PositionOf(to));
  EXPECT_EQ(control->DragMode, 0u);
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  session.Doc.Undo();
  EXPECT_EQ(PointOf(position), (std::pair<float, float>{0.5f, 0.5f}));
}

TEST_F(CrosshairTest, ShiftAndCtrlTogetherNudgeByOnePixel) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddMarker(position, 1);
  viewer.Focus();
  qz::SetKeyDown(VK_SHIFT, true);
  qz::SetKeyDown(VK_CONTROL, true);
  qz::PressKey(VK_UP);
  EXPECT_FLOAT_EQ(PointOf(position).second, 0.5f - 1.0f / 320.0f);
  qz::SetKeyDown(VK_CONTROL, false);
  qz::PressKey(VK_LEFT);
  EXPECT_FLOAT_EQ(PointOf(position).first, 0.5f - 10.0f / 320.0f);
}

// The marker's value (0.5) is not a pixel centre, so the first move onto the
// pressed pixel changes the value within the same device pixel: the rubber
// band already stands there and is left as it is, in whatever mode the DC
// has, instead of being drawn once more.
TEST_F(CrosshairTest, MoveWithinTheDrawnPixelDrawsNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddMarker(position, 0);
  const POINT c = At(0.5, 0.5);
  Press(c);
  const Picture pressed = Capture();
  HDC dc = viewer.DragDC();
  ASSERT_NE(dc, nullptr);
  SetROP2(dc, R2_NOT);
  MoveTo(c);
  EXPECT_EQ(PointOf(position), PositionOf(c));
  EXPECT_EQ(GetROP2(dc), R2_NOT);
  EXPECT_EQ(Differences(Capture(), pressed), "");
  Release(c);
}

struct EraseRow {
  const char* Name;
  long Shape;
};

class CrosshairEraseTest : public CrosshairTest, public ::testing::WithParamInterface<EraseRow> {};

TEST_P(CrosshairEraseTest, DragLeavesExactlyAFreshDrawingOfTheMarker) {
  AddMarker(AddPoint("Centre", 0.5f, 0.5f), GetParam().Shape);
  const POINT from = At(0.5, 0.5);
  const POINT to = At(0.2, 0.7);
  Press(from);
  EXPECT_NE(Capture().Pixels, bare.Pixels);  // the rubber band
  for (POINT p : {from, Offset(from, 1, 0), Offset(from, 40, 10), to, Offset(to, 0, 1), to}) MoveTo(p);
  Release(to);
  const Picture dragged = Capture();
  EXPECT_EQ(Differences(dragged, Fresh()), "");
  EXPECT_NE(dragged.Pixels, bare.Pixels);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CrosshairEraseTest,
                         ::testing::Values(EraseRow{"Plus", 0}, EraseRow{"Cross", 1}, EraseRow{"Square", 2},
                                           EraseRow{"Dot", 3}),
                         [](const ::testing::TestParamInfo<EraseRow>& info) { return info.param.Name; });

TEST_F(CrosshairTest, MoveOnTheSameSpotAllocatesNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddMarker(position, 0);
  const POINT spot = Offset(At(0.5, 0.5), 3, 2);
  Press(At(0.5, 0.5));
  MoveTo(spot);
  session.ClearWrites();
  PreviewInfo& info = viewer.Info();
  info.SetMouse(spot.x, spot.y);
  const long before = AllocationCount().load();
  control->ControlMove(viewer.DragDC(), &info, CPoint(spot));
  EXPECT_EQ(AllocationCount().load() - before, 0);
  EXPECT_TRUE(session.Writes().empty());
  Release(spot);
}

TEST_F(CrosshairTest, ValuesOfTheWrongKindChangeNothing) {
  Input* position = AddPoint("Centre", 0.25f, 0.5f);
  PreviewControl* control = AddMarker(position, 2);
  control->NotifyChanged(position, nullptr);
  AutoParameter number(new Number(0.75));
  control->NotifyChanged(position, number);
  EXPECT_FALSE(ViewerNeedsPaint());
  EXPECT_EQ(viewer.InputAt(At(0.25, 0.5)), position);
}

}  // namespace
}  // namespace qzh
