#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "frame/tags.h"
#include "harness/module.h"
#include "viewer_fixture.h"

#include "harness/counting_allocator.h"

namespace qzh {
namespace {

class PointControlTest : public ViewerControlTest {
 protected:
  PreviewControl* AddHandle(Input* input, Input* reference = nullptr) {
    TagList tags;
    if (reference) tags.Add(qzc::tag::ReferenceInput, reinterpret_cast<intptr_t>(reference));
    return AddControl("PointControl", {input}, tags);
  }
  std::pair<float, float> ValueOf(Input* input) { return PointOf(input); }
};

TEST_F(PointControlTest, IsRegisteredAsTheViewerControlPntC) {
  PreviewControl* control = viewer.AddViewerControl("PointControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("PntC"));
  EXPECT_EQ(CreatePanelControl("PointControl"), nullptr);
}

TEST_F(PointControlTest, HandleIsASquareOutlineWithALineToTheImageCentre) {
  AddHandle(AddPoint("Centre", 0.25f, 0.5f));
  const Picture shown = Capture();
  const POINT p = At(0.25, 0.5);
  const POINT centre = At(0.5, 0.5);
  ASSERT_EQ(p.y, centre.y);
  for (POINT corner : {Offset(p, -2, -2), Offset(p, 2, -2), Offset(p, 2, 2), Offset(p, -2, 2), Offset(p, 0, 2)})
    EXPECT_EQ(shown.At(corner), HandlePixel) << corner.x << "," << corner.y;
  EXPECT_EQ(shown.At(Offset(p, -1, -1)), bare.At(Offset(p, -1, -1)));  // not filled
  EXPECT_EQ(shown.At(Offset(p, -3, 0)), bare.At(Offset(p, -3, 0)));
  for (int x = p.x + 3; x < centre.x; ++x) ASSERT_EQ(shown.At(x, p.y), HandlePixel) << x;
  EXPECT_EQ(shown.At(centre), bare.At(centre));  // a line leaves out its end point
}

TEST_F(PointControlTest, LineRunsToTheReferenceAndFollowsIt) {
  Input* reference = AddPoint("Pivot", 0.25f, 0.25f);
  AddHandle(AddPoint("Centre", 0.25f, 0.75f), reference);
  Picture shown = Capture();
  const POINT p = At(0.25, 0.75);
  const POINT r = At(0.25, 0.25);
  EXPECT_EQ(shown.At(p.x, r.y + 1), HandlePixel);
  EXPECT_EQ(shown.At(r), bare.At(r));

  SetPoint(reference, 0.75f, 0.75f);
  EXPECT_TRUE(ViewerNeedsPaint());
  shown = Capture();
  EXPECT_EQ(shown.At(p.x, r.y + 1), bare.At(p.x, r.y + 1));
  EXPECT_EQ(shown.At(At(0.75, 0.75).x - 1, p.y), HandlePixel);
}

struct GrabRow {
  const char* Name;
  int Dx;
  int Dy;
  bool Grabs;
};

class PointGrabTest : public PointControlTest, public ::testing::WithParamInterface<GrabRow> {};

// The default tolerance is 5 pixels and both axes are tested strictly.
TEST_P(PointGrabTest, PressGrabsOnlyWithinTheToleranceOnBothAxes) {
  const GrabRow& row = GetParam();
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  const POINT press = Offset(At(0.5, 0.5), row.Dx, row.Dy);
  EXPECT_EQ(viewer.InputAt(press), row.Grabs ? position : nullptr);

  const POINT to = At(0.75, 0.25);
  Drag(press, to);
  const std::pair<float, float> expected = row.Grabs ? PositionOf(to) : std::pair<float, float>{0.5f, 0.5f};
  EXPECT_EQ(ValueOf(position), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, PointGrabTest,
                         ::testing::Values(GrabRow{"OnTheHandle", 0, 0, true}, GrabRow{"FourRight", 4, 0, true},
                                           GrabRow{"FiveRight", 5, 0, false}, GrabRow{"FourLeft", -4, 0, true},
                                           GrabRow{"FiveLeft", -5, 0, false}, GrabRow{"FourDown", 0, 4, true},
                                           GrabRow{"FiveUp", 0, -5, false}, GrabRow{"FourBoth", 4, -4, true},
                                           GrabRow{"FourAcrossFiveDown", 4, 5, false}),
                         [](const ::testing::TestParamInfo<GrabRow>& info) { return info.param.Name; });

TEST_F(PointControlTest, ToleranceComesFromTheHostPreference) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  SetPrefLong(PrefGrabTolerance, 3);
  EXPECT_EQ(viewer.InputAt(Offset(At(0.5, 0.5), 2, 0)), position);
  EXPECT_EQ(viewer.InputAt(Offset(At(0.5, 0.5), 3, 0)), nullptr);
  SetPrefLong(PrefGrabTolerance, 12);
  EXPECT_EQ(viewer.InputAt(Offset(At(0.5, 0.5), 0, 11)), position);
}

TEST_F(PointControlTest, ToleranceIsInViewerPixelsWhateverTheZoom) {
  Input* position = AddPoint("Centre", 0.25f, 0.5f);
  AddHandle(position);
  viewer.SetZoom(2.0f, 30.0f, 0.0f);
  session.Pump();
  const POINT p = At(0.25, 0.5);
  EXPECT_EQ(viewer.InputAt(Offset(p, 4, 0)), position);
  EXPECT_EQ(viewer.InputAt(Offset(p, 5, 0)), nullptr);
  Drag(p, Offset(p, 7, 3));
  EXPECT_EQ(ValueOf(position), PositionOf(Offset(p, 7, 3)));
}

TEST_F(PointControlTest, GrabTestUsesWhereTheHandleWasDrawn) {
  Input* position = AddPoint("Centre", 0.25f, 0.5f);
  AddHandle(position);
  SetPoint(position, 0.75f, 0.5f);
  EXPECT_EQ(viewer.InputAt(At(0.25, 0.5)), position);
  EXPECT_EQ(viewer.InputAt(At(0.75, 0.5)), nullptr);
  session.Pump();
  EXPECT_EQ(viewer.InputAt(At(0.25, 0.5)), nullptr);
  EXPECT_EQ(viewer.InputAt(At(0.75, 0.5)), position);
}

TEST_F(PointControlTest, CommandSevenAwayFromTheHandleIsLeftToTheBase) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddHandle(position);
  Input* answer = reinterpret_cast<Input*>(&viewer);
  viewer.Info().SetMouse(10, 10);
  control->ControlCommand(nullptr, &viewer.Info(), PreviewCommandInputAt, &answer);
  EXPECT_EQ(answer, reinterpret_cast<Input*>(&viewer));
  viewer.Info().SetMouse(At(0.5, 0.5).x, At(0.5, 0.5).y);
  control->ControlCommand(nullptr, &viewer.Info(), PreviewCommandInputAt, &answer);
  EXPECT_EQ(answer, position);
}

TEST_F(PointControlTest, DragWritesThePointerAtEveryMoveAndIsOneUndoStep) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddHandle(position);
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  session.ClearWrites();

