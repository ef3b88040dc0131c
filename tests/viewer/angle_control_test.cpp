#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "viewer_fixture.h"

#include "harness/counting_allocator.h"

namespace qzh {
namespace {

constexpr double None = std::numeric_limits<double>::quiet_NaN();
constexpr double DegreesToRadians = 0.017453292519943295;
constexpr double DefaultLength = 0.1;  // without a length input

class AngleControlTest : public ViewerControlTest {
 protected:
  // An angle handle on input "Angle", with a centre and a length input when
  // given, and more attributes.
  PreviewControl* AddAngle(double degrees, Input* centre = nullptr, Input* length = nullptr, TagList tags = {}) {
    angle = AddNumber("Angle", degrees);
    if (centre) tags.Add(qzc::tag::AngleCentreInput, reinterpret_cast<intptr_t>(centre));
    if (length) tags.Add(qzc::tag::AngleLengthInput, reinterpret_cast<intptr_t>(length));
    PreviewControl* control = viewer.AddViewerControl("AngleControl", {angle}, tags);
    session.Pump();
    session.ClearWrites();
    return control;
  }
  // The viewer pixel of the line's end: angles run anticlockwise from the
  // x axis, lengths are in image widths.
  POINT EndAt(double cx, double cy, double degrees, double length) {
    const PreviewInfo& info = viewer.Info();
    const double radians = degrees * DegreesToRadians;
    const float ex = static_cast<float>(cx) + info.AspectScaleXOut(static_cast<float>(length * std::cos(radians)));
    const float ey = static_cast<float>(cy) - info.AspectScaleYOut(static_cast<float>(length * std::sin(radians)));
    return POINT{info.TransformXOut(ex), info.TransformYOut(ey)};
  }
  // Puts the pointer of the press in progress at an offset from the centre
  // (in image widths, y running down) and moves the control there.
  void MovePointer(PreviewControl* control, double cx, double cy, double dx, double dy) {
    PreviewInfo& info = viewer.Info();
    info.MouseX = static_cast<float>(cx + dx);
    info.MouseY = static_cast<float>(cy) + info.AspectScaleYOut(static_cast<float>(dy));
    control->ControlMove(viewer.DragDC(), &info, CPoint(info.TransformXOut(info.MouseX), 0));
  }
  std::vector<double> WrittenAngles() const {
    std::vector<double> values;
    for (const Write& write : session.Writes()) values.push_back(std::stod(write.Value));
    return values;
  }
  // The round handle's leftmost and rightmost pixels on its middle row.
  void ExpectHandleAt(const Picture& shown, POINT end) {
    EXPECT_EQ(shown.At(Offset(end, -4, 0)), HandlePixel) << end.x << "," << end.y;
    EXPECT_EQ(shown.At(Offset(end, 3, 0)), HandlePixel) << end.x << "," << end.y;
    EXPECT_EQ(shown.At(Offset(end, 0, -4)), HandlePixel) << end.x << "," << end.y;
    EXPECT_EQ(shown.At(Offset(end, 1, 1)), bare.At(Offset(end, 1, 1)));  // not filled
  }

