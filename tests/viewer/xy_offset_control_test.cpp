#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "viewer_fixture.h"

#include "harness/counting_allocator.h"

namespace qzh {
namespace {

class XYOffsetControlTest : public ViewerControlTest {
 protected:
  // An offset in inputs "X" (index 0) and "Y" (index 1), relative to
  // `reference` when given.
  PreviewControl* AddOffset(double x, double y, Input* reference = nullptr) {
    offsetX = AddNumber("X", x, 0);
    offsetY = AddNumber("Y", y, 1);
    TagList tags;
    if (reference) tags.Add(qzc::tag::ReferenceInput, reinterpret_cast<intptr_t>(reference));
    PreviewControl* control = viewer.AddViewerControl("XYOffsetControl", {offsetX, offsetY}, tags);
    session.Pump();
    session.ClearWrites();
    return control;
  }
  // Checks the X mark's four ends and its middle, and that it is no square.
  void ExpectMarkAt(const Picture& shown, POINT p) {
    for (POINT end : {Offset(p, -5, -5), Offset(p, 5, 5), Offset(p, -5, 5), Offset(p, 5, -5), p})
      EXPECT_EQ(shown.At(end), HandlePixel) << end.x << "," << end.y;
    EXPECT_EQ(shown.At(Offset(p, 6, 6)), bare.At(Offset(p, 6, 6)));  // a line leaves out its end point
    EXPECT_EQ(shown.At(Offset(p, 3, 0)), bare.At(Offset(p, 3, 0)));
  }

  Input* offsetX = nullptr;
  Input* offsetY = nullptr;
};

TEST_F(XYOffsetControlTest, IsRegisteredAsTheViewerControlXYOC) {
  PreviewControl* control = viewer.AddViewerControl("XYOffsetControl", {});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("XYOC"));
  EXPECT_EQ(CreatePanelControl("XYOffsetControl"), nullptr);
}

TEST_F(XYOffsetControlTest, WithoutAReferenceTheMarkIsAtTheImageCentrePlusTheOffset) {
  AddOffset(0.1, -0.2);
  const Picture shown = Capture();
  const POINT mark = At(0.6, 0.3);
  ExpectMarkAt(shown, mark);
  // The line back to the centre is dotted: some of its rows are painted.
  const POINT centre = At(0.5, 0.5);
  int painted = 0;
  for (int y = mark.y + 8; y < centre.y; ++y)
    for (int x = centre.x; x <= mark.x; ++x) painted += shown.At(x, y) == HandlePixel;
  const int rows = centre.y - mark.y - 8;
  EXPECT_GT(painted, rows / 3);
  EXPECT_LT(painted, rows * 2 / 3);
}

TEST_F(XYOffsetControlTest, MarkFollowsTheReferenceInput) {
  Input* origin = AddPoint("Origin", 0.25f, 0.25f);
  AddOffset(0.125, 0.125, origin);
  ExpectMarkAt(Capture(), At(0.375, 0.375));
  SetPoint(origin, 0.625f, 0.5f);
  EXPECT_TRUE(ViewerNeedsPaint());
  const Picture shown = Capture();
  ExpectMarkAt(shown, At(0.75, 0.625));
  EXPECT_EQ(shown.At(At(0.375, 0.375)), bare.At(At(0.375, 0.375)));
  EXPECT_EQ(viewer.InputAt(At(0.75, 0.625)), offsetX);
}

TEST_F(XYOffsetControlTest, DragSendsXThenYAtEveryMoveAsOneUndoStep) {
  Input* origin = AddPoint("Origin", 0.25f, 0.25f);
  AddOffset(0.1, 0.1, origin);
  session.Doc.ResetUndo();
  const size_t steps = session.Doc.UndoSteps().size();
  const POINT to = At(0.6, 0.45);
  Drag(At(0.35, 0.35), to, 3);
  EXPECT_EQ(WrittenInputs(), (std::vector<std::string>{"X", "Y", "X", "Y", "X", "Y"}));
  const auto [mouseX, mouseY] = PositionOf(to);
  EXPECT_EQ(NumberOf(offsetX), static_cast<float>(mouseX - 0.25f));
  EXPECT_EQ(NumberOf(offsetY), static_cast<float>(mouseY - 0.25f));
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 1);
  session.Doc.Undo();
  EXPECT_DOUBLE_EQ(NumberOf(offsetX), 0.1);
  EXPECT_DOUBLE_EQ(NumberOf(offsetY), 0.1);
}

