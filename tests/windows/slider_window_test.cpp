#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/dib.h"
#include "qzsystem/resources.h"

namespace qzh {
namespace {

using namespace qzc;

constexpr int SliderId = 1001;
constexpr int EditId = 10101;
// The slider control's track (from its layout resource) and thumb picture.
constexpr int TrackLeft = 24;
constexpr int TrackRight = 201;
constexpr int TrackCentre = 113;
constexpr int ThumbTop = 3;
constexpr int ThumbWidth = 11;
constexpr int ThumbHeight = 12;
constexpr int ThumbRow = ThumbTop + ThumbHeight / 2;
constexpr uint32_t ThumbOutline = 0x141414;
constexpr int BandRight = 220;  // the band rows up to the edit field

class SliderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Grade"); }

  void AddSlider(double value, const TagList& attributes) {
    input = session.AddNumberInput(tool, "Gain", value);
    control = session.AddPanelControl("SliderControl", attributes, {input});
    ASSERT_NE(control, nullptr);
    slider = GetDlgItem(control->Wnd->m_hWnd, SliderId);
    ASSERT_NE(slider, nullptr);
    session.Pump();
  }

  double Value() { return session.NumberValue(input); }

  void Press(int x, int y = ThumbRow) {
    qz::InjectMouseAt(slider, WM_LBUTTONDOWN, x, y);
    session.Pump();
  }
  void MoveTo(int x, int y = ThumbRow) {
    qz::InjectMouseAt(slider, WM_MOUSEMOVE, x, y);
    session.Pump();
  }
  void Release(int x, int y = ThumbRow) {
    qz::InjectMouseAt(slider, WM_LBUTTONUP, x, y);
    session.Pump();
  }
  void Key(UINT msg, int vk, bool repeat = false) {
    qz::InjectKey(msg, vk, repeat);
    session.Pump();
  }
  void Focus() {
    SetFocus(slider);
    session.Pump();
  }

  // High words of the WM_HSCROLL messages the slider posted to its parent.
  std::vector<int> ScrollHighWords(const std::vector<qz::RecordedMessage>& recorded) const {
    std::vector<int> words;
    for (const qz::RecordedMessage& m : recorded)
      if (m.posted && m.message == WM_HSCROLL && m.hwnd == control->Wnd->m_hWnd &&
          reinterpret_cast<HWND>(m.lParam) == slider) {
        EXPECT_EQ(LOWORD(m.wParam), TB_THUMBTRACK);
        words.push_back(HIWORD(m.wParam));
      }
    return words;
  }

  std::vector<uint32_t> Capture() {
    session.Pump();
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(qz::CaptureWindow(slider, &width, &height, &pixels));
    CaptureWidth = width;
    return pixels;
  }

  // The left edge of the drawn thumb, found by its dark outline; -1 if none.
  int ThumbLeft() {
    std::vector<uint32_t> pixels = Capture();
    for (int x = 0; x < BandRight; ++x)
      if (pixels[ThumbRow * CaptureWidth + x] == ThumbOutline) return x;
    return -1;
  }

