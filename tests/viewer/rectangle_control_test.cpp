#include <gtest/gtest.h>

#include <cmath>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "viewer_fixture.h"

namespace qzh {
namespace {

// The sample picture is 320 x 240 at (40, 30) on the viewer: a rectangle of
// width 0.5 and height 0.5 around the image centre spans 160 x 120 pixels.
class RectangleTest : public ViewerControlTest {
 protected:
  void SetUp() override {
    ViewerControlTest::SetUp();
    width = AddNumber("Width", 0.5, 0);
    height = AddNumber("Height", 0.5, 1);
  }
  PreviewControl* AddRectangle(TagList tags = {}) { return AddControl("RectangleControl", {width, height}, tags); }
  // The platform's drawing of a closed outline through `corners`.
  Picture Outline(std::vector<POINT> corners, int style = PS_SOLID) {
    return DrawnOver(bare, [&](HDC dc) {
      SetBkMode(dc, TRANSPARENT);
      HPEN pen = CreatePen(style, 1, Viewer::HandleColour);
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, corners[0].x, corners[0].y, nullptr);
      for (size_t i = 1; i <= corners.size(); ++i) LineTo(dc, corners[i % 4].x, corners[i % 4].y);
      SelectObject(dc, old);
      DeleteObject(pen);
    });
  }

  Input* width = nullptr;
  Input* height = nullptr;
};

TEST_F(RectangleTest, IsRegisteredAsTheViewerControlRecC) {
  PreviewControl* control = viewer.AddViewerControl("RectangleControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("RecC"));
  EXPECT_EQ(CreatePanelControl("RectangleControl"), nullptr);
}

struct CornerRow {
  const char* Name;
  double Angle;
  POINT Corners[4];
};

class RectangleCornerTest : public RectangleTest, public ::testing::WithParamInterface<CornerRow> {};

// Corner 1 is (px + hw cos a + hh sin a, py + hh cos a - hw sin a), each
// coordinate truncated; a positive angle turns counter-clockwise on screen.
TEST_P(RectangleCornerTest, OutlineRunsThroughTheTurnedCorners) {
  const CornerRow& row = GetParam();
  AddRectangle(TagList{{qzc::tag::RectangleAngle, row.Angle}});
  const Picture shown = Capture();
  for (const POINT& corner : row.Corners) EXPECT_EQ(shown.At(corner), HandlePixel) << corner.x << "," << corner.y;
  EXPECT_EQ(Differences(shown, Outline({row.Corners[0], row.Corners[1], row.Corners[2], row.Corners[3]})), "");
}

INSTANTIATE_TEST_SUITE_P(Angles, RectangleCornerTest,
                         ::testing::Values(CornerRow{"Level", 0.0, {{280, 210}, {280, 90}, {120, 90}, {120, 210}}},
                                           CornerRow{
                                               "ThirtyDegrees", 30.0, {{299, 161}, {239, 58}, {100, 138}, {160, 241}}}),
                         [](const ::testing::TestParamInfo<CornerRow>& info) { return info.param.Name; });

struct EdgeRow {
  const char* Name;
  double Angle;
  POINT Press;
  int Index;  // the input answering command 7: 0 width, 1 height, -1 none
};

class RectangleEdgeTest : public RectangleTest, public ::testing::WithParamInterface<EdgeRow> {};

TEST_P(RectangleEdgeTest, EdgesAnswerWithinTheToleranceAndTheHeightWinsAtCorners) {
  const EdgeRow& row = GetParam();
  AddRectangle(TagList{{qzc::tag::RectangleAngle, row.Angle}});
  Input* expected = row.Index == 0 ? width : row.Index == 1 ? height : nullptr;
  EXPECT_EQ(viewer.InputAt(row.Press), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, RectangleEdgeTest,
    ::testing::Values(EdgeRow{"RightEdge", 0, {280, 150}, 0}, EdgeRow{"FourPastRightEdge", 0, {284, 150}, 0},
                      EdgeRow{"FivePastRightEdge", 0, {285, 150}, -1}, EdgeRow{"FourInsideLeftEdge", 0, {124, 150}, 0},
                      EdgeRow{"TopEdge", 0, {200, 90}, 1}, EdgeRow{"BottomEdge", 0, {200, 210}, 1},
                      EdgeRow{"Corner", 0, {280, 210}, 1}, EdgeRow{"PastTheCorner", 0, {280, 215}, -1},
                      EdgeRow{"Inside", 0, {200, 150}, -1}, EdgeRow{"TurnedRightEdge", 30, {269, 110}, 0},
                      EdgeRow{"TurnedCorner", 30, {299, 161}, 1}),
    [](const ::testing::TestParamInfo<EdgeRow>& info) { return info.param.Name; });

TEST_F(RectangleTest, EdgeDragSendsTwiceThePointersDistanceFromTheCentre) {
  AddRectangle();
  session.ClearWrites();
  Drag(POINT{280, 150}, POINT{300, 150});
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>(4, "Width")));
  EXPECT_NEAR(NumberOf(width), 2 * 100.5 / 320, 1e-6);
  session.ClearWrites();
  Drag(POINT{200, 90}, POINT{200, 70}, 2);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>(2, "Height")));
  EXPECT_NEAR(NumberOf(height), 2 * 79.5 / 240, 1e-6);
  session.ClearWrites();
  Drag(POINT{200 + 100, 150 + 80}, POINT{200 + 50, 150 + 30}, 1);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>{"Width", "Height"}));
  EXPECT_NEAR(NumberOf(width), 2 * 50.5 / 320, 1e-6);
  EXPECT_NEAR(NumberOf(height), 2 * 30.5 / 240, 1e-6);
}

