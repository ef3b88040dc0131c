#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "frame/tags.h"
#include "harness/session.h"
#include "module_fixture.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/resources.h"

namespace qzh {
namespace {

using namespace qzc;

constexpr int SliderId = 1001;
constexpr int EditId = 10101;
constexpr int TrackLeft = 24;
constexpr int TrackCentre = 113;
constexpr int ThumbRow = 9;

class SliderControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Grade"); }

  InputControl* AddSlider(double value, const TagList& attributes, const char* name = "Gain") {
    input = session.AddNumberInput(tool, name, value);
    control = session.AddPanelControl("SliderControl", attributes, {input});
    EXPECT_NE(control, nullptr);
    if (!control) return nullptr;
    slider = GetDlgItem(control->Wnd->m_hWnd, SliderId);
    edit = GetDlgItem(slider, EditId);
    session.Pump();
    session.ClearWrites();
    return control;
  }

  double Value() { return session.NumberValue(input); }
  void HostWrites(double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
    session.Pump();
  }

  static std::string TextOf(HWND hwnd) {
    char text[128] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  // The labels are the control window's first two children.
  HWND NameLabel() const { return GetWindow(control->Wnd->m_hWnd, GW_CHILD); }
  HWND SideLabel() const { return GetWindow(NameLabel(), GW_HWNDNEXT); }

  void Key(int vk) {
    qz::InjectKey(WM_KEYDOWN, vk);
    qz::InjectKey(WM_KEYUP, vk);
    session.Pump();
  }
  void Drag(int from, int to) { session.Drag(slider, POINT{from, ThumbRow}, POINT{to, ThumbRow}); }
  void TypeAndEnter(const char* text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }
  // The value the control shows, as it writes it to an input being
  // disconnected: here a spare input holding a value no test uses.
  double Shown() {
    if (!probe) probe = session.AddNumberInput(tool, "Probe", 0.0, 7);
    AutoNumber unused(new Number(-12345.0));
    probe->SetValue(unused, session.Doc.CurrentTime, 1);
    control->OnDisconnect(probe);
    return session.NumberValue(probe);
  }
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

  Session session;
  Operator* tool = nullptr;
  Input* input = nullptr;
  InputControl* control = nullptr;
  HWND slider = nullptr;
  HWND edit = nullptr;
  Input* probe = nullptr;
};

TEST_F(SliderControlTest, OpensAtTheBackgroundPictureSizeWithItsWindowsInPlace) {
  AddSlider(0.5, {});
  EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 32));
  EXPECT_EQ(PlaceOf(slider), CRect(0, 0, 276, 32));
  EXPECT_EQ(PlaceOf(edit), CRect(224, 2, 274, 20));
  EXPECT_EQ(PlaceOf(NameLabel()), CRect(4, 15, 220, 30));
  EXPECT_EQ(PlaceOf(SideLabel()), CRect(114, 15, 220, 30));
  EXPECT_TRUE(GetWindowLongA(slider, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 25);
}

TEST_F(SliderControlTest, WithoutAttributesRunsFromZeroToOneInAThousandStepsWithFourDecimals) {
  AddSlider(0.5, {});
  EXPECT_EQ(TextOf(edit), "0.5000");
  SetFocus(slider);
  Key(VK_RIGHT);
  EXPECT_DOUBLE_EQ(Value(), 0.501);
  Key(VK_END);
  EXPECT_EQ(Value(), 1.0);
  EXPECT_EQ(TextOf(edit), "1.0000");
  // The precision is 0.0001: a host change below it is not shown, but kept.
  HostWrites(0.99996);
  EXPECT_EQ(TextOf(edit), "1.0000");
  EXPECT_EQ(Shown(), 0.99996);
  HostWrites(0.9999);
  EXPECT_EQ(Shown(), 0.9999);
}

TEST_F(SliderControlTest, IntegerWithoutAStepCountHasOnePositionPerWholeNumber) {
  AddSlider(3.0, {{tag::RangeMax, 10.0}, {tag::Integer, 1}});
  EXPECT_EQ(TextOf(edit), "3");
  SetFocus(slider);
  Key(VK_RIGHT);
  EXPECT_EQ(Value(), 4.0);
}

TEST_F(SliderControlTest, IntegerWithAStepCountUsesIt) {
  AddSlider(3.0, {{tag::RangeMax, 10.0}, {tag::Integer, 1}, {tag::StepCount, 6}});
  SetFocus(slider);
  Key(VK_RIGHT);
  EXPECT_EQ(Value(), 5.0);
}

TEST_F(SliderControlTest, TheSecondRangePairWins) {
  AddSlider(5.0, {{tag::RangeMin, 4.0}, {tag::RangeMax, 6.0}, {tag::DisplayMin, -10.0}, {tag::DisplayMax, 10.0}});
  SetFocus(slider);
  Key(VK_HOME);
  EXPECT_EQ(Value(), -10.0);
  Key(VK_END);
  EXPECT_EQ(Value(), 10.0);
}

TEST_F(SliderControlTest, PagesTagSetsThePageSize) {
  AddSlider(0.0, {{tag::SliderPages, 5}});
  SetFocus(slider);
  Key(VK_NEXT);
  EXPECT_DOUBLE_EQ(Value(), 0.25);
}

TEST_F(SliderControlTest, UseAttributesZeroIgnoresTheSliderTagsButNotTheBase) {
  AddSlider(0.5, {{tag::UseAttributes, 0},
                  {tag::RangeMax, 10.0},
                  {tag::Decimals, 1},
                  {tag::SliderLeftLabel, "Ignored"},
                  {ControlFlagsTag, 2}});
  EXPECT_EQ(control->Flags, 2u);
  EXPECT_EQ(TextOf(edit), "0.5000");
  EXPECT_EQ(TextOf(NameLabel()), "Gain");
  SetFocus(slider);
  Key(VK_END);
  EXPECT_EQ(Value(), 1.0);
}

TEST_F(SliderControlTest, ANameGivenByTagIsShownWithALeadingSpace) {
  AddSlider(0.5, {{tag::SliderLeftLabel, "Amount"}, {tag::SliderRightLabel, "dB"}});
  EXPECT_EQ(TextOf(NameLabel()), " Amount");
  EXPECT_EQ(TextOf(SideLabel()), "dB");
}

TEST_F(SliderControlTest, ANameTakenFromTheInputLacksTheSpaceUntilTheLabelsAreRedrawn) {
  AddSlider(0.5, {});
  EXPECT_EQ(TextOf(NameLabel()), "Gain");
  session.ApplyAttributes(control, {{tag::SliderRightLabel, "dB"}});
  EXPECT_EQ(TextOf(NameLabel()), " Gain");
  EXPECT_EQ(TextOf(SideLabel()), "dB");
}

TEST_F(SliderControlTest, OnlyAnInputAtIndexZeroNamesTheControl) {
  Input* other = session.AddNumberInput(tool, "Other", 1.0, 1);
  control = session.AddPanelControl("SliderControl", {}, {other});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(TextOf(NameLabel()), "");
}

TEST_F(SliderControlTest, ChangedLabelsRepaintTheWholeControl) {
  AddSlider(0.5, {{tag::SliderLeftLabel, "Amount"}});
  session.ApplyAttributes(control, {{tag::SliderLeftLabel, "Amount"}});
  RECT update;
  EXPECT_FALSE(GetUpdateRect(control->Wnd->m_hWnd, &update, FALSE));
  session.ApplyAttributes(control, {{tag::SliderLeftLabel, "Strength"}});
  EXPECT_TRUE(GetUpdateRect(control->Wnd->m_hWnd, &update, FALSE));
  EXPECT_EQ(CRect(update), CRect(0, 0, 276, 32));
  EXPECT_EQ(TextOf(NameLabel()), " Strength");
}

TEST_F(SliderControlTest, AHostChangeBelowThePrecisionDoesNotMoveTheSlider) {
  AddSlider(3.0, {{tag::RangeMax, 10.0}, {tag::Decimals, 0}});
  HostWrites(3.4);
  EXPECT_EQ(TextOf(edit), "3");
  EXPECT_EQ(Shown(), 3.4);  // kept exactly, though not shown
  // The thumb of 3 spans 72 to 82, that of 3.4 79 to 89: a click at 73
  // grabs the thumb without moving it rather than paging down.
  session.ClearWrites();
  session.Click(slider, 73, ThumbRow);
  EXPECT_TRUE(session.Writes().empty());
  HostWrites(4.0);
  EXPECT_EQ(Shown(), 4.0);
  EXPECT_EQ(TextOf(edit), "4");
}

// A change too small to show (or, with coarse decimals, any change) is
// still the input's value: disconnecting gives it back unchanged.
TEST_F(SliderControlTest, DisconnectGivesBackAChangeTooSmallToShow) {
  const struct {
    TagList attributes;
    double held;
  } cases[] = {{{}, 0.50001}, {{{tag::Decimals, -18}}, -0.0625}, {{{tag::Integer, 1}}, 2.75}};
  for (const auto& c : cases) {
    AddSlider(0.5, c.attributes);
    HostWrites(c.held);
    control->OnDisconnect(input);
    EXPECT_EQ(Value(), c.held);
    session.RemovePanelControl(control);
  }
}

TEST_F(SliderControlTest, ANewDefaultAloneStillRefreshesTheDisplay) {
  AddSlider(0.5, {});
  session.ApplyAttributes(control, {{tag::DefaultValue, 0.25}});
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  qz::TypeText("0.9");
  // A change below the precision with a new default: the display is rebuilt.
  HostWrites(0.50001);
  EXPECT_EQ(TextOf(edit), "0.5000");
  // The same again with the default unchanged: nothing is redrawn.
  SendMessageA(edit, EM_SETSEL, 0, -1);
  qz::TypeText("0.9");
  HostWrites(0.50002);
  EXPECT_EQ(TextOf(edit), "0.9");
}

TEST_F(SliderControlTest, TypingAValueAndEnterWritesIt) {
  AddSlider(0.5, {});
  session.Doc.SetCurrentTime(4.0, 0);
  session.ClearWrites();
  TypeAndEnter("0.25");
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Value, "0.25");
  EXPECT_EQ(session.Writes()[0].Time, 4.0);
  EXPECT_EQ(TextOf(edit), "0.2500");
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Change"});
}