  // Every pixel of the thumb rows left of the edit field is the background
  // picture, with the thumb picture merged onto it at `thumbLeft` (none for -1).
  void ExpectBand(int thumbLeft) {
    ResDIB thumb(100000, 0);
    ResDIB background(100001, 0);
    ASSERT_TRUE(thumb.Load() && background.Load());
    std::vector<uint32_t> pixels = Capture();
    int mismatches = 0;
    for (int y = ThumbTop; y < ThumbTop + ThumbHeight; ++y) {
      for (int x = 0; x < BandRight; ++x) {
        uint32_t expected = background.Dib->Bits[y * background.Dib->Width + x];
        const int tx = x - thumbLeft;
        if (thumbLeft >= 0 && tx >= 0 && tx < ThumbWidth)
          expected = BlendPixel(expected, thumb.Dib->Bits[(y - ThumbTop) * ThumbWidth + tx]);
        if ((expected & 0xffffff) != pixels[y * CaptureWidth + x] && ++mismatches <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << pixels[y * CaptureWidth + x]
                        << ", expected " << (expected & 0xffffff);
      }
    }
    EXPECT_EQ(mismatches, 0);
  }

  Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND slider = nullptr;
  int CaptureWidth = 0;
};

TEST_F(SliderWindowTest, DefaultSitsAtTheMiddleOfAnUnevenRange) {
  AddSlider(2.0, {{tag::RangeMax, 10.0}, {tag::DefaultValue, 2.0}});
  EXPECT_EQ(ThumbLeft(), TrackCentre - ThumbWidth / 2);

  Press(TrackCentre);
  MoveTo(TrackLeft);
  EXPECT_DOUBLE_EQ(Value(), 0.0);
  EXPECT_EQ(ThumbLeft(), TrackLeft - ThumbWidth / 2);
  MoveTo(TrackRight + 1);
  EXPECT_DOUBLE_EQ(Value(), 10.0);
  EXPECT_EQ(ThumbLeft(), TrackRight + 1 - ThumbWidth / 2);
  // Each side maps linearly onto its half: 6 is half way along the upper half.
  MoveTo(TrackCentre + 89 / 2);
  EXPECT_NEAR(Value(), 2.0 + 44.0 * 8.0 / 89.0, 1e-12);
  Release(TrackCentre + 89 / 2);
}

TEST_F(SliderWindowTest, EqualMinAndMaxKeepTheThumbAtTrackLeftAndADragReportsMax) {
  AddSlider(7.0, {{tag::RangeMin, 5.0}, {tag::RangeMax, 5.0}});
  EXPECT_EQ(ThumbLeft(), TrackLeft - ThumbWidth / 2);
  qz::StartRecording();
  Press(TrackLeft);
  MoveTo(TrackLeft + 40);
  Release(TrackLeft + 40);
  EXPECT_EQ(ScrollHighWords(qz::StopRecording()), std::vector<int>{1});
  EXPECT_DOUBLE_EQ(Value(), 5.0);
  EXPECT_EQ(ThumbLeft(), TrackLeft - ThumbWidth / 2);
}

TEST_F(SliderWindowTest, SteppingUpFromBelowTheDefaultStopsExactlyOnIt) {
  // 0 to 10 with the default 2: a page is 0.4 below the default, 1.6 above.
  AddSlider(1.9, {{tag::RangeMax, 10.0}, {tag::DefaultValue, 2.0}});
  Focus();
  Key(WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(Value(), 2.0);
  Key(WM_KEYDOWN, VK_NEXT, true);
  EXPECT_DOUBLE_EQ(Value(), 3.6);
  Key(WM_KEYDOWN, VK_PRIOR, true);
  EXPECT_EQ(Value(), 2.0);
  Key(WM_KEYDOWN, VK_PRIOR, true);
  EXPECT_DOUBLE_EQ(Value(), 1.6);
  Key(WM_KEYUP, VK_PRIOR);
}

TEST_F(SliderWindowTest, ArrowKeysStepByOnePositionOnEachSideOfTheDefault) {
  AddSlider(1.998, {{tag::RangeMax, 10.0}, {tag::DefaultValue, 2.0}});
  Focus();
  Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Value(), 2.0);
  Key(WM_KEYDOWN, VK_RIGHT, true);
  EXPECT_DOUBLE_EQ(Value(), 2.016);
  Key(WM_KEYDOWN, VK_LEFT, true);
  Key(WM_KEYDOWN, VK_LEFT, true);
  EXPECT_DOUBLE_EQ(Value(), 1.996);
  Key(WM_KEYUP, VK_LEFT);
}

TEST_F(SliderWindowTest, HomeAndEndGoToTheEnds) {
  AddSlider(0.5, {});
  Focus();
  Key(WM_KEYDOWN, VK_END);
  Key(WM_KEYUP, VK_END);
  EXPECT_EQ(Value(), 1.0);
  Key(WM_KEYDOWN, VK_HOME);
  Key(WM_KEYUP, VK_HOME);
  EXPECT_EQ(Value(), 0.0);
}

TEST_F(SliderWindowTest, SnapWithoutIntegerChangesNothing) {
  AddSlider(0.0, {{tag::RangeMax, 10.0}, {tag::Snap, 1}});
  Press(TrackLeft);
  MoveTo(TrackLeft + 60);
  Release(TrackLeft + 60);
  EXPECT_NEAR(Value(), 600.0 / 178.0, 1e-12);
}

TEST_F(SliderWindowTest, SnapWithIntegerGivesWholeSteps) {
  AddSlider(0.0, {{tag::RangeMax, 10.0}, {tag::Snap, 1}, {tag::Integer, 1}});
  Press(TrackLeft);
  MoveTo(TrackLeft + 60);  // 3.37 before snapping
  EXPECT_EQ(Value(), 3.0);
  MoveTo(TrackLeft + 80);  // 4.49
  EXPECT_EQ(Value(), 4.0);
  MoveTo(TrackLeft + 81);  // 4.55
  Release(TrackLeft + 81);
  EXPECT_EQ(Value(), 5.0);
}

TEST_F(SliderWindowTest, SnapWithStepsFinerThanWholeNumbersSnapsToWholeNumbers) {
  // 1001 positions over 0 to 10 give steps of 0.01, truncated to 0.
  AddSlider(0.0, {{tag::RangeMax, 10.0}, {tag::Snap, 1}, {tag::Integer, 1}, {tag::StepCount, 1001}});
  Press(TrackLeft);
  MoveTo(TrackLeft + 60);
  Release(TrackLeft + 60);
  EXPECT_EQ(Value(), 3.0);
}

TEST_F(SliderWindowTest, PageClickMovesAtOnceThenRepeatsUntilTheThumbReachesThePointer) {
  AddSlider(0.9, {});
  qz::StartRecording();
  Press(45);
  EXPECT_NEAR(Value(), 0.8, 1e-9);
  session.AdvanceClock(279);
  EXPECT_NEAR(Value(), 0.8, 1e-9);
  session.AdvanceClock(1);
  EXPECT_NEAR(Value(), 0.7, 1e-9);
  session.AdvanceClock(69);
  EXPECT_NEAR(Value(), 0.7, 1e-9);
  session.AdvanceClock(1);
  EXPECT_NEAR(Value(), 0.6, 1e-9);
  // 0.1 puts the thumb's centre at 41, left of the pointer at 45.
  session.AdvanceClock(2000);
  EXPECT_NEAR(Value(), 0.1, 1e-9);
  Release(45);
  EXPECT_EQ(ScrollHighWords(qz::StopRecording()), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SliderWindowTest, PageClickRightOfTheThumbPagesUp) {
  AddSlider(0.0, {});
  Press(TrackRight);
  Release(TrackRight);
  EXPECT_NEAR(Value(), 0.1, 1e-12);
}

TEST_F(SliderWindowTest, MovingThePointerWhilePagingMovesTheTarget) {
  AddSlider(0.9, {});
  Press(150);  // the first page: 0.8, centre at 166
  MoveTo(45);
  session.AdvanceClock(280 + 70 * 10);
  EXPECT_NEAR(Value(), 0.1, 1e-9);
  Release(45);
}

TEST_F(SliderWindowTest, ReleasingStopsTheRepeat) {
  AddSlider(0.9, {});
  Press(45);
  Release(45);
  session.AdvanceClock(1000);
  EXPECT_NEAR(Value(), 0.8, 1e-9);
}

TEST_F(SliderWindowTest, EndAtTheMaximumStillPostsOneScrollWithHighWordOne) {
  AddSlider(1.0, {});
  Focus();
  session.ClearWrites();
  qz::StartRecording();
  Key(WM_KEYDOWN, VK_END);
  Key(WM_KEYUP, VK_END);
  EXPECT_EQ(ScrollHighWords(qz::StopRecording()), std::vector<int>{1});
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(SliderWindowTest, AutoRepeatedKeysPostHighWordZero) {
  AddSlider(0.5, {});
  Focus();
  qz::StartRecording();
  Key(WM_KEYDOWN, VK_RIGHT);
  Key(WM_KEYDOWN, VK_RIGHT, true);
  Key(WM_KEYDOWN, VK_RIGHT, true);
  Key(WM_KEYUP, VK_RIGHT);
  EXPECT_EQ(ScrollHighWords(qz::StopRecording()), (std::vector<int>{1, 0, 0}));
  EXPECT_NEAR(Value(), 0.503, 1e-12);
}

TEST_F(SliderWindowTest, OtherKeysReportNothing) {
  AddSlider(0.5, {});
  Focus();
  qz::StartRecording();
  Key(WM_KEYDOWN, 'A');
  Key(WM_KEYUP, 'A');
  EXPECT_TRUE(ScrollHighWords(qz::StopRecording()).empty());
}

TEST_F(SliderWindowTest, DragPostsHighWordOneOnlyForItsFirstChange) {
  AddSlider(0.5, {});
  qz::StartRecording();
  Press(TrackCentre);
  MoveTo(TrackCentre);  // no movement yet
  MoveTo(TrackCentre + 10);
  MoveTo(TrackCentre + 20);
  MoveTo(TrackCentre + 20);  // no change
  Release(TrackCentre + 20);
  EXPECT_EQ(ScrollHighWords(qz::StopRecording()), (std::vector<int>{1, 0}));
}

TEST_F(SliderWindowTest, GrabOffsetIsKeptWhileDragging) {
  AddSlider(0.5, {});
  Press(TrackCentre + 3);
  MoveTo(TrackLeft + 3);
  EXPECT_EQ(Value(), 0.0);
  Release(TrackLeft + 3);
}

TEST_F(SliderWindowTest, ReleaseAsksForASyncRender) {
  AddSlider(0.5, {});
  Press(TrackCentre);
  MoveTo(TrackCentre + 30);
  Release(TrackCentre + 30);
  ASSERT_EQ(session.Doc.RenderRequests().size(), 1u);
  EXPECT_EQ(session.Doc.RenderRequests()[0].Type, RenderRequest::Sync);
}

TEST_F(SliderWindowTest, RightPressDuringADragRestoresTheStartValue) {
  AddSlider(0.5, {});
  Press(TrackCentre);
  MoveTo(TrackCentre + 40);
  EXPECT_GT(Value(), 0.5);
  qz::InjectMouseAt(slider, WM_RBUTTONDOWN, TrackCentre + 40, ThumbRow);
  session.Pump();
  EXPECT_EQ(Value(), 0.5);
  EXPECT_EQ(GetCapture(), nullptr);
  MoveTo(TrackCentre + 60);
  EXPECT_EQ(Value(), 0.5);
  EXPECT_EQ(ThumbLeft(), TrackCentre - ThumbWidth / 2);
}

TEST_F(SliderWindowTest, LosingTheCaptureEndsADrag) {
  AddSlider(0.5, {});
  Press(TrackCentre);
  MoveTo(TrackCentre + 20);
  const double dragged = Value();
  SetCapture(session.PanelWindow());
  ReleaseCapture();
  MoveTo(TrackCentre + 60);
  Release(TrackCentre + 60);
  EXPECT_EQ(Value(), dragged);
}

TEST_F(SliderWindowTest, LosingTheCaptureStopsPaging) {
  AddSlider(0.9, {});
  Press(45);
  SetCapture(session.PanelWindow());
  ReleaseCapture();
  session.AdvanceClock(1000);
  EXPECT_NEAR(Value(), 0.8, 1e-9);
}

TEST_F(SliderWindowTest, PressesAwayFromTheTrackDoNothing) {
  AddSlider(0.5, {});
  qz::StartRecording();
  Press(TrackLeft - 15);  // beyond the paging margin
  Release(TrackLeft - 15);
  Press(60, ThumbTop + ThumbHeight + 4);  // below the track
  Release(60, ThumbTop + ThumbHeight + 4);
  EXPECT_TRUE(ScrollHighWords(qz::StopRecording()).empty());
  EXPECT_EQ(Value(), 0.5);
}

TEST_F(SliderWindowTest, ReadOnlySliderIgnoresInputAndHidesTheThumb) {
  AddSlider(0.5, {{tag::ReadOnly, 1}});
  Press(TrackCentre);
  MoveTo(TrackCentre + 40);
  Release(TrackCentre + 40);
  Focus();
  Key(WM_KEYDOWN, VK_END);
  EXPECT_EQ(Value(), 0.5);
  ExpectBand(-1);
}

TEST_F(SliderWindowTest, TurningReadOnlyHidesAThumbAlreadyDrawn) {
  AddSlider(0.5, {});
  EXPECT_EQ(ThumbLeft(), TrackCentre - ThumbWidth / 2);
  session.ApplyAttributes(control, {{tag::ReadOnly, 1}});
  ExpectBand(-1);
}

TEST_F(SliderWindowTest, ThumbSurvivesAPendingRepaintOfItsParent) {
  AddSlider(0.2, {});
  session.ApplyAttributes(control, {{tag::SliderLeftLabel, "Other"}});  // repaints the whole control later
  AutoNumber moved(new Number(0.8));
  input->SetValue(moved, session.Doc.CurrentTime, 1);
  ExpectBand(TrackLeft + static_cast<int>(178 * 0.8) - ThumbWidth / 2);
}

TEST_F(SliderWindowTest, ThumbIsDrawnOverTheParentBackground) {
  AddSlider(0.25, {});
  ExpectBand(TrackLeft + 178 / 4 - ThumbWidth / 2);
}

TEST_F(SliderWindowTest, AMovedThumbLeavesNoResidue) {
  AddSlider(0.2, {});
  const int before = ThumbLeft();
  AutoNumber moved(new Number(0.8));
  input->SetValue(moved, session.Doc.CurrentTime, 1);
  const int after = TrackLeft + static_cast<int>(178 * 0.8) - ThumbWidth / 2;
  EXPECT_NE(before, after);
  ExpectBand(after);
}

TEST_F(SliderWindowTest, ThumbFollowsADragStepByStepWithoutResidue) {
  AddSlider(0.5, {});
  Press(TrackCentre);
  for (int x = TrackCentre + 1; x <= TrackCentre + 7; ++x) MoveTo(x);
  const int left = ThumbLeft();
  EXPECT_NEAR(left, TrackCentre + 7 - ThumbWidth / 2, 1);
  ExpectBand(left);
  Release(TrackCentre + 7);
}

TEST_F(SliderWindowTest, ThumbRepaintIsNarrow) {
  AddSlider(0.5, {});
  RECT update;
  EXPECT_FALSE(GetUpdateRect(slider, &update, FALSE));
  qz::StartRecording();
  Press(TrackCentre);
  MoveTo(TrackCentre + 5);
  std::vector<qz::RecordedMessage> recorded = qz::StopRecording();
  int erases = 0, paints = 0, parentPaints = 0;
  const HWND parent = control->Wnd->m_hWnd;
  for (const qz::RecordedMessage& m : recorded) {
    if (m.message == WM_ERASEBKGND && (m.hwnd == slider || m.hwnd == parent)) ++erases;
    if (m.message == WM_PAINT && m.hwnd == slider) ++paints;
    if (m.message == WM_PAINT && m.hwnd == parent) ++parentPaints;
  }
  EXPECT_EQ(erases, 0);
  EXPECT_GE(paints, 1);
  EXPECT_EQ(parentPaints, 0);
  Release(TrackCentre + 5);
}

TEST_F(SliderWindowTest, EditFieldUsesTheSliderColours) {
  AddSlider(0.0, {{tag::Decimals, 0}});  // a short text leaves the right of the field empty
  HWND edit = GetDlgItem(slider, EditId);
  ASSERT_NE(edit, nullptr);
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(edit, &width, &height, &pixels));
  ResColour colours(100112);
  ASSERT_TRUE(colours.Load());
  // Inside the client edge, right of any text.
  const COLORREF c = colours.Background;
  const uint32_t expected = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  EXPECT_EQ(pixels[(height / 2) * width + width - 4], expected);
}

TEST_F(SliderWindowTest, LeavingTheEditFieldCompletesTheEntry) {
  AddSlider(0.5, {});
  HWND edit = GetDlgItem(slider, EditId);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  qz::TypeText("0.25");
  EXPECT_EQ(Value(), 0.5);
  Press(60, ThumbTop + ThumbHeight + 4);  // the slider takes the focus
  Release(60, ThumbTop + ThumbHeight + 4);
  EXPECT_EQ(GetFocus(), slider);
  EXPECT_EQ(Value(), 0.25);
}

// ---- extreme ranges: whatever the user does, every value written is finite ----

constexpr double Huge = std::numeric_limits<double>::max();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct ExtremeRange {
  const char* name;
  double value;
  TagList attributes;
};

// Drags across the whole track, then every stepping key, and checks each
// value the input was given.
TEST_F(SliderWindowTest, ExtremeRangesNeverWriteANonFiniteValue) {
  const ExtremeRange cases[] = {
      {"0 to max", 0.0, {{tag::RangeMin, 0.0}, {tag::RangeMax, Huge}}},
      {"-max to max", 0.0, {{tag::RangeMin, -Huge}, {tag::RangeMax, Huge}}},
      {"-max to max, default", 0.0, {{tag::RangeMin, -Huge}, {tag::RangeMax, Huge}, {tag::DefaultValue, Huge / 2}}},
      {"default at max", Huge, {{tag::RangeMin, -Huge}, {tag::RangeMax, Huge}, {tag::DefaultValue, Huge}}},
      {"integer snap at max",
       Huge,
       {{tag::RangeMin, -Huge}, {tag::RangeMax, Huge}, {tag::Integer, 1}, {tag::Snap, 1}, {tag::StepCount, 3}}},
      {"integer snap, default",
       0.0,
       {{tag::RangeMin, 0.0}, {tag::RangeMax, Huge}, {tag::Integer, 1}, {tag::Snap, 1}, {tag::DefaultValue, 1.0}}},
      {"backwards, huge", 0.0, {{tag::RangeMin, Huge}, {tag::RangeMax, -Huge}, {tag::DefaultValue, 0.0}}},
  };
  for (const ExtremeRange& c : cases) {
    SCOPED_TRACE(c.name);
    AddSlider(c.value, c.attributes);
    Press(ThumbLeft() + ThumbWidth / 2);
    for (int x = TrackLeft - 5; x <= TrackRight + 5; x += 7) MoveTo(x);
    Release(TrackRight + 5);
    Focus();
    for (int vk : {VK_HOME, VK_RIGHT, VK_NEXT, VK_NEXT, VK_END, VK_LEFT, VK_PRIOR, VK_PRIOR, VK_HOME, VK_LEFT}) {
      Key(WM_KEYDOWN, vk);
      Key(WM_KEYUP, vk);
    }
    Press(TrackRight - 2, ThumbRow);  // paging with repeats
    session.AdvanceClock(1000);
    Release(TrackRight - 2, ThumbRow);
    ASSERT_FALSE(session.Writes().empty());
    for (const Write& write : session.Writes())
      EXPECT_TRUE(write.Value.find("inf") == std::string::npos && write.Value.find("nan") == std::string::npos)
          << write.Value;
    session.ClearWrites();
    session.RemovePanelControl(control);
  }
}

// From 0 to the largest double, a drag reaches every part of the range in
// order and its right end is the maximum itself.
TEST_F(SliderWindowTest, ARangeUpToTheLargestDoubleMapsLinearly) {
  AddSlider(0.0, {{tag::RangeMax, Huge}});
  Press(TrackLeft);
  MoveTo(TrackCentre);
  EXPECT_NEAR(Value() / Huge, 89.0 / 178.0, 1e-12);
  MoveTo(TrackRight + 1);
  EXPECT_EQ(Value(), Huge);
  Release(TrackRight + 1);
}

// A range given backwards is the same range in order: Right steps up,
// Left steps down, and the value stays within it.
TEST_F(SliderWindowTest, ABackwardsRangeStepsTheWayTheKeysPoint) {
  AddSlider(5.0, {{tag::RangeMin, 10.0}, {tag::RangeMax, 0.0}, {tag::StepCount, 11}});
  Focus();
  Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_DOUBLE_EQ(Value(), 6.0);
  Key(WM_KEYDOWN, VK_LEFT);
  Key(WM_KEYDOWN, VK_LEFT);
  EXPECT_DOUBLE_EQ(Value(), 4.0);
  Key(WM_KEYDOWN, VK_END);
  EXPECT_EQ(Value(), 10.0);
  Key(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(Value(), 0.0);
}

// Range and default attributes that are not finite are refused: the
// slider keeps the previous ones.
TEST_F(SliderWindowTest, NonFiniteRangeAndDefaultAttributesAreRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  AddSlider(0.5, {{tag::RangeMin, -Inf}, {tag::RangeMax, nan}, {tag::DisplayMax, Inf}, {tag::DefaultValue, nan}});
  Focus();
  Key(WM_KEYDOWN, VK_END);
  EXPECT_EQ(Value(), 1.0);
  Key(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(Value(), 0.0);
  // Without a default the middle of the track is 0.5.
  AutoNumber half(new Number(0.5));
  input->SetValue(half, session.Doc.CurrentTime, 1);
  EXPECT_EQ(ThumbLeft(), TrackLeft + 89 - ThumbWidth / 2);
  session.ApplyAttributes(control, {{tag::RangeMax, 4.0}, {tag::RangeMin, nan}});
  Key(WM_KEYDOWN, VK_END);
  EXPECT_EQ(Value(), 4.0);
  // Step and page counts that are not finite keep the 1001 positions.
  session.ApplyAttributes(control, {{tag::StepCount, nan}, {tag::SliderPages, Inf}});
  Key(WM_KEYDOWN, VK_HOME);
  Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_DOUBLE_EQ(Value(), 0.004);
  Key(WM_KEYDOWN, VK_NEXT);
  EXPECT_DOUBLE_EQ(Value(), 0.404);
}

// A host value that is not a number shows at the minimum; stepping from
// there writes finite values.
TEST_F(SliderWindowTest, StepsFromAValueThatIsNotANumberAreFinite) {
  AddSlider(std::numeric_limits<double>::quiet_NaN(), {{tag::RangeMax, 10.0}, {tag::StepCount, 11}});
  Focus();
  Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Value(), 1.0);
}

}  // namespace
}  // namespace qzh