TEST_F(RectangleTest, DragIsOneUndoStepAndLeavesAFreshDrawing) {
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectangleAngle, 30.0}});
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  Drag(POINT{299, 161}, POINT{330, 200}, 5);
  EXPECT_EQ(control->DragMode, 0u);
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  const Picture dragged = Capture();
  EXPECT_EQ(Differences(dragged, Fresh()), "");
  session.Doc.Undo();
  EXPECT_DOUBLE_EQ(NumberOf(width), 0.5);
  EXPECT_DOUBLE_EQ(NumberOf(height), 0.5);
}

struct PenRow {
  const char* Name;
  int Style;
  int Drawn;  // the style the outline is drawn with
};

class RectanglePenTest : public RectangleTest, public ::testing::WithParamInterface<PenRow> {};

// After every move the viewer shows what a repaint in the middle of the drag
// shows: the old outline is rubbed out exactly, whatever the pen's style.
TEST_P(RectanglePenTest, RubberBandIsErasedExactlyAtEveryMove) {
  const PenRow& row = GetParam();
  AddRectangle(TagList{{qzc::tag::RectanglePenStyle, row.Style}});
  EXPECT_EQ(Differences(Capture(), Outline({{280, 210}, {280, 90}, {120, 90}, {120, 210}}, row.Drawn)), "");
  Press(POINT{280, 150});
  for (POINT p : {POINT{281, 150}, POINT{310, 170}, POINT{310, 170}, POINT{230, 100}, POINT{350, 120}}) {
    MoveTo(p);
    const Picture band = Capture();
    EXPECT_EQ(Differences(band, Fresh()), "") << p.x << "," << p.y;
  }
  Release(POINT{350, 120});
  const Picture released = Capture();
  EXPECT_EQ(Differences(released, Fresh()), "");
}

INSTANTIATE_TEST_SUITE_P(Styles, RectanglePenTest,
                         ::testing::Values(PenRow{"Solid", PS_SOLID, PS_SOLID}, PenRow{"Dotted", PS_DOT, PS_DOT},
                                           PenRow{"Dashed", PS_DASH, PS_DASH}, PenRow{"Unknown", 99, PS_SOLID}),
                         [](const ::testing::TestParamInfo<PenRow>& info) { return info.param.Name; });

// With the ratio 2 locked, a height edge dragged to a half-height of 0.1
// asks for a width of 2 x max(0, 2 x 0.1) = 0.4; the height is not written
// but follows the width at the ratio.
TEST_F(RectangleTest, AspectLockedHeightDragSendsOnlyTheWidth) {
  const POINT c = At(0.5, 0.5);
  const auto [cx, cy] = PositionOf(c);
  SetNumber(width, 0.6);
  SetNumber(height, 0.3);
  AddRectangle(TagList{{qzc::tag::RectangleCentreX, static_cast<double>(cx)},
                       {qzc::tag::RectangleCentreY, static_cast<double>(cy)},
                       {qzc::tag::RectangleAspectRatio, 2.0}});
  session.ClearWrites();
  Drag(Offset(c, 0, -36), Offset(c, 0, -24), 2);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>(2, "Width")));
  EXPECT_NEAR(NumberOf(width), 0.4, 1e-6);
  EXPECT_DOUBLE_EQ(NumberOf(height), 0.3);
  // The outline is now 2 x 64 by 2 x 24 pixels, give or take the truncation
  // of a float's rounding.
  const Picture shown = Fresh();
  EXPECT_TRUE(shown.At(Offset(c, 0, -24)) == HandlePixel || shown.At(Offset(c, 0, -25)) == HandlePixel);
  EXPECT_TRUE(shown.At(Offset(c, 64, 0)) == HandlePixel || shown.At(Offset(c, 63, 0)) == HandlePixel);
  EXPECT_EQ(shown.At(Offset(c, 0, -36)), bare.At(Offset(c, 0, -36)));
  EXPECT_EQ(shown.At(Offset(c, 96, 0)), bare.At(Offset(c, 96, 0)));
}