TEST_F(SliderControlTest, ATypedValueIsSnappedLikeTheSlider) {
  AddSlider(3.0, {{tag::RangeMax, 10.0}, {tag::Integer, 1}, {tag::Snap, 1}});
  TypeAndEnter("6.7");
  EXPECT_EQ(Value(), 6.0);  // the field reads whole numbers, the slider snaps to them
}

TEST_F(SliderControlTest, AnUnchangedTypedValueWritesNothingButRefreshes) {
  AddSlider(0.5, {});
  TypeAndEnter("0.50001");
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(TextOf(edit), "0.5000");
}

TEST_F(SliderControlTest, ADragIsOneUndoStepEndingAtTheFinalValue) {
  AddSlider(0.5, {});
  Drag(TrackCentre, TrackCentre + 40);
  const double dragged = 0.5 + 40.0 / 178.0;
  EXPECT_NEAR(Value(), dragged, 1e-12);
  EXPECT_GE(session.Writes().size(), 2u);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
  EXPECT_EQ(TextOf(edit), "0.7247");
  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(Value(), 0.5);
  EXPECT_EQ(TextOf(edit), "0.5000");
}

// A drag too small to change the value at the control's precision writes
// nothing and puts the thumb back on the value: the thumb of 3 spans 72 to
// 82, that of the dragged 3.15 starts at 74 or beyond, so a click at 73
// grabs it rather than paging down.
TEST_F(SliderControlTest, ADragBelowThePrecisionWritesNothingAndPutsTheThumbBack) {
  AddSlider(3.0, {{tag::RangeMax, 10.0}, {tag::Decimals, 0}});
  Drag(77, 80);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(TextOf(edit), "3");
  session.Click(slider, 73, ThumbRow);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(Value(), 3.0);
}