  Input* angle = nullptr;
};

TEST_F(AngleControlTest, IsRegisteredAsTheViewerControlAngC) {
  PreviewControl* control = viewer.AddViewerControl("AngleControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("AngC"));
  EXPECT_EQ(CreatePanelControl("AngleControl"), nullptr);
}

TEST_F(AngleControlTest, DrawsADottedLineFromTheCentreToARoundHandle) {
  Input* centre = AddPoint("Centre", 0.25f, 0.5f);
  AddAngle(0.0, centre, AddNumber("Length", 0.8));
  const Picture shown = Capture();
  const POINT from = At(0.25, 0.5);
  const POINT end = EndAt(0.25, 0.5, 0.0, 0.4);
  ASSERT_EQ(end.y, from.y);
  ExpectHandleAt(shown, end);
  int painted = 0;
  for (int x = from.x; x < end.x - 4; ++x) painted += shown.At(x, from.y) == HandlePixel;
  const int span = end.x - 4 - from.x;
  EXPECT_GT(painted, span * 2 / 5);
  EXPECT_LT(painted, span * 3 / 5);
}

struct TurnRow {
  const char* Name;
  double Start;
  double Direction;  // degrees; None: the pointer is at (Dx, Dy)
  double Dx;
  double Dy;
  double Sent;  // None: nothing is sent
};

class AngleTurnTest : public AngleControlTest, public ::testing::WithParamInterface<TurnRow> {};

TEST_P(AngleTurnTest, DragTurnsTheShorterWayToThePointer) {
  const TurnRow& row = GetParam();
  PreviewControl* control = AddAngle(row.Start);
  const POINT handle = EndAt(0.5, 0.5, row.Start, DefaultLength);
  Press(handle);
  ASSERT_EQ(viewer.Pressed(), control);
  const double radius = 0.2;
  const double dx = std::isnan(row.Direction) ? row.Dx : radius * std::cos(row.Direction * DegreesToRadians);
  const double dy = std::isnan(row.Direction) ? row.Dy : -radius * std::sin(row.Direction * DegreesToRadians);
  MovePointer(control, 0.5, 0.5, dx, dy);
  const std::vector<double> sent = WrittenAngles();
  Release(handle);
  if (std::isnan(row.Sent)) {
    EXPECT_TRUE(sent.empty());
  } else {
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NEAR(sent[0], row.Sent, 0.001);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, AngleTurnTest,
                         ::testing::Values(TurnRow{"AcrossZeroCountsOn", 350, 10, 0, 0, 370},
                                           TurnRow{"NegativeAngleFoldsFirst", -30, 0, 0, 0, 0},
                                           TurnRow{"ClockwiseAcrossZeroGoesNegative", 10, 350, 0, 0, -10},
                                           TurnRow{"SeveralTurnsKeepCounting", 725, 20, 0, 0, 740},
                                           TurnRow{"BeyondAThousandTurnsBack", -360300, 300, 0, 0, -360420},
                                           TurnRow{"LessThanHalfATurn", 0, 170, 0, 0, 170},
                                           TurnRow{"MoreThanHalfATurnGoesTheOtherWay", 0, 190, 0, 0, -170},
                                           TurnRow{"InsideTheDeadBand", 40, 40.008, 0, 0, None},
                                           TurnRow{"JustOutsideTheDeadBand", 40, 40.02, 0, 0, 40.02},
                                           TurnRow{"StraightAbove", 80, None, 0, -0.2, 90},
                                           TurnRow{"NearlyAboveCountsAsAbove", 80, None, 0.0004, -0.2, 90},
                                           TurnRow{"NearlyBelowCountsAsBelow", 260, None, -0.0004, 0.2, 270},
                                           TurnRow{"OutsideTheVerticalBand", 80, None, 0.002, -0.2, 89.427}),
                         [](const ::testing::TestParamInfo<TurnRow>& info) { return info.param.Name; });

// A move that turns the line by no more than the dead band makes no value
// and leaves the rubber band as it is.
TEST_F(AngleControlTest, MoveInsideTheDeadBandCreatesNothingAndDrawsNothing) {
  PreviewControl* control = AddAngle(20.0);
  const POINT handle = EndAt(0.5, 0.5, 20.0, DefaultLength);
  Press(handle);
  HDC dc = viewer.DragDC();
  ASSERT_NE(dc, nullptr);
  const int mode = SetROP2(dc, R2_NOP);
  const double radians = 20.005 * DegreesToRadians;
  const long before = AllocationCount().load();
  MovePointer(control, 0.5, 0.5, 0.3 * std::cos(radians), -0.3 * std::sin(radians));
  EXPECT_EQ(AllocationCount().load() - before, 0);
  EXPECT_EQ(GetROP2(dc), R2_NOP);
  EXPECT_TRUE(session.Writes().empty());
  SetROP2(dc, mode);
  Release(handle);
}

struct RadiusRow {
  const char* Name;
  int Tolerance;  // 0: the default preference
  int Dx;
  int Dy;
  bool Grabs;
};

class AngleGrabTest : public AngleControlTest, public ::testing::WithParamInterface<RadiusRow> {};

// The handle is grabbed within a circle of the grab tolerance, edge
// included, and never smaller than 4 pixels.
TEST_P(AngleGrabTest, PressGrabsWithinTheRadius) {
  const RadiusRow& row = GetParam();
  if (row.Tolerance) SetPrefLong(PrefGrabTolerance, row.Tolerance);
  AddAngle(0.0);
  const POINT end = EndAt(0.5, 0.5, 0.0, DefaultLength);
  EXPECT_EQ(viewer.InputAt(Offset(end, row.Dx, row.Dy)), row.Grabs ? angle : nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, AngleGrabTest,
                         ::testing::Values(RadiusRow{"DefaultOnTheEdge", 0, 5, 0, true},
                                           RadiusRow{"DefaultDiagonalOnTheEdge", 0, -3, 4, true},
                                           RadiusRow{"DefaultDiagonalOutside", 0, 4, 4, false},
                                           RadiusRow{"SmallToleranceStillFour", 2, 4, 0, true},
                                           RadiusRow{"SmallToleranceFourUp", 2, 0, -4, true},
                                           RadiusRow{"SmallToleranceFive", 2, 5, 0, false},
                                           RadiusRow{"SmallToleranceDiagonal", 2, 3, 3, false},
                                           RadiusRow{"LargeTolerance", 9, 0, 9, true},
                                           RadiusRow{"LargeToleranceOutside", 9, 10, 0, false}),
                         [](const ::testing::TestParamInfo<RadiusRow>& info) { return info.param.Name; });

struct LengthRow {
  const char* Name;
  double Value;
  double Minimum;  // None: the default 0.1
  double Scale;    // None: the default 0.5
  double Length;
};

class AngleLengthTest : public AngleControlTest, public ::testing::WithParamInterface<LengthRow> {};

TEST_P(AngleLengthTest, LengthIsTheScaledValueButAtLeastTheMinimum) {
  const LengthRow& row = GetParam();
  TagList tags;
  if (!std::isnan(row.Minimum)) tags.AddDouble(qzc::tag::AngleMinimumLength, row.Minimum);
  if (!std::isnan(row.Scale)) tags.AddDouble(qzc::tag::AngleLengthScale, row.Scale);
  AddAngle(90.0, nullptr, AddNumber("Length", row.Value), tags);
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 90.0, row.Length)), angle);
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 90.0, row.Length + 0.04)), nullptr);
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 90.0, row.Length - 0.04)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, AngleLengthTest,
                         ::testing::Values(LengthRow{"BelowTheMinimum", 0.1, None, None, 0.1},
                                           LengthRow{"OneIsHalf", 1.0, None, None, 0.5},
                                           LengthRow{"NegativeIsTheMinimum", -2.0, None, None, 0.1},
                                           LengthRow{"MinimumFromTheAttributes", 0.1, 0.25, None, 0.25},
                                           LengthRow{"ScaleFromTheAttributes", 0.5, 0.2, 0.6, 0.3}),
                         [](const ::testing::TestParamInfo<LengthRow>& info) { return info.param.Name; });