  const POINT to = At(0.75, 0.25);
  Drag(At(0.5, 0.5), to, 4);
  EXPECT_EQ(session.Writes().size(), 4u);
  EXPECT_EQ(ValueOf(position), PositionOf(to));
  EXPECT_EQ(control->DragMode, 0u);
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  session.Doc.Undo();
  EXPECT_EQ(ValueOf(position), (std::pair<float, float>{0.5f, 0.5f}));
}

TEST_F(PointControlTest, DragPastTheImageEdgeIsNotClamped) {
  Input* position = AddPoint("Centre", 0.1f, 0.1f);
  AddHandle(position);
  const POINT outside{5, 3};  // left of and above the picture
  Drag(At(0.1, 0.1), outside);
  const auto [x, y] = ValueOf(position);
  EXPECT_LT(x, 0.0f);
  EXPECT_LT(y, 0.0f);
}

// A view zoomed to the float limit maps every pointer to no position: a
// press anywhere grabs nothing and writes nothing.
TEST_F(PointControlTest, APointerThatIsNoPositionGrabsNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddHandle(position);
  session.ClearWrites();
  viewer.Info().Layout(400, 300, 640, 480, 3e38f, -3e38f, 3e38f);
  for (POINT p : {POINT{0, 0}, POINT{200, 150}, POINT{-5, 1000}}) {
    viewer.Info().SetMouse(p.x, p.y);
    Input* answer = nullptr;
    control->ControlCommand(nullptr, &viewer.Info(), PreviewCommandInputAt, &answer);
    EXPECT_EQ(answer, nullptr);
    control->ControlDown(nullptr, &viewer.Info(), CPoint(p.x, p.y));
    EXPECT_EQ(control->DragMode, 0u);
    control->ControlMove(nullptr, &viewer.Info(), CPoint(p.x + 3, p.y));
    control->ControlUp(nullptr, &viewer.Info(), CPoint(p.x + 3, p.y));
  }
  EXPECT_TRUE(session.Writes().empty());
}

// The viewer holds its zoom and pan to what it can show, so the picture's
// blit and every pixel position stay within the int range.
TEST_F(PointControlTest, ViewerClampsZoomAndPanToWhatItCanShow) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  const float cases[][3] = {{1e7f, 3e9f, -3e9f},        {3e38f, 0.0f, 0.0f}, {1e-30f, 1.0f, 1.0f},
                            {INFINITY, NAN, -INFINITY}, {-1.0f, 0.0f, 0.0f}, {NAN, 5.0f, 5.0f}};
  for (const auto& c : cases) {
    viewer.SetZoom(c[0], c[1], c[2]);
    session.Pump();
    EXPECT_LE(std::fabs(viewer.Info().ImageWidth), Viewer::MaxShownExtent);
    EXPECT_LE(std::fabs(viewer.PanXOf()), Viewer::MaxShownExtent);
    EXPECT_LE(std::fabs(viewer.PanYOf()), Viewer::MaxShownExtent);
    viewer.Info().SetMouse(100, 100);
    EXPECT_TRUE(std::isfinite(viewer.Info().MouseX) && std::isfinite(viewer.Info().MouseY));
    viewer.Repaint();
  }
  viewer.SetZoom(1.0f);
  session.ClearWrites();
  Drag(At(0.5, 0.5), At(0.6, 0.5));
  EXPECT_FALSE(session.Writes().empty());
}