TEST_F(SliderControlTest, TwoDragsAreTwoUndoSteps) {
  AddSlider(0.5, {});
  Drag(TrackCentre, TrackCentre + 40);
  Drag(TrackCentre + 40, TrackLeft);
  EXPECT_EQ(Value(), 0.0);
  EXPECT_EQ(session.Doc.UndoSteps(), (std::vector<std::string>{"Control Change", "Control Change"}));
}

TEST_F(SliderControlTest, WritesGoOnlyToInputsAtIndexZeroAtTheCurrentTime) {
  input = session.AddNumberInput(tool, "Gain", 0.5, 0);
  Input* other = session.AddNumberInput(tool, "Other", 0.5, 1);
  control = session.AddPanelControl("SliderControl", {}, {input, other});
  slider = GetDlgItem(control->Wnd->m_hWnd, SliderId);
  session.Doc.SetCurrentTime(2.0, 0);
  session.ClearWrites();
  SetFocus(slider);
  Key(VK_END);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Input, "Gain");
  EXPECT_EQ(session.Writes()[0].Time, 2.0);
  EXPECT_EQ(session.NumberValue(other), 0.5);
}

TEST_F(SliderControlTest, DisconnectWritesTheShownValueForNoFrame) {
  AddSlider(0.75, {});
  HostWrites(0.75004);  // not shown at the precision, but kept
  Input* other = session.AddNumberInput(tool, "Other", 0.0, 3);
  session.ClearWrites();
  control->OnDisconnect(other);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Value, "0.75004");
  EXPECT_EQ(session.Writes()[0].Time, -1000000000.0);
  // The input itself already holds that value: nothing changes.
  session.ClearWrites();
  control->OnDisconnect(input);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(Value(), 0.75004);
}

