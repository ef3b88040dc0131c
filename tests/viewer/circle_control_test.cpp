#include <gtest/gtest.h>

#include <cmath>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "viewer_fixture.h"

namespace qzh {
namespace {

class CircleTest : public ViewerControlTest {
 protected:
  // A circle of diameter `size` (image widths) around a fixed centre.
  PreviewControl* AddCircle(Input* size, float x = 0.5f, float y = 0.5f) {
    return AddControl(
        "CircleControl", {size},
        TagList{{qzc::tag::CircleCentreX, static_cast<double>(x)}, {qzc::tag::CircleCentreY, static_cast<double>(y)}});
  }
  PreviewControl* AddFollowingCircle(Input* size, Input* centre) {
    return AddControl("CircleControl", {size},
                      TagList{{qzc::tag::CircleCentreInput, static_cast<const void*>(centre)}});
  }
  // The platform's drawing of the ring the viewer shows for a circle: the
  // ellipse whose box runs from the centre's pixel `radius` viewer pixels out
  // on each axis, the right and bottom edge included.
  Picture Ring(POINT centre, int radius) {
    return DrawnOver(bare, [&](HDC dc) {
      HPEN pen = CreatePen(PS_SOLID, 1, Viewer::HandleColour);
      HGDIOBJ oldPen = SelectObject(dc, pen);
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
      SelectObject(dc, oldPen);
      DeleteObject(pen);
    });
  }
};

TEST_F(CircleTest, IsRegisteredAsTheViewerControlCirC) {
  PreviewControl* control = viewer.AddViewerControl("CircleControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("CirC"));
  EXPECT_EQ(CreatePanelControl("CircleControl"), nullptr);
}

// The sample picture is 320 x 240: a size of 0.375 image widths is a ring of
// radius 60 viewer pixels on both axes, round however wide the image is.
TEST_F(CircleTest, RingIsRoundOnTheNonSquareImageAndHollow) {
  AddCircle(AddNumber("Size", 0.375));
  const Picture shown = Capture();
  const POINT c = At(0.5, 0.5);
  EXPECT_EQ(Differences(shown, Ring(c, 60)), "");
  for (POINT edge : {Offset(c, 60, 0), Offset(c, -60, 0), Offset(c, 0, 60), Offset(c, 0, -60)})
    EXPECT_EQ(shown.At(edge), HandlePixel) << edge.x << "," << edge.y;
  EXPECT_EQ(shown.At(c), bare.At(c));
}

TEST_F(CircleTest, WithoutACentreTheCircleSitsAtTheImageCentre) {
  PreviewControl* control = AddControl("CircleControl", {AddNumber("Size", 0.375)});
  EXPECT_EQ(Differences(Capture(), Ring(At(0.5, 0.5), 60)), "");
  viewer.ApplyAttributes(control, {{qzc::tag::CircleCentreX, 0.25}, {qzc::tag::CircleCentreY, 0.5}});
  EXPECT_TRUE(ViewerNeedsPaint());
  EXPECT_EQ(Differences(Capture(), Ring(At(0.25, 0.5), 60)), "");
}

struct RingGrabRow {
  const char* Name;
  int Dx;  // from the ring, outwards
  bool Grabs;
};

class CircleGrabTest : public CircleTest, public ::testing::WithParamInterface<RingGrabRow> {};

// At zoom 0.8 the picture is 256 pixels wide, so pixel centres and the
// radius (0.25 x 256 / 2 = 32) are exact: the tolerance of 5 is met exactly.
TEST_P(CircleGrabTest, PressWithinTheToleranceOfTheRingOnEitherSideGrabsIt) {
  const RingGrabRow& row = GetParam();
  viewer.SetZoom(0.8f);
  const POINT c{200, 150};
  const auto [cx, cy] = PositionOf(c);
  Input* size = AddNumber("Size", 0.25);
  AddCircle(size, cx, cy);
  const POINT press = Offset(c, 32 + row.Dx, 0);
  EXPECT_EQ(viewer.InputAt(press), row.Grabs ? size : nullptr);
  session.ClearWrites();
  Drag(press, Offset(c, 0, 60));
  EXPECT_EQ(session.Writes().empty(), !row.Grabs);
}

INSTANTIATE_TEST_SUITE_P(Rows, CircleGrabTest,
                         ::testing::Values(RingGrabRow{"OnTheRing", 0, true}, RingGrabRow{"ToleranceOutside", 5, true},
                                           RingGrabRow{"ToleranceInside", -5, true},
                                           RingGrabRow{"PastToleranceOutside", 6, false},
                                           RingGrabRow{"PastToleranceInside", -6, false},
                                           RingGrabRow{"AtTheCentre", -32, false}),
                         [](const ::testing::TestParamInfo<RingGrabRow>& info) { return info.param.Name; });

TEST_F(CircleTest, RingDragPassesUnderThePointerAndIsOneUndoStep) {
  const POINT c = At(0.5, 0.5);
  const auto [cx, cy] = PositionOf(c);
  Input* size = AddNumber("Size", 0.25);
  PreviewControl* control = AddCircle(size, cx, cy);
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  const POINT to = Offset(c, 36, 48);  // 60 pixels from the centre, mostly down
  Drag(Offset(c, 40, 0), to, 3);
  EXPECT_NEAR(NumberOf(size) * 320 / 2, 60.0, 0.02);
  const Picture dragged = Capture();
  EXPECT_EQ(dragged.At(to), HandlePixel);
  EXPECT_EQ(Differences(dragged, Fresh()), "");
  EXPECT_EQ(control->DragMode, 0u);
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  session.Doc.Undo();
  EXPECT_DOUBLE_EQ(NumberOf(size), 0.25);
}

// After every move the viewer shows exactly what a repaint in the middle of
// the drag shows: the picture with one inverted ring, the old one rubbed out.
TEST_F(CircleTest, RubberBandIsErasedExactlyAtEveryMove) {
  AddCircle(AddNumber("Size", 0.2), 0.4f, 0.55f);
  const POINT c = At(0.4, 0.55);
  const POINT from = Offset(c, 32, 0);
  Press(from);
  EXPECT_EQ(Capture().At(from), bare.At(from) ^ Inverted);
  for (POINT p : {Offset(from, 0, 1), Offset(c, 0, -50), Offset(c, 0, -50), Offset(c, -10, 20), Offset(c, 90, 30)}) {
    MoveTo(p);
    const Picture band = Capture();
    EXPECT_EQ(Differences(band, Fresh()), "") << p.x << "," << p.y;
  }
  EXPECT_EQ(Capture().At(from), bare.At(from));
  Release(Offset(c, 90, 30));
  const Picture released = Capture();
  EXPECT_EQ(Differences(released, Fresh()), "");
}

// The viewer hands moves only to a pressed control; the host may still move
// the pointer over it, and the circle then draws itself at rest.
TEST_F(CircleTest, MoveWithoutADragDrawsInCopyModeWithoutErasing) {
  Input* size = AddNumber("Size", 0.25);
  PreviewControl* control = AddCircle(size);
  HDC dc = GetDC(viewer.Window());
  SetROP2(dc, R2_XORPEN);
  session.ClearWrites();
  viewer.Info().SetMouse(10, 10);
  control->ControlMove(dc, &viewer.Info(), CPoint(10, 10));
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  control->ControlMove(dc, &viewer.Info(), CPoint(10, 10));
  ReleaseDC(viewer.Window(), dc);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(Capture().At(Offset(At(0.5, 0.5), 40, 0)), HandlePixel);
}

TEST_F(CircleTest, FollowsItsCentreInput) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  Input* size = AddNumber("Size", 0.375);
  AddFollowingCircle(size, centre);
  EXPECT_EQ(Differences(Capture(), Ring(At(0.25, 0.5), 60)), "");
  SetPoint(centre, 0.75f, 0.5f);
  EXPECT_TRUE(ViewerNeedsPaint());
  EXPECT_EQ(Differences(Capture(), Ring(At(0.75, 0.5), 60)), "");
  // The drag measures from the followed centre, the left edge of its pixel,
  // to the centre of the pointer's pixel.
  Drag(Offset(At(0.75, 0.5), -60, 0), Offset(At(0.75, 0.5), -20, 0));
  EXPECT_NEAR(NumberOf(size) * 320 / 2, 19.5, 0.02);
}

// The host tells the controls on an input's list that it goes away; the
// circle leaves that list, keeps its last centre, and once deleted leaves no
// pointer behind for the input's next change to reach.
TEST_F(CircleTest, ForgottenCentreInputIsLeftAndTheLastCentreKept) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  PreviewControl* control = AddFollowingCircle(AddNumber("Size", 0.375), centre);
  ASSERT_EQ(centre->Controls.Count(), 1u);
  ReleasePreviewControls(centre);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  SetPoint(centre, 0.75f, 0.5f);
  EXPECT_EQ(Differences(Fresh(), Ring(At(0.25, 0.5), 60)), "");
  viewer.RemoveViewerControl(control);
  SetPoint(centre, 0.6f, 0.6f);
  EXPECT_EQ(centre->Controls.Count(), 0u);
}

TEST_F(CircleTest, DeletedCircleLeavesItsCentreInput) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  PreviewControl* control = AddFollowingCircle(AddNumber("Size", 0.25), centre);
  viewer.RemoveViewerControl(control);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  SetPoint(centre, 0.75f, 0.5f);
}