TEST_F(PointControlTest, PressAwayFromEveryHandlePressesNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  session.ClearWrites();
  Press(At(0.2, 0.2));
  EXPECT_EQ(viewer.Pressed(), nullptr);
  MoveTo(At(0.3, 0.3));
  Release(At(0.3, 0.3));
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(PointControlTest, RubberBandIsTheInvertedPictureWhileDragging) {
  AddHandle(AddPoint("Centre", 0.25f, 0.5f));
  const POINT from = At(0.25, 0.5);
  const POINT to = Offset(from, 20, -30);
  Press(from);
  Picture shown = Capture();
  EXPECT_EQ(shown.At(Offset(from, 2, 2)), bare.At(Offset(from, 2, 2)) ^ Inverted);
  MoveTo(to);
  shown = Capture();
  EXPECT_EQ(shown.At(Offset(from, 2, 2)), bare.At(Offset(from, 2, 2)));
  EXPECT_EQ(shown.At(Offset(to, -2, -2)), bare.At(Offset(to, -2, -2)) ^ Inverted);
  EXPECT_EQ(shown.At(Offset(to, 2, -2)), bare.At(Offset(to, 2, -2)) ^ Inverted);
  Release(to);
}

// The rubber band inverts exactly the pixels of the handle's outline drawn
// side by side and of its line, whatever calls draw it.
TEST_F(PointControlTest, RubberBandInvertsExactlyThePixelsOfTheOutlineAndLine) {
  AddHandle(AddPoint("Centre", 0.25f, 0.5f));
  const POINT from = At(0.25, 0.5);
  const POINT to = Offset(from, 20, -30);
  const POINT centre = At(0.5, 0.5);
  Press(from);
  MoveTo(to);
  const Picture expected = DrawnOver(bare, [&](HDC dc) {
    SetROP2(dc, R2_XORPEN);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, to.x - 2, to.y - 2, nullptr);
    LineTo(dc, to.x + 2, to.y - 2);
    LineTo(dc, to.x + 2, to.y + 2);
    LineTo(dc, to.x - 2, to.y + 2);
    LineTo(dc, to.x - 2, to.y - 2);
    MoveToEx(dc, to.x, to.y, nullptr);
    LineTo(dc, centre.x, centre.y);
  });
  EXPECT_EQ(Differences(Capture(), expected), "");
  Release(to);
}