TEST_F(SliderControlTest, ReadOnlyDisablesTheEditField) {
  AddSlider(0.5, {{tag::ReadOnly, 1}});
  EXPECT_FALSE(IsWindowEnabled(edit));
  session.ApplyAttributes(control, {{tag::ReadOnly, 0}});
  EXPECT_TRUE(IsWindowEnabled(edit));
}

TEST_F(SliderControlTest, NegativeDecimalsGiveCoarserSteps) {
  AddSlider(50.0, {{tag::RangeMax, 100.0}, {tag::Decimals, -1}});
  EXPECT_EQ(TextOf(edit), "50");
  HostWrites(54.0);
  EXPECT_EQ(TextOf(edit), "50");  // not shown, though kept
  EXPECT_EQ(Shown(), 54.0);
  HostWrites(56.0);
  EXPECT_EQ(TextOf(edit), "56");
  EXPECT_EQ(Shown(), 56.0);
}

TEST_F(SliderControlTest, TimeTypeShowsATimeCode) {
  AddSlider(48.0, {{tag::RangeMax, 100.0}, {tag::TimeType, 1}});
  EXPECT_EQ(TextOf(edit), "00:00:02:00");
}

TEST_F(SliderControlTest, GetInputAtIsTheFirstInputAnywhere) {
  AddSlider(0.5, {});
  EXPECT_EQ(control->GetInputAt(-5, 900), input);
}

TEST_F(SliderControlTest, LabelsAreDrawnTransparentlyInTheLabelColour) {
  AddSlider(0.5, {{tag::SliderLeftLabel, "Amount"}});
  HDC hdc = GetDC(NameLabel());
  const LRESULT brush = SendMessageA(control->Wnd->m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(NameLabel()));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetBkMode(hdc), TRANSPARENT);
  ResColour colour(100003);
  ASSERT_TRUE(colour.Load());
  EXPECT_EQ(GetTextColor(hdc), colour.Colour);
  ReleaseDC(NameLabel(), hdc);
}