TEST_F(AngleControlTest, LengthFollowsItsInputAndIgnoresWhatCannotBeDrawn) {
  Input* length = AddNumber("Length", 0.4);
  AddAngle(0.0, nullptr, length);
  SetNumber(length, 0.8);
  EXPECT_TRUE(ViewerNeedsPaint());
  session.Pump();
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 0.0, 0.4)), angle);
  for (double bad : {None, std::numeric_limits<double>::infinity(), 1e300}) {
    SetNumber(length, bad);
    EXPECT_FALSE(ViewerNeedsPaint()) << bad;
  }
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 0.0, 0.4)), angle);
}

TEST_F(AngleControlTest, AngleValuesThatCannotBeDrawnAreNotTaken) {
  AddAngle(30.0);
  SetPoint(angle, 0.2f, 0.2f);
  EXPECT_FALSE(ViewerNeedsPaint());
  for (double bad : {None, -std::numeric_limits<double>::infinity(), 1e300}) {
    SetNumber(angle, bad);
    EXPECT_FALSE(ViewerNeedsPaint()) << bad;
  }
  angle->SetValue(nullptr, 0.0, 1);
  EXPECT_FALSE(ViewerNeedsPaint());
  // The handle still turns from where it was.
  const POINT handle = EndAt(0.5, 0.5, 30.0, DefaultLength);
  ASSERT_EQ(viewer.InputAt(handle), angle);
  PressKey(VK_LEFT);
  EXPECT_NEAR(NumberOf(angle), 31.0, 1e-5);
}