TEST_F(CircleTest, ValuesThatCannotBeDrawnChangeNothing) {
  Input* size = AddNumber("Size", 0.25);
  Input* centre = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddFollowingCircle(size, centre);
  const Picture before = Capture();
  for (double bad : {NAN, INFINITY, -INFINITY}) SetNumber(size, bad);
  SetPoint(centre, NAN, 0.5f);
  SetValue(centre, new Number(0.1));
  control->NotifyChanged(size, nullptr);
  viewer.ApplyAttributes(control, {{qzc::tag::CircleCentreX, NAN}});
  EXPECT_EQ(Differences(Fresh(), before), "");
}

// A drag step that changes nothing sends nothing and only redraws.
TEST_F(CircleTest, DragMoveOnTheSameSpotAllocatesNothing) {
  Input* size = AddNumber("Size", 0.25);
  PreviewControl* control = AddCircle(size);
  const POINT c = At(0.5, 0.5);
  Press(Offset(c, 40, 0));
  MoveTo(Offset(c, 50, 0));
  session.ClearWrites();
  PreviewInfo& info = viewer.Info();
  info.SetMouse(c.x + 50, c.y);
  const long before = AllocationCount().load();
  control->ControlMove(viewer.DragDC(), &info, CPoint(c.x + 50, c.y));
  EXPECT_EQ(AllocationCount().load() - before, 0);
  EXPECT_TRUE(session.Writes().empty());
  Release(Offset(c, 50, 0));
}

}  // namespace
}  // namespace qzh