// The host frees its attribute list and texts once applied: the control's
// attribute copy then holds no pointer into them. The name reads back as
// the control's own copy, the labels are not kept there at all.
TEST_F(SliderControlTest, AttributeTextsDoNotOutliveTheHostsList) {
  AddSlider(0.5, {});
  {
    auto name = std::make_unique<std::string>("Exposure");
    auto left = std::make_unique<std::string>("Left");
    auto right = std::make_unique<std::string>("stops");
    auto tags = std::make_unique<TagList>(TagList{{ControlNameTag, static_cast<const void*>(name->c_str())},
                                                  {tag::SliderLeftLabel, static_cast<const void*>(left->c_str())},
                                                  {tag::SliderRightLabel, static_cast<const void*>(right->c_str())}});
    control->SetAttrsTagList(*tags);
  }
  intptr_t kept = 0;
  ASSERT_EQ(control->CopyAttr(ControlNameTag, &kept), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(kept), "Exposure");
  EXPECT_EQ(control->CopyAttr(tag::SliderLeftLabel, &kept), 0u);
  EXPECT_EQ(control->CopyAttr(tag::SliderRightLabel, &kept), 0u);
  session.Pump();
  EXPECT_EQ(TextOf(SideLabel()), "stops");
}

// A layout resource with coordinates no panel can hold: each such number is
// replaced by its built-in value, the others are used.
TEST(SliderControlWithExtremeLayout, OutOfRangeCoordinatesFallBackToTheBuiltInValues) {
  ModuleEnvironment::Instance().Unload();
  char folder[] = "/tmp/qz-slider-layoutXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/100002.tags";
  {
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    const long long values[16] = {
        -2147483647, -2147483648LL, 2147483647, 9223372036854775807LL,  230, 4,   270, 18, -2147483647,
        2147483647,  -2147483648LL, 40000,      -9223372036854775807LL, 15,  220, 30};
    for (int i = 0; i < 16; ++i) std::fprintf(file, "0x%x %lld\n", tag::SliderLayout + i, values[i]);
    std::fclose(file);
  }
  const std::string thumb = std::string(folder) + "/100000.png";
  std::filesystem::copy_file(GetResourceDir() + "/100000.png", thumb);
  SetResourceDir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
  {
    Session session;
    Operator* tool = session.AddTool("Grade");
    Input* input = session.AddNumberInput(tool, "Gain", 0.5);
    InputControl* control = session.AddPanelControl("SliderControl", {}, {input});
    ASSERT_NE(control, nullptr);
    session.Pump();
    HWND slider = GetDlgItem(control->Wnd->m_hWnd, SliderId);
    RECT edit;
    GetWindowRect(GetDlgItem(slider, EditId), &edit);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    EXPECT_EQ(CRect(edit) - origin, CRect(230, 4, 270, 18));
    RECT name;
    GetWindowRect(GetWindow(control->Wnd->m_hWnd, GW_CHILD), &name);
    EXPECT_EQ(CRect(name) - origin, CRect(4, 15, 220, 30));
    // The track keeps its built-in ends: a press at its left end gives the minimum.
    SetFocus(slider);
    qz::InjectKey(WM_KEYDOWN, VK_HOME);
    session.Pump();
    session.Drag(slider, POINT{TrackLeft, ThumbRow}, POINT{TrackCentre, ThumbRow});
    EXPECT_NEAR(session.NumberValue(input), 89.0 / 178.0, 1e-3);
  }
  ModuleEnvironment::Instance().Unload();
  SetResourceDir(nullptr);
  unlink(path.c_str());
  unlink(thumb.c_str());
  rmdir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
}

