#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "harness/module.h"
#include "module_fixture.h"
#include "qzsystem/resources.h"
#include "screw_scene.h"

namespace {

// Allocations through the no-throw operator new succeed this many more times
// (all of them while negative), then fail as when memory is exhausted; the
// module makes its controls, windows and values that way. Every form of new
// and delete is replaced so that they stay paired.
std::atomic<int> NoThrowLeft{-1};

}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  int left = NoThrowLeft.load();
  while (left >= 0) {
    if (left == 0) return nullptr;
    if (NoThrowLeft.compare_exchange_weak(left, left - 1)) break;
  }
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace qzh {
namespace {

using namespace qzc;

class ScrewControlTest : public ScrewScene {
 protected:
  // A child's rectangle in the control window's coordinates.
  CRect PlaceOf(HWND hwnd) const {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    CRect place(rc);
    place -= origin;
    return place;
  }
  // The value the control shows, as it hands it to an input being
  // disconnected: here a spare input.
  // The number the field shows.
  double Shown() { return std::stod(EditText()); }
};

TEST(ScrewControlRegistry, IsRegisteredAsAPanelControl) {
  bool found = false;
  for (const ClassInfo& info : ControlClasses()) {
    if (info.Name != "ScrewControl") continue;
    found = true;
    EXPECT_EQ(IdText(info.Id), "ScrC");
    EXPECT_EQ(info.Type, 2048);
  }
  EXPECT_TRUE(found);
}

TEST_F(ScrewControlTest, OpensAsWideAsTheWheelWithTheFieldInsideIt) {
  AddScrew(0.25, {{tag::ControlName, "Size"}});
  EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 32));
  EXPECT_EQ(PlaceOf(wheel), CRect(0, 0, 276, 32));
  EXPECT_EQ(PlaceOf(edit), CRect(224, 2, 274, 20));
  EXPECT_EQ(GetParent(edit), wheel);
  EXPECT_TRUE(GetWindowLongA(wheel, GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_TRUE(GetWindowLongA(wheel, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 25);
  EXPECT_EQ(EditText(), "0.2500");
}

// Until an input is connected the control shows its own value and its
// wheel and field write nothing.
TEST_F(ScrewControlTest, OpenWithoutAnInputShowsTheDefaultAndWritesNothing) {
  control = session.AddPanelControl("ScrewControl", {}, {});
  ASSERT_NE(control, nullptr);
  wheel = GetDlgItem(control->Wnd->m_hWnd, WheelId);
  edit = GetDlgItem(wheel, ScrewEditId);
  EXPECT_EQ(EditText(), "0.5000");
  DragWheel(50, 90);
  Key(VK_NEXT);
  TypeAndEnter("0.75");
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(EditText(), "0.5000");
}

struct StepCase {
  const char* name;
  TagList attributes;
  double start;
  int key;
  double expected;
};

class ScrewStepTest : public ScrewControlTest, public ::testing::WithParamInterface<StepCase> {};

// The steps set the step and page sizes; the steps alone set the scale.
TEST_P(ScrewStepTest, KeysMoveByTheStepsOfTheAttributes) {
  const StepCase& c = GetParam();
  AddScrew(c.start, c.attributes);
  Key(c.key);
  EXPECT_NEAR(Value(), c.expected, 1e-12);
  EXPECT_FALSE(std::isnan(Value()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ScrewStepTest,
    ::testing::Values(
        // 1001 steps over 0 to 1: a step of 0.001, a page of 99 steps.
        StepCase{"DefaultPage", {}, 0.5, VK_NEXT, 0.599},
        // 11 steps alone: the scale runs from 0 to 10, so End goes to 10.
        StepCase{"ElevenStepsMakeTheScale", {{tag::StepCount, 11}}, 3.0, VK_END, 10.0},
        StepCase{"UpperGivenToo", {{tag::StepCount, 11}, {tag::RangeMax, 5.0}}, 3.0, VK_END, 5.0},
        // 101 steps: 10 to a page, 9 steps of 1.
        StepCase{"HundredAndOneSteps", {{tag::StepCount, 101}}, 50.0, VK_PRIOR, 41.0},
        // Ten steps or fewer make a page of one step: Page Up and Down stay.
        StepCase{"TenStepsPageStays", {{tag::StepCount, 10}}, 4.0, VK_NEXT, 4.0},
        StepCase{"FiveStepsPageStays", {{tag::StepCount, 5}}, 2.0, VK_PRIOR, 2.0},
        // No steps at all: counted as one step, a page of 1; nothing divides by zero.
        StepCase{"ZeroStepsPageStays", {{tag::StepCount, 0}}, 0.5, VK_NEXT, 0.5},
        StepCase{"ZeroStepsStillStep", {{tag::StepCount, 0}, {tag::RangeMax, 1.0}}, 0.5, VK_DOWN, 1.0},
        // Divisions given: 5 pages, 4 steps each.
        StepCase{"Divisions", {{tag::ScrewDivisions, 5}}, 0.5, VK_NEXT, 0.504},
        StepCase{"SecondRangePairWins",
                 {{tag::RangeMin, 4.0}, {tag::RangeMax, 6.0}, {tag::DisplayMin, -10.0}, {tag::DisplayMax, 10.0}},
                 0.0,
                 VK_HOME,
                 -10.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrewControlTest, ATypedValueOutsideTheScaleIsSentAsTyped) {
  AddScrew(0.5, {});
  session.Doc.SetCurrentTime(6.0, 0);
  session.ClearWrites();
  TypeAndEnter("-25.5");
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Value, "-25.5");
  EXPECT_EQ(session.Writes()[0].Time, 6.0);
  EXPECT_EQ(EditText(), "-25.5000");
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Change"});
}

// One decimal: changes below 0.05 count as none.
TEST_F(ScrewControlTest, AChangeBelowThePrecisionSendsNothing) {
  AddScrew(0.5, {{tag::Decimals, 1}});
  EXPECT_EQ(EditText(), "0.5");
  Key(VK_DOWN);  // a step of 0.001
  Press(LeftArrowX);
  session.AdvanceClock(300);
  Release(LeftArrowX);
  DragWheel(100, 101);  // one pixel: 1 / 192
  TypeAndEnter("0.53");
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(EditText(), "0.5");
  HostWrites(0.54);
  EXPECT_EQ(Shown(), 0.5);
  Key(VK_NEXT);  // a page: 0.099
  EXPECT_NEAR(Value(), 0.599, 1e-12);
}

TEST_F(ScrewControlTest, ReadOnlyTogglingReNotifiesTheControl) {
  AddScrew(0.5, {});
  int width = 0;
  const std::vector<uint32_t> enabled = Capture(wheel, &width);
  session.ApplyAttributes(control, {{tag::ReadOnly, 1}});
  EXPECT_FALSE(IsWindowEnabled(edit));
  EXPECT_NE(Capture(wheel, &width), enabled);  // the strip and arrows are gone at once
  Key(VK_DOWN);
  EXPECT_TRUE(session.Writes().empty());
  session.ApplyAttributes(control, {{tag::ReadOnly, 0}});
  EXPECT_TRUE(IsWindowEnabled(edit));
  EXPECT_EQ(Capture(wheel, &width), enabled);
  Key(VK_DOWN);
  EXPECT_NEAR(Value(), 0.501, 1e-12);
}

// The host may hand the same value again (when an input is connected, for
// one): it is shown once and nothing goes out.
TEST_F(ScrewControlTest, AValueHeardAgainIsShownOnceAndWritesNothing) {
  AddScrew(0.25, {});
  AutoNumber same(new Number(0.25));
  qz::StartRecordingDraws();
  control->NotifyChanged(input, same);
  session.Pump();
  EXPECT_TRUE(qz::StopRecordingDraws().empty());
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(EditText(), "0.2500");
}

TEST_F(ScrewControlTest, ValuesThatAreNoNumbersAreNotTakenOrSent) {
  AddScrew(0.25, {});
  for (const double odd : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    AutoNumber number(new Number(odd));
    control->NotifyChanged(input, number);
  }
  AutoParameter text(new Text("0.75"));
  control->NotifyChanged(input, text);
  EXPECT_EQ(Shown(), 0.25);
  session.ClearWrites();
  TypeAndEnter("inf");
  TypeAndEnter("nan");
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(EditText(), "0.2500");
}

// The control is made first, then its wheel: without the wheel there is no
// control, and nothing stays allocated.
TEST(ScrewControlMemory, ACreatorThatCannotMakeTheWheelReturnsNull) {
  NoThrowLeft = 1;
  InputControl* control = CreatePanelControl("ScrewControl");
  NoThrowLeft = -1;
  EXPECT_EQ(control, nullptr);
  delete control;
  // Its off-screen picture missing, the wheel still makes a control.
  NoThrowLeft = 2;
  control = CreatePanelControl("ScrewControl");
  NoThrowLeft = -1;
  EXPECT_NE(control, nullptr);
  delete control;
}

TEST_F(ScrewControlTest, AValueThatCannotBeMadeIsNotSent) {
  AddScrew(0.5, {});
  SetFocus(wheel);
  qz::InjectKey(WM_KEYDOWN, VK_DOWN);
  NoThrowLeft = 0;
  session.Pump();
  NoThrowLeft = -1;
  qz::PressKey(VK_DOWN);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_NEAR(Value(), 0.501, 1e-12);
}

TEST_F(ScrewControlTest, DisconnectGivesTheInputBackItsOwnValue) {
  AddScrew(0.75, {});
  HostWrites(0.75004);  // below the precision: the control still shows 0.75
  session.ClearWrites();
  control->OnDisconnect(input);
  EXPECT_EQ(session.NumberValue(input), 0.75004);
  Key(VK_DOWN);
  session.ClearWrites();
  control->OnDisconnect(input);
  EXPECT_EQ(session.NumberValue(input), 0.751);
}

TEST_F(ScrewControlTest, IntegerInputsTakeWholeNumbers) {
  AddScrew(3.0, {{tag::StepCount, 21}, {tag::Integer, 1}});
  EXPECT_EQ(EditText(), "3");
  Key(VK_DOWN);
  EXPECT_EQ(Value(), 4.0);
  HostWrites(4.4);
  EXPECT_EQ(Shown(), 4.0);
}

// Run with an empty resource store: a module loaded afresh finds none of
// the wheel's pictures, colours or layout.
TEST(ScrewControlWithoutResources, OpensAtItsUsualSizeInThePanelColourAndStillTurns) {
  ModuleEnvironment::Instance().Unload();
  char folder[] = "/tmp/qz-screw-noresXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  SetResourceDir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
  {
    Session session;
    Input* input = session.AddNumberInput(session.AddTool("Transform"), "Size", 0.5);
    InputControl* control = session.AddPanelControl("ScrewControl", {{tag::ControlName, "Size"}}, {input});
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 32));
    HWND wheel = GetDlgItem(control->Wnd->m_hWnd, WheelId);
    session.Pump();
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(qz::CaptureWindow(wheel, &width, &height, &pixels));
    EXPECT_EQ(pixels[WheelRow * width + 100], 0x404040u);
    session.Drag(wheel, POINT{100, WheelRow}, POINT{140, WheelRow});  // the built-in layout
    qz::InjectMouseAt(wheel, WM_LBUTTONDOWN, LeftArrowX, WheelRow);   // no arrow to press
    session.Pump();
    SetFocus(wheel);
    qz::PressKey(VK_DOWN);
    EXPECT_NEAR(session.NumberValue(input), 0.5 + 40.0 / WheelWidth + 0.001, 1e-12);
  }
  ModuleEnvironment::Instance().Unload();
  SetResourceDir(nullptr);
  rmdir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
}

}  // namespace
}  // namespace qzh