struct StepRow {
  const char* Name;
  int Key;
  bool Shift;
  bool Ctrl;
  double Change;  // None: nothing is sent
};

class AngleStepTest : public AngleControlTest, public ::testing::WithParamInterface<StepRow> {};

TEST_P(AngleStepTest, LeftTurnsAnticlockwiseRightClockwise) {
  const StepRow& row = GetParam();
  AddAngle(30.0);
  PressKey(row.Key, row.Shift, row.Ctrl);
  if (std::isnan(row.Change)) {
    EXPECT_TRUE(session.Writes().empty());
    EXPECT_EQ(NumberOf(angle), 30.0);
  } else {
    EXPECT_EQ(session.Writes().size(), 1u);
    EXPECT_NEAR(NumberOf(angle), 30.0 + row.Change, 1e-6);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AngleStepTest,
    ::testing::Values(StepRow{"Left", VK_LEFT, false, false, 1}, StepRow{"Right", VK_RIGHT, false, false, -1},
                      StepRow{"ShiftLeft", VK_LEFT, true, false, 10}, StepRow{"ShiftRight", VK_RIGHT, true, false, -10},
                      StepRow{"CtrlLeft", VK_LEFT, false, true, 0.1}, StepRow{"ShiftCtrlLeft", VK_LEFT, true, true, 1},
                      StepRow{"UpSendsNothing", VK_UP, false, false, None},
                      StepRow{"DownSendsNothing", VK_DOWN, true, false, None}),
    [](const ::testing::TestParamInfo<StepRow>& info) { return info.param.Name; });

// Without a redraw request the viewer would go on showing the old angle.
TEST_F(AngleControlTest, KeyStepShowsTheHandleAtTheNewAngle) {
  AddAngle(0.0, nullptr, AddNumber("Length", 0.8));
  for (int i = 0; i < 9; ++i) PressKey(VK_LEFT, true);
  EXPECT_NEAR(NumberOf(angle), 90.0, 1e-4);
  const Picture shown = Capture();
  ExpectHandleAt(shown, EndAt(0.5, 0.5, 90.0, 0.4));
  const POINT old = EndAt(0.5, 0.5, 0.0, 0.4);
  EXPECT_EQ(shown.At(Offset(old, -4, 0)), bare.At(Offset(old, -4, 0)));
}

TEST_F(AngleControlTest, LineFollowsTheCentreInput) {
  Input* centre = AddPoint("Centre", 0.25f, 0.25f);
  AddAngle(45.0, centre);
  ASSERT_EQ(viewer.InputAt(EndAt(0.25, 0.25, 45.0, DefaultLength)), angle);
  SetPoint(centre, 0.6f, 0.7f);
  EXPECT_TRUE(ViewerNeedsPaint());
  const Picture shown = Capture();
  ExpectHandleAt(shown, EndAt(0.6, 0.7, 45.0, DefaultLength));
  EXPECT_EQ(viewer.InputAt(EndAt(0.6, 0.7, 45.0, DefaultLength)), angle);
}

TEST_F(AngleControlTest, DragIsOneUndoStepAndLeavesAFreshDrawing) {
  // The centre lies on a pixel's centre, so a pointer on its column is
  // straight below it.
  const POINT centrePixel = At(0.4, 0.5);
  const auto [cx, cy] = PositionOf(centrePixel);
  AddAngle(0.0, AddPoint("Centre", cx, cy), AddNumber("Length", 0.6));
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  const POINT from = EndAt(cx, cy, 0.0, 0.3);
  Press(from);
  Picture shown = Capture();
  EXPECT_EQ(shown.At(Offset(from, 0, -4)), bare.At(Offset(from, 0, -4)) ^ Inverted);
  for (POINT p : {Offset(centrePixel, 40, -60), Offset(centrePixel, 41, -60), Offset(centrePixel, -70, -20),
                  Offset(centrePixel, -60, 50), Offset(centrePixel, 0, 90)})
    MoveTo(p);
  shown = Capture();
  EXPECT_EQ(shown.At(Offset(from, 0, -4)), bare.At(Offset(from, 0, -4)));  // rubbed out
  const std::vector<double> sent = WrittenAngles();
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent.back(), 270.0);  // straight below, reached anticlockwise
  Release(Offset(centrePixel, 0, 90));
  const Picture dragged = Capture();
  viewer.Repaint();
  const Picture fresh = Capture();
  EXPECT_EQ(DifferentPixels(dragged, fresh), 0);
  ExpectHandleAt(fresh, EndAt(cx, cy, 270.0, 0.3));
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  session.Doc.Undo();
  EXPECT_EQ(NumberOf(angle), 0.0);
}