// Run with an empty resource store: a module loaded afresh finds none of
// its pictures or layouts.
TEST(SliderControlWithoutResources, FillsThePanelColourAndKeepsItsHeight) {
  ModuleEnvironment::Instance().Unload();
  char folder[] = "/tmp/qz-slider-noresXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  SetResourceDir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
  {
    Session session;
    Operator* tool = session.AddTool("Grade");
    Input* input = session.AddNumberInput(tool, "Gain", 0.5);
    InputControl* control = session.AddPanelControl("SliderControl", {}, {input});
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, 32));
    session.Pump();
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(qz::CaptureWindow(control->Wnd->m_hWnd, &width, &height, &pixels));
    EXPECT_EQ(pixels[9 * width + 100], 0x404040u);
    // Without the thumb picture the slider still works from the keyboard.
    SetFocus(GetDlgItem(control->Wnd->m_hWnd, SliderId));
    qz::InjectKey(WM_KEYDOWN, VK_END);
    session.Pump();
    EXPECT_EQ(session.NumberValue(input), 1.0);
  }
  ModuleEnvironment::Instance().Unload();
  SetResourceDir(nullptr);
  rmdir(folder);
  ASSERT_TRUE(ModuleEnvironment::Instance().Load());
}

// The slider reads the value in its own AddInput as well as being handed it
// by the host: the number must be shown once and nothing written.
TEST_F(SliderControlTest, ConnectingToAnOpenSliderShowsTheValueOnce) {
  AddSlider(0.5, {});
  Input* other = session.AddNumberInput(tool, "Other", 0.75);
  qz::StartRecording();
  control->AddInput(other);
  std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [&](const qz::RecordedMessage& m) { return m.hwnd == edit && m.message == WM_SETTEXT; }),
            1);
  EXPECT_EQ(TextOf(edit), "0.7500");
  EXPECT_TRUE(session.ControlWrites().empty());
}

// The host opens the panel before it connects the inputs: the thumb and the
// number must show the held value exactly as a slider opened on it does,
// and a disconnect must leave the input as it was.
TEST_F(SliderControlTest, OpenedInTheHostsOrderShowsTheHeldValueAndKeepsIt) {
  const TagList attributes{{tag::SliderLeftLabel, "Gain"}, {tag::DefaultValue, 0.5}};
  input = session.AddNumberInput(tool, "Gain", 0.8);
  control = session.AddPanelControl("SliderControl", attributes, {input});
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(TextOf(FindChild(control, Role::Edit)), "0.8000");
  EXPECT_TRUE(session.ControlWrites().empty());
  session.Pump();
  int width = 0, height = 0;
  std::vector<uint32_t> hostOrder;
  ASSERT_TRUE(qz::CaptureWindow(control->Wnd->m_hWnd, &width, &height, &hostOrder));

  // The same slider connected before it opens, and one on the default.
  auto pictureOf = [&](double value) {
    Input* held = session.AddNumberInput(tool, "Gain", value);
    InputControl* opened = CreatePanelControl("SliderControl");
    TagList tags{{ControlDocTag, static_cast<const void*>(&session.Doc)},
                 {ControlFontTag, static_cast<const void*>(session.PanelFont())}};
    tags.Merge(attributes);
    opened->SetAttrsTagList(tags);
    opened->AddInput(held);
    opened->Position = CPoint(0, 100);
    CRect rect(0, 0, Session::DefaultPanelWidth, 0);
    std::vector<uint32_t> pixels;
    if (opened->Open(session.Panel(), rect)) {
      opened->Wnd->MoveWindow(0, 100, rect.right, rect.bottom, TRUE);
      session.Pump();
      qz::CaptureWindow(opened->Wnd->m_hWnd, &width, &height, &pixels);
    }
    delete opened;
    return pixels;
  };
  EXPECT_TRUE(pictureOf(0.8) == hostOrder);
  EXPECT_FALSE(pictureOf(0.5) == hostOrder);

  session.DisconnectInput(control, input);
  EXPECT_EQ(Value(), 0.8);
  EXPECT_TRUE(session.ControlWrites().empty());
}

}  // namespace
}  // namespace qzh
