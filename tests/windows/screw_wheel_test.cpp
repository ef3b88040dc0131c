#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "qzsystem/dib.h"
#include "qzsystem/resources.h"
#include "screw_scene.h"

namespace qzh {
namespace {

using namespace qzc;

class ScrewWheelTest : public ScrewScene {
 protected:
  // A value's place on the endless wheel, in pixels from the lower value.
  static long Shift(double value, double lower, double upper) {
    return static_cast<long>((value - lower) * WheelWidth / (upper - lower));
  }

  // Every pixel of the strip's rows left of the edit field: the background
  // with the endless strip over the wheel, shifted by the value's place in
  // pixels and repeating every strip width, and the two arrow buttons; or
  // the background alone for a wheel drawn without its strip.
  void ExpectStrip(long shift, bool withStrip = true) {
    ResDIB background(100007, 0), strip(100004, 0), left(100005, 0), right(100006, 0);
    ASSERT_TRUE(background.Load() && strip.Load() && left.Load() && right.Load());
    const int stripWidth = strip.Dib->Width;
    int width = 0;
    std::vector<uint32_t> pixels = Capture(wheel, &width);
    int mismatches = 0;
    for (int y = WheelTop; y < WheelTop + strip.Dib->Height; ++y) {
      for (int x = 0; x < RightArrowX + 8; ++x) {
        uint32_t expected = background.Dib->Bits[y * background.Dib->Width + x];
        if (withStrip && x >= WheelLeft && x < WheelRight) {
          long column = ((x - WheelLeft - shift) % stripWidth + stripWidth) % stripWidth;
          expected = BlendPixel(expected, strip.Dib->Bits[(y - WheelTop) * stripWidth + column]);
        }
        for (const DIB* arrow : {left.Dib, right.Dib}) {
          const int at = arrow == left.Dib ? 4 : WheelRight;
          if (withStrip && x >= at && x < at + arrow->Width)
            expected = BlendPixel(expected, arrow->Bits[(y - WheelTop) * arrow->Width + x - at]);
        }
        if ((expected & 0xffffff) != pixels[y * width + x] && ++mismatches <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << pixels[y * width + x] << ", expected "
                        << (expected & 0xffffff);
      }
    }
    EXPECT_EQ(mismatches, 0);
  }

  // The rows of the strip, left of the edit field.
  std::vector<uint32_t> StripRows() {
    int width = 0;
    const std::vector<uint32_t> pixels = Capture(wheel, &width);
    std::vector<uint32_t> rows;
    for (int y = WheelTop; y < WheelBottom; ++y)
      rows.insert(rows.end(), pixels.begin() + y * width, pixels.begin() + y * width + EditLeft);
    return rows;
  }

  // A window's place on the panel's surface.
  CRect OnSurface(HWND hwnd) const {
    RECT rc, panel;
    GetWindowRect(hwnd, &rc);
    GetWindowRect(session.PanelWindow(), &panel);
    CRect place(rc);
    place -= CPoint(panel.left, panel.top);
    return place;
  }
  // Drawing calls that reached the wheel's pixels (the edit field's own
  // drawing aside).
  std::vector<CRect> WheelDraws(const std::vector<qz::RecordedDraw>& draws) const {
    const CRect area = OnSurface(wheel);
    const CRect field = OnSurface(edit);
    std::vector<CRect> found;
    for (const qz::RecordedDraw& draw : draws) {
      const CRect drawn(draw.area);
      if ((drawn & area).IsRectEmpty() || (drawn & field) == drawn) continue;
      found.push_back(drawn);
    }
    return found;
  }
};

struct Scale {
  const char* name;
  double lower, upper, start;
};

class WheelDragTest : public ScrewWheelTest, public ::testing::WithParamInterface<Scale> {};

TEST_P(WheelDragTest, DragAcrossTheWholeWheelChangesTheValueByUpperMinusLower) {
  const Scale s = GetParam();
  AddScrew(s.start, {{tag::RangeMin, s.lower}, {tag::RangeMax, s.upper}});
  session.Doc.SetCurrentTime(3.0, 0);
  session.ClearWrites();
  qz::StartRecording();
  DragWheel(20, 20 + WheelWidth);
  EXPECT_EQ(Value(), s.start + (s.upper - s.lower));
  EXPECT_EQ(PostedCodes(qz::StopRecording()),
            (std::vector<int>{TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBPOSITION}));
  ASSERT_EQ(session.Writes().size(), 4u);
  EXPECT_EQ(session.Writes().back().Time, 3.0);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Change"});
  ExpectStrip(Shift(Value(), s.lower, s.upper));
  // Back again: the value goes where the pointer goes, beyond the scale too.
  DragWheel(200, 200 - 2 * WheelWidth);
  EXPECT_EQ(Value(), s.start - (s.upper - s.lower));
  EXPECT_EQ(session.Doc.UndoSteps(), (std::vector<std::string>{"Change", "Change"}));
}

INSTANTIATE_TEST_SUITE_P(Scales, WheelDragTest,
                         ::testing::Values(Scale{"UnitScale", 0.0, 1.0, 0.5}, Scale{"AroundZero", -5.0, 5.0, 0.0},
                                           Scale{"Percent", 0.0, 100.0, 25.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrewWheelTest, HoldingAnArrowStepsAtThePressThenFromTheFourthTick) {
  AddScrew(0.5, {});
  for (const int x : {LeftArrowX, RightArrowX}) {
    const double step = x == LeftArrowX ? -0.001 : 0.001;
    const double start = Value();
    qz::StartRecording();
    Press(x);
    EXPECT_NEAR(Value(), start + step, 1e-12);
    session.AdvanceClock(279);
    EXPECT_NEAR(Value(), start + step, 1e-12);
    session.AdvanceClock(1);
    EXPECT_NEAR(Value(), start + 2 * step, 1e-12);
    session.AdvanceClock(70);
    EXPECT_NEAR(Value(), start + 3 * step, 1e-12);
    Release(x);
    session.AdvanceClock(1000);
    EXPECT_NEAR(Value(), start + 3 * step, 1e-12);
    EXPECT_EQ(PostedCodes(qz::StopRecording()), std::vector<int>(3, TB_THUMBPOSITION));
  }
  // Each hold is one undo step.
  EXPECT_EQ(session.Doc.UndoSteps(), (std::vector<std::string>{"Change", "Change"}));
}

struct KeyCase {
  const char* name;
  int key;
  double expected;  // from 5 on a scale of 0 to 10 in 1001 steps (0.01 each, 99 to a page)
  int code;
};

class WheelKeyTest : public ScrewWheelTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(WheelKeyTest, KeysStepPageAndJumpToTheScaleEnds) {
  const KeyCase k = GetParam();
  AddScrew(5.0, {{tag::RangeMax, 10.0}});
  qz::StartRecording();
  Key(k.key);
  EXPECT_NEAR(Value(), k.expected, 1e-12);
  EXPECT_EQ(PostedCodes(qz::StopRecording()), std::vector<int>{k.code});
  Key(k.key);
  EXPECT_EQ(session.Doc.UndoSteps().size(), k.code == TB_TOP || k.code == TB_BOTTOM ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WheelKeyTest,
    ::testing::Values(KeyCase{"Up", VK_UP, 4.99, TB_THUMBPOSITION}, KeyCase{"Down", VK_DOWN, 5.01, TB_THUMBPOSITION},
                      KeyCase{"Left", VK_LEFT, 4.99, TB_THUMBPOSITION},
                      KeyCase{"Right", VK_RIGHT, 5.01, TB_THUMBPOSITION}, KeyCase{"PageUp", VK_PRIOR, 4.01, TB_PAGEUP},
                      KeyCase{"PageDown", VK_NEXT, 5.99, TB_PAGEDOWN}, KeyCase{"Home", VK_HOME, 0.0, TB_TOP},
                      KeyCase{"End", VK_END, 10.0, TB_BOTTOM}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrewWheelTest, FarOutValuesWrapTheStripAndColourTheField) {
  ResColour inside(100112), outside(100113);
  ASSERT_TRUE(inside.Load() && outside.Load());
  AddScrew(0.25, {});
  ExpectStrip(Shift(0.25, 0.0, 1.0));
  for (const double far : {1234.567, -1234.567, 1e9 + 0.25}) {
    HostWrites(far);
    ExpectStrip(Shift(far, 0.0, 1.0));
    HDC hdc = GetDC(edit);
    SendMessageA(wheel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetTextColor(hdc), outside.Colour) << far;
    ReleaseDC(edit, hdc);
  }
  // Back inside (whole parts compared: 1.9 lies within 0 to 1).
  HostWrites(1.9);
  HDC hdc = GetDC(edit);
  SendMessageA(wheel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(GetTextColor(hdc), inside.Colour);
  EXPECT_EQ(GetBkColor(hdc), inside.Background);
  ReleaseDC(edit, hdc);
}

TEST_F(ScrewWheelTest, ANegativeExactMultipleOfTheStripWidthDrawsAsZero) {
  ResDIB strip(100004, 0);
  ASSERT_TRUE(strip.Load());
  AddScrew(0.0, {{tag::RangeMax, static_cast<double>(WheelWidth)}});
  const std::vector<uint32_t> atZero = StripRows();
  HostWrites(-3.0 * strip.Dib->Width);
  EXPECT_EQ(StripRows(), atZero);
  HostWrites(-3.0 * strip.Dib->Width + 1);
  EXPECT_NE(StripRows(), atZero);
}

TEST_F(ScrewWheelTest, ARepaintIsOneCopyOfTheClipBox) {
  AddScrew(0.5, {});
  qz::StartRecordingDraws();
  InvalidateRect(wheel, nullptr, TRUE);
  UpdateWindow(wheel);
  std::vector<CRect> draws = WheelDraws(qz::StopRecordingDraws());
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0], OnSurface(wheel));

  CRect part(40, 3, 60, 9);
  qz::StartRecordingDraws();
  InvalidateRect(wheel, &part, FALSE);
  UpdateWindow(wheel);
  draws = WheelDraws(qz::StopRecordingDraws());
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0], part + OnSurface(wheel).TopLeft());
}

// One copy per drag step: the strip moves in one piece, never half drawn.
TEST_F(ScrewWheelTest, EachDragStepReachesTheWindowInOneCopy) {
  AddScrew(0.5, {});
  Press(100);
  for (int x = 101; x <= 130; x += 3) {
    qz::StartRecordingDraws();
    qz::InjectMouseAt(wheel, WM_MOUSEMOVE, x, WheelRow);
    session.Pump();
    EXPECT_EQ(WheelDraws(qz::StopRecordingDraws()).size(), 1u) << x;
    ExpectStrip(Shift(Value(), 0.0, 1.0));
  }
  Release(130);
}

TEST_F(ScrewWheelTest, ADisabledWheelIgnoresTheUserAndDrawsNoStrip) {
  AddScrew(0.5, {{tag::ReadOnly, 1}});
  ExpectStrip(0, false);
  qz::StartRecording();
  DragWheel(100, 150);
  EXPECT_EQ(GetFocus(), wheel);  // a press still takes the focus
  Press(LeftArrowX);
  session.AdvanceClock(500);
  Release(LeftArrowX);
  for (const int key : {VK_UP, VK_NEXT, VK_END}) Key(key);
  EXPECT_TRUE(PostedCodes(qz::StopRecording()).empty());
  EXPECT_TRUE(session.Writes().empty());
}

// Upper equal to lower: a wheel width is worth nothing, and nothing divides by it.
TEST_F(ScrewWheelTest, AScaleWithoutWidthKeepsTheValueWhileDragging) {
  AddScrew(3.0, {{tag::RangeMin, 1.0}, {tag::RangeMax, 1.0}});
  DragWheel(50, 150);
  Key(VK_DOWN);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(EditText(), "3.0000");
  ExpectStrip(0);
  Key(VK_END);
  EXPECT_EQ(Value(), 1.0);
}

TEST_F(ScrewWheelTest, ALongCaptionIsCutAndDrawnFromItsStart) {
  const std::string name(300, 'W');
  AddScrew(0.5, {{tag::ControlName, name.c_str()}});
  int width = 0;
  const std::vector<uint32_t> cut = Capture(wheel, &width);
  session.ApplyAttributes(control, {{tag::ControlName, name.substr(0, 63).c_str()}});
  EXPECT_EQ(Capture(wheel, &width), cut);
  session.ApplyAttributes(control, {{tag::ControlName, "W"}});
  EXPECT_NE(Capture(wheel, &width), cut);
}

}  // namespace
}  // namespace qzh