TEST_F(RectangleTest, AspectLockHoldsForTheControlsLife) {
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectangleAspectRatio, 2.0}});
  viewer.ApplyAttributes(control, {{qzc::tag::RectangleAngle, 0.0}});
  SetNumber(height, 0.25);  // the width follows: 0.5 / 320 wide, 0.25 high
  const Picture shown = Fresh();
  EXPECT_EQ(Differences(shown, Outline({{280, 180}, {280, 120}, {120, 120}, {120, 180}})), "");
  session.ClearWrites();
  // Either edge grabs both; only the width is sent.
  Drag(POINT{280, 150}, POINT{290, 150}, 1);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>{"Width"}));
}

TEST_F(RectangleTest, ABadRatioDoesNotLock) {
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectangleAspectRatio, 0.0}});
  viewer.ApplyAttributes(control, {{qzc::tag::RectangleAspectRatio, NAN}});
  session.ClearWrites();
  Drag(POINT{200, 90}, POINT{200, 80}, 1);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>{"Height"}));
}

TEST_F(RectangleTest, CentreAndAngleAreReadFromTheirInputsAtEveryDrawing) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  Input* angle = AddNumber("Angle", 0.0, 7);
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectangleCentreInput, static_cast<const void*>(centre)},
                                                 {qzc::tag::RectangleAngleInput, static_cast<const void*>(angle)},
                                                 {qzc::tag::RectangleAngle, 45.0}});
  EXPECT_EQ(Differences(Capture(), Outline({{200, 210}, {200, 90}, {40, 90}, {40, 210}})), "");
  SetPoint(centre, 0.5f, 0.5f);
  EXPECT_TRUE(ViewerNeedsPaint());
  SetNumber(angle, 30.0);
  EXPECT_EQ(Differences(Capture(), Outline({{299, 161}, {239, 58}, {100, 138}, {160, 241}})), "");
  // The host tells the controls on an input's list that it goes away: the
  // rectangle keeps the centre and angle it last drew.
  ReleasePreviewControls(centre);
  ReleasePreviewControls(angle);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  EXPECT_EQ(angle->Controls.Count(), 0u);
  SetPoint(centre, 0.25f, 0.25f);
  EXPECT_EQ(Differences(Fresh(), Outline({{299, 161}, {239, 58}, {100, 138}, {160, 241}})), "");
  viewer.RemoveViewerControl(control);
  SetNumber(angle, 10.0);
}

TEST_F(RectangleTest, DeletedRectangleLeavesItsCentreAndAngleInputs) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  Input* angle = AddNumber("Angle", 0.0, 7);
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectangleCentreInput, static_cast<const void*>(centre)},
                                                 {qzc::tag::RectangleAngleInput, static_cast<const void*>(angle)}});
  viewer.RemoveViewerControl(control);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  EXPECT_EQ(angle->Controls.Count(), 0u);
  SetPoint(centre, 0.5f, 0.5f);
  SetNumber(angle, 10.0);
}

TEST_F(RectangleTest, SizeWrittenElsewhereRedrawsTheRectangle) {
  AddRectangle();
  ASSERT_FALSE(ViewerNeedsPaint());
  SetNumber(width, 0.25);
  EXPECT_TRUE(ViewerNeedsPaint());
  EXPECT_EQ(Differences(Capture(), Outline({{240, 210}, {240, 90}, {160, 90}, {160, 210}})), "");
}

TEST_F(RectangleTest, ValuesThatCannotBeUsedChangeNothing) {
  PreviewControl* control = AddRectangle();
  Input* other = AddNumber("Other", 0.1, 2);
  control->AddInput(other);
  session.Pump();
  const Picture before = Capture();
  SetNumber(other, 0.9);
  for (double bad : {NAN, INFINITY}) SetNumber(width, bad);
  SetValue(height, new Point(0.1f, 0.1f));
  control->NotifyChanged(width, nullptr);
  EXPECT_EQ(Differences(Fresh(), before), "");
}

TEST_F(RectangleTest, DragMoveOnTheSameSpotAllocatesNothing) {
  PreviewControl* control = AddRectangle(TagList{{qzc::tag::RectanglePenStyle, PS_DOT}});
  Press(POINT{280, 150});
  MoveTo(POINT{290, 150});
  session.ClearWrites();
  PreviewInfo& info = viewer.Info();
  info.SetMouse(290, 150);
  const long before = AllocationCount().load();
  control->ControlMove(viewer.DragDC(), &info, CPoint(290, 150));
  EXPECT_EQ(AllocationCount().load() - before, 0);
  EXPECT_TRUE(session.Writes().empty());
  Release(POINT{290, 150});
}

}  // namespace
}  // namespace qzh