TEST_F(PointControlTest, DragLeavesExactlyAFreshDrawingOfTheHandle) {
  Input* reference = AddPoint("Pivot", 0.6f, 0.4f);
  AddHandle(AddPoint("Centre", 0.25f, 0.5f), reference);
  const POINT from = At(0.25, 0.5);
  const POINT to = At(0.7, 0.8);
  Press(from);
  for (POINT p : {Offset(from, 30, 10), Offset(from, 31, 10), Offset(from, 80, -40), to, Offset(to, 1, 1), to})
    MoveTo(p);
  Release(to);
  const Picture dragged = Capture();
  viewer.Repaint();
  const Picture fresh = Capture();
  EXPECT_EQ(dragged.Pixels, fresh.Pixels);
  EXPECT_EQ(fresh.At(Offset(to, 2, 2)), HandlePixel);
  EXPECT_EQ(fresh.At(Offset(from, -2, -2)), bare.At(Offset(from, -2, -2)));
}

TEST_F(PointControlTest, MoveOnTheSameSpotCreatesNothingAndDrawsNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddHandle(position);
  const POINT spot = Offset(At(0.5, 0.5), 6, 2);
  Press(At(0.5, 0.5));
  MoveTo(spot);
  ASSERT_EQ(ValueOf(position), PositionOf(spot));
  session.ClearWrites();

  HDC dc = viewer.DragDC();
  ASSERT_NE(dc, nullptr);
  const int mode = SetROP2(dc, R2_NOP);
  PreviewInfo& info = viewer.Info();
  info.SetMouse(spot.x, spot.y);
  const long before = qzh::AllocationCount().load();
  control->ControlMove(dc, &info, CPoint(spot));
  info.MouseX += 0.000009f;  // within the change threshold
  control->ControlMove(dc, &info, CPoint(spot));
  EXPECT_EQ(qzh::AllocationCount().load() - before, 0);
  EXPECT_EQ(GetROP2(dc), R2_NOP);
  EXPECT_TRUE(session.Writes().empty());
  SetROP2(dc, mode);
  Release(spot);
}

struct NudgeRow {
  const char* Name;
  int Key;
  bool Shift;
  bool Ctrl;
  float Dx;  // in steps of the modified step
  float Dy;
};

class PointNudgeTest : public PointControlTest, public ::testing::WithParamInterface<NudgeRow> {};