// An animated offset gets a key for both coordinates at the dragged frame,
// even when the drag moved only along x.
TEST_F(XYOffsetControlTest, HorizontalDragStillSendsTheY) {
  // The y of the pointer at the centre's pixel, so that a drag along that
  // row leaves y as it is.
  const POINT from = At(0.5, 0.5);
  const auto y = static_cast<float>(static_cast<double>(PositionOf(from).second) - 0.5);
  AddOffset(0.0, y);
  offsetX->Animate(1);
  offsetY->Animate(1);
  session.Doc.SetCurrentTime(5.0, 0);
  session.Pump();
  session.ClearWrites();
  Drag(from, Offset(from, 30, 0), 1);
  ASSERT_EQ(WrittenInputs(), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(session.Writes()[1].Time, 5.0);
  EXPECT_EQ(offsetY->KeyCount(), 2u);
  EXPECT_EQ(NumberOf(offsetY), y);
  EXPECT_EQ(NumberOf(offsetX), static_cast<float>(static_cast<double>(PositionOf(Offset(from, 30, 0)).first) - 0.5));
}

TEST_F(XYOffsetControlTest, NotificationForOneCoordinateKeepsTheOther) {
  AddOffset(0.1, 0.2);
  SetNumber(offsetX, -0.1);
  session.Pump();
  EXPECT_EQ(viewer.InputAt(At(0.4, 0.7)), offsetX);
  SetNumber(offsetY, -0.2);
  session.Pump();
  EXPECT_EQ(viewer.InputAt(At(0.4, 0.3)), offsetX);
  EXPECT_EQ(viewer.InputAt(At(0.4, 0.7)), nullptr);
}

TEST_F(XYOffsetControlTest, OtherIndexesWrongKindsAndNullsChangeNothing) {
  PreviewControl* control = AddOffset(0.1, 0.1);
  Input* other = AddNumber("Other", 0.3, 2);
  control->AddInput(other);
  session.Pump();
  SetNumber(other, 0.4);
  SetPoint(offsetX, 0.3f, 0.3f);
  offsetY->SetValue(nullptr, 0.0, 1);
  EXPECT_FALSE(ViewerNeedsPaint());
  EXPECT_EQ(viewer.InputAt(At(0.6, 0.6)), offsetX);
}

struct OffsetNudgeRow {
  const char* Name;
  int Key;
  bool Shift;
  bool Ctrl;
  float Dx;  // in pixels of the picture
  float Dy;
};

class XYOffsetNudgeTest : public XYOffsetControlTest, public ::testing::WithParamInterface<OffsetNudgeRow> {};

// One pixel of the 320-pixel-wide picture; Shift ten, Ctrl a tenth, both one.
TEST_P(XYOffsetNudgeTest, ArrowKeyMovesOneCoordinateByOnePixelTimesTheModifiers) {
  const OffsetNudgeRow& row = GetParam();
  AddOffset(0.1, 0.1);
  PressKey(row.Key, row.Shift, row.Ctrl);
  const float pixel = 1.0f / 320.0f;
  EXPECT_NEAR(NumberOf(offsetX), 0.1 + row.Dx * pixel, 1e-6);
  EXPECT_NEAR(NumberOf(offsetY), 0.1 + row.Dy * pixel, 1e-6);
  const std::vector<std::string> expected = row.Dx != 0   ? std::vector<std::string>{"X"}
                                            : row.Dy != 0 ? std::vector<std::string>{"Y"}
                                                          : std::vector<std::string>{};
  EXPECT_EQ(WrittenInputs(), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, XYOffsetNudgeTest,
                         ::testing::Values(OffsetNudgeRow{"Left", VK_LEFT, false, false, -1, 0},
                                           OffsetNudgeRow{"Right", VK_RIGHT, false, false, 1, 0},
                                           OffsetNudgeRow{"UpDecreasesY", VK_UP, false, false, 0, -1},
                                           OffsetNudgeRow{"Down", VK_DOWN, false, false, 0, 1},
                                           OffsetNudgeRow{"ShiftUp", VK_UP, true, false, 0, -10},
                                           OffsetNudgeRow{"CtrlRight", VK_RIGHT, false, true, 0.1f, 0},
                                           OffsetNudgeRow{"ShiftCtrlDown", VK_DOWN, true, true, 0, 1},
                                           OffsetNudgeRow{"OtherKey", VK_HOME, true, false, 0, 0}),
                         [](const ::testing::TestParamInfo<OffsetNudgeRow>& info) { return info.param.Name; });

TEST_F(XYOffsetControlTest, RubberBandRubsOutAsItGoesAndLeavesAFreshDrawing) {
  Input* origin = AddPoint("Origin", 0.6f, 0.4f);
  AddOffset(-0.35, 0.1, origin);
  const POINT from = At(0.25, 0.5);
  const POINT to = At(0.7, 0.8);
  Press(from);
  Picture shown = Capture();
  EXPECT_EQ(shown.At(Offset(from, 5, 5)), bare.At(Offset(from, 5, 5)) ^ Inverted);
  for (POINT p : {Offset(from, 30, 10), Offset(from, 31, 10), Offset(from, 80, -40), to, Offset(to, 1, 1), to}) {
    MoveTo(p);
    shown = Capture();
    EXPECT_EQ(shown.At(Offset(p, -5, 5)), bare.At(Offset(p, -5, 5)) ^ Inverted);
  }
  EXPECT_EQ(shown.At(Offset(from, 5, 5)), bare.At(Offset(from, 5, 5)));
  Release(to);
  const Picture dragged = Capture();
  viewer.Repaint();
  const Picture fresh = Capture();
  EXPECT_EQ(DifferentPixels(dragged, fresh), 0);
  ExpectMarkAt(fresh, to);
}

// Each drawing makes its two pens and deletes them: the platform keeps
// deleted pens for the next ones, so twenty drawings take nothing from the
// heap, and the device context gets its own pen back.
TEST_F(XYOffsetControlTest, EachDrawingDeletesThePensItMakes) {
  PreviewControl* control = AddOffset(0.1, 0.1);
  HDC dc = GetDC(viewer.Window());
  HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  control->DrawControls(dc, &viewer.Info(), 0);
  const long before = AllocationCount().load();
  for (int i = 0; i < 20; ++i) control->DrawControls(dc, &viewer.Info(), 0);
  EXPECT_EQ(AllocationCount().load() - before, 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  SelectObject(dc, pen);
  ReleaseDC(viewer.Window(), dc);
}

TEST_F(XYOffsetControlTest, ActivationActivatesTheReferencesOtherControls) {
  Input* origin = AddPoint("Origin", 0.5f, 0.5f);
  PreviewControl* originHandle = viewer.AddViewerControl("PointControl", {origin});
  PreviewControl* control = AddOffset(0.1, 0.1, origin);
  originHandle->SetInactive();
  control->SetInactive();
  control->SetActive(0);
  EXPECT_EQ(originHandle->IsActive, 1);
}

// The reference input must not keep a deleted control on its list: the next
// walk of the list (a sibling's activation) would reach freed memory.
TEST_F(XYOffsetControlTest, ForgettingTheReferenceInputLeavesItsControlList) {
  Input* origin = AddPoint("Origin", 0.25f, 0.25f);
  PreviewControl* originHandle = viewer.AddViewerControl("PointControl", {origin});
  PreviewControl* control = AddOffset(0.1, 0.1, origin);
  ASSERT_EQ(origin->Controls.Count(), 2u);
  ReleasePreviewControls(origin);  // the host is about to delete the input
  EXPECT_EQ(origin->Controls.Count(), 0u);
  viewer.RemoveViewerControl(control);
  originHandle->AddInput(origin);
  originHandle->SetInactive();
  originHandle->SetActive(1);
  SetPoint(origin, 0.3f, 0.3f);
  EXPECT_EQ(origin->Controls.Count(), 1u);
}

}  // namespace
}  // namespace qzh