// While the centre's own handle is dragged by the same press, the line
// follows the centre and edits nothing.
TEST_F(AngleControlTest, FollowsADraggedCentreWithoutWriting) {
  Input* centre = AddPoint("Centre", 0.3f, 0.5f);
  viewer.AddViewerControl("PointControl", {centre});
  PreviewControl* control = AddAngle(0.0, centre);
  PreviewInfo& info = viewer.Info();
  const POINT centrePixel = At(0.3, 0.5);

  Press(centrePixel);
  ASSERT_NE(viewer.Pressed(), control);
  HDC dc = viewer.DragDC();
  control->ControlDown(dc, &info, CPoint(centrePixel));
  EXPECT_EQ(control->DragMode, 1u);
  MoveTo(Offset(centrePixel, 30, 20));
  control->ControlMove(dc, &info, CPoint(Offset(centrePixel, 30, 20)));
  control->ControlUp(dc, &info, CPoint(Offset(centrePixel, 30, 20)));
  Release(Offset(centrePixel, 30, 20));
  EXPECT_EQ(control->DragMode, 0u);
  EXPECT_EQ(NumberOf(angle), 0.0);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>{"Centre"}));

  // With the centre at rest, a press away from the handle starts nothing.
  info.SetMouse(10, 10);
  EXPECT_EQ(control->ControlDown(nullptr, &info, CPoint(10, 10)), 0u);
  EXPECT_EQ(control->DragMode, 0u);
}

// The centre and length inputs must not keep a deleted control on their
// lists: the next change of either would reach freed memory.
TEST_F(AngleControlTest, ForgettingTheCentreAndLengthInputsLeavesTheirControlLists) {
  Input* centre = AddPoint("Centre", 0.5f, 0.5f);
  Input* length = AddNumber("Length", 0.4);
  PreviewControl* control = AddAngle(0.0, centre, length);
  ASSERT_EQ(centre->Controls.Count(), 1u);
  EXPECT_EQ(control->RemoveInput(centre), 1u);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  ReleasePreviewControls(length);  // the host is about to delete the input
  EXPECT_EQ(length->Controls.Count(), 0u);
  EXPECT_EQ(angle->Controls.Count(), 1u);

  SetPoint(centre, 0.2f, 0.2f);
  SetNumber(length, 0.8);
  EXPECT_EQ(viewer.InputAt(EndAt(0.5, 0.5, 0.0, DefaultLength * 2)), angle);
  viewer.RemoveViewerControl(control);
  SetPoint(centre, 0.3f, 0.3f);
  EXPECT_EQ(angle->Controls.Count(), 0u);
}

TEST_F(AngleControlTest, DeletingTheControlLeavesTheCentreAndLengthLists) {
  Input* centre = AddPoint("Centre", 0.5f, 0.5f);
  Input* length = AddNumber("Length", 0.4);
  PreviewControl* control = AddAngle(0.0, centre, length);
  viewer.ApplyAttributes(control, {{qzc::tag::AngleCentreInput, static_cast<const void*>(centre)}});
  EXPECT_EQ(centre->Controls.Count(), 1u);
  viewer.RemoveViewerControl(control);
  EXPECT_EQ(centre->Controls.Count(), 0u);
  EXPECT_EQ(length->Controls.Count(), 0u);
  SetPoint(centre, 0.3f, 0.3f);
  SetNumber(length, 0.3);
}

}  // namespace
}  // namespace qzh