// One image pixel is 1/320 of the sample picture; Shift makes it ten, Ctrl a
// tenth, both together one.
TEST_P(PointNudgeTest, ArrowKeyMovesByOnePixelTimesTheModifiers) {
  const NudgeRow& row = GetParam();
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  viewer.Focus();
  session.ClearWrites();
  qz::SetKeyDown(VK_SHIFT, row.Shift);
  qz::SetKeyDown(VK_CONTROL, row.Ctrl);
  qz::PressKey(row.Key);

  float step = 1.0f / 320.0f;
  if (row.Shift) step *= 10.0f;
  if (row.Ctrl) step *= 0.1f;
  const auto [x, y] = ValueOf(position);
  EXPECT_FLOAT_EQ(x, static_cast<float>(0.5 + row.Dx * static_cast<double>(step)));
  EXPECT_FLOAT_EQ(y, static_cast<float>(0.5 + row.Dy * static_cast<double>(step)));
  EXPECT_EQ(session.Writes().size(), row.Dx != 0 || row.Dy != 0 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, PointNudgeTest,
                         ::testing::Values(NudgeRow{"Left", VK_LEFT, false, false, -1, 0},
                                           NudgeRow{"Right", VK_RIGHT, false, false, 1, 0},
                                           NudgeRow{"UpDecreasesY", VK_UP, false, false, 0, -1},
                                           NudgeRow{"DownIncreasesY", VK_DOWN, false, false, 0, 1},
                                           NudgeRow{"ShiftRight", VK_RIGHT, true, false, 1, 0},
                                           NudgeRow{"CtrlDown", VK_DOWN, false, true, 0, 1},
                                           NudgeRow{"ShiftCtrlLeft", VK_LEFT, true, true, -1, 0},
                                           NudgeRow{"OtherKey", 'A', true, false, 0, 0}),
                         [](const ::testing::TestParamInfo<NudgeRow>& info) { return info.param.Name; });

// A pointer the float range cannot place (an infinity or NaN from the
// view) moves nothing and writes nothing during a drag.
TEST_F(PointControlTest, DragToAPointerThatIsNoPositionWritesNothing) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  PreviewControl* control = AddHandle(position);
  Press(At(0.5, 0.5));
  ASSERT_EQ(viewer.Pressed(), control);
  session.ClearWrites();
  for (float x : {INFINITY, -INFINITY, NAN}) {
    viewer.Info().MouseX = x;
    viewer.Info().MouseY = 0.25f;
    control->ControlMove(viewer.DragDC(), &viewer.Info(), CPoint(10, 10));
  }
  EXPECT_TRUE(session.Writes().empty());
  Release(At(0.5, 0.5));
  EXPECT_EQ(ValueOf(position), (std::pair<float, float>{0.5f, 0.5f}));
}

TEST_F(PointControlTest, ArrowKeysGoToTheLastPressedHandle) {
  Input* first = AddPoint("First", 0.25f, 0.5f);
  Input* second = AddPoint("Second", 0.75f, 0.5f);
  AddHandle(first);
  AddHandle(second);
  session.Pump();
  Press(At(0.75, 0.5));
  Release(At(0.75, 0.5));
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(ValueOf(first).second, 0.5f);
  EXPECT_GT(ValueOf(second).second, 0.5f);
}

TEST_F(PointControlTest, NotificationWithinTheThresholdIsSwallowed) {
  Input* position = AddPoint("Centre", 0.5f, 0.5f);
  AddHandle(position);
  ASSERT_FALSE(ViewerNeedsPaint());
  SetPoint(position, 0.500008f, 0.499993f);
  EXPECT_FALSE(ViewerNeedsPaint());
  SetPoint(position, 0.5f, 0.50002f);
  EXPECT_TRUE(ViewerNeedsPaint());
}

TEST_F(PointControlTest, NullValueChangesNothing) {
  Input* position = AddPoint("Centre", 0.25f, 0.5f);
  AddHandle(position);
  position->SetValue(nullptr, 0.0, 1);
  EXPECT_FALSE(ViewerNeedsPaint());
  session.Pump();
  EXPECT_EQ(viewer.InputAt(At(0.25, 0.5)), position);
}

TEST_F(PointControlTest, SameReferenceAgainDoesNotJoinTwice) {
  Input* reference = AddPoint("Pivot", 0.25f, 0.25f);
  PreviewControl* control = AddHandle(AddPoint("Centre", 0.5f, 0.5f), reference);
  ASSERT_EQ(reference->Controls.Count(), 1u);
  viewer.ApplyAttributes(control, {{qzc::tag::ReferenceInput, static_cast<const void*>(reference)}});
  EXPECT_EQ(reference->Controls.Count(), 1u);
}

TEST_F(PointControlTest, ListWithoutAReferenceKeepsItButStillRedraws) {
  Input* reference = AddPoint("Pivot", 0.25f, 0.25f);
  PreviewControl* control = AddHandle(AddPoint("Centre", 0.25f, 0.75f), reference);
  viewer.ApplyAttributes(control, {});
  EXPECT_TRUE(ViewerNeedsPaint());
  EXPECT_EQ(reference->Controls.Count(), 1u);
  const Picture shown = Capture();
  EXPECT_EQ(shown.At(At(0.25, 0.5)), HandlePixel);  // the line still runs up to the reference
}

TEST_F(PointControlTest, NewReferenceReplacesTheOldOne) {
  Input* old = AddPoint("Old", 0.25f, 0.25f);
  Input* replacement = AddPoint("New", 0.75f, 0.75f);
  PreviewControl* control = AddHandle(AddPoint("Centre", 0.25f, 0.75f), old);
  viewer.ApplyAttributes(control, {{qzc::tag::ReferenceInput, static_cast<const void*>(replacement)}});
  EXPECT_EQ(old->Controls.Count(), 0u);
  EXPECT_EQ(replacement->Controls.Count(), 1u);
  const Picture shown = Capture();
  EXPECT_EQ(shown.At(At(0.5, 0.75)), HandlePixel);
  EXPECT_EQ(shown.At(At(0.25, 0.5)), bare.At(At(0.25, 0.5)));
}

TEST_F(PointControlTest, ActivationActivatesEveryInactiveControlOnTheReference) {
  Input* pivot = AddPoint("Pivot", 0.5f, 0.5f);
  PreviewControl* pivotHandle = AddHandle(pivot);
  PreviewControl* secondPivotHandle = AddHandle(pivot);
  PreviewControl* follower = AddHandle(AddPoint("Centre", 0.25f, 0.25f), pivot);
  for (int mode : {0, 1}) {
    pivotHandle->SetInactive();
    secondPivotHandle->SetInactive();
    follower->SetInactive();
    follower->SetActive(mode);
    EXPECT_EQ(pivotHandle->IsActive, 1) << mode;
    EXPECT_EQ(secondPivotHandle->IsActive, 1) << mode;
  }
}

// The reference input must not keep a deleted control on its list: the next
// walk of the list (a sibling's activation) would reach freed memory.
TEST_F(PointControlTest, ForgettingTheReferenceInputLeavesItsControlList) {
  Input* pivot = AddPoint("Pivot", 0.5f, 0.5f);
  PreviewControl* pivotHandle = AddHandle(pivot);
  PreviewControl* forgetful = AddHandle(AddPoint("A", 0.25f, 0.25f), pivot);
  PreviewControl* sibling = AddHandle(AddPoint("B", 0.75f, 0.25f), pivot);
  ASSERT_EQ(pivot->Controls.Count(), 3u);

  EXPECT_EQ(forgetful->RemoveInput(pivot), 0u);  // not one of its connected inputs
  EXPECT_EQ(pivot->Controls.Count(), 2u);
  viewer.RemoveViewerControl(forgetful);
  pivotHandle->SetInactive();
  sibling->SetActive(1);
  EXPECT_EQ(pivotHandle->IsActive, 1);
  EXPECT_EQ(pivot->Controls.Count(), 2u);
}

TEST_F(PointControlTest, ForgottenReferenceKeepsTheLineWhereItWas) {
  Input* pivot = AddPoint("Pivot", 0.25f, 0.25f);
  PreviewControl* control = AddHandle(AddPoint("Centre", 0.25f, 0.75f), pivot);
  control->RemoveInput(pivot);
  SetPoint(pivot, 0.9f, 0.9f);
  viewer.Repaint();
  EXPECT_EQ(Capture().At(At(0.25, 0.5)), HandlePixel);
}

TEST_F(PointControlTest, InactiveHandleIsNeitherDrawnNorPressed) {
  Input* position = AddPoint("Centre", 0.25f, 0.5f);
  PreviewControl* control = AddHandle(position);
  control->SetInactive();
  const Picture shown = Capture();
  EXPECT_EQ(shown.At(Offset(At(0.25, 0.5), 2, 2)), bare.At(Offset(At(0.25, 0.5), 2, 2)));
  EXPECT_EQ(viewer.InputAt(At(0.25, 0.5)), nullptr);
}

}  // namespace
}  // namespace qzh
