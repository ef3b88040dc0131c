#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "module_fixture.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/prefs.h"

namespace qzh {
namespace {

using namespace qzc;

constexpr int SwatchId = 2020;
constexpr int PickId = 2021;
constexpr int FirstFieldId = 30101;
constexpr int FirstSliderId = 1001;
constexpr const char* ChannelNames[4] = {"Red", "Green", "Blue", "Alpha"};

// One colour control and the inputs it edits.
struct Shown {
  InputControl* Control = nullptr;
  std::vector<Input*> Inputs;

  HWND Item(int id) const { return GetDlgItem(Control->Wnd->m_hWnd, id); }
  HWND Field(int channel) const { return Item(FirstFieldId + channel); }
};

std::string TextOf(HWND hwnd) {
  char text[128] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

POINT Centre(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return POINT{rc.right / 2, rc.bottom / 2};
}

// A point of `to` in the client coordinates of `from`.
POINT Translate(HWND to, POINT at, HWND from) {
  ClientToScreen(to, &at);
  ScreenToClient(from, &at);
  return at;
}

class ColourControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPrefs();
    qz::ResetDialogResponder();
    tool = session.AddTool("Grade");
  }
  void TearDown() override {
    ResetPrefs();
    qz::ResetDialogResponder();
  }

  // Three values make a colour without alpha, four one with it; the inputs
  // share `group`, and are connected before the control opens.
  Shown AddColour(const std::vector<double>& values, int group = 1, const TagList& attributes = {}) {
    Shown shown;
    const TagList inGroup{{tag::ControlGroup, group}};
    for (size_t c = 0; c < values.size(); ++c) {
      const std::string name = ChannelNames[c] + std::to_string(group);
      shown.Inputs.push_back(session.AddInput(tool, name.c_str(), new Number(values[c]), static_cast<int>(c), inGroup));
    }
    shown.Control = session.AddConnectedPanelControl("ColourControl", attributes, shown.Inputs);
    EXPECT_NE(shown.Control, nullptr);
    session.Pump();
    session.ClearWrites();
    return shown;
  }

  std::vector<double> Values(const Shown& shown) {
    std::vector<double> values;
    for (Input* input : shown.Inputs) values.push_back(session.NumberValue(input));
    return values;
  }

  void TypeAndEnter(HWND field, const char* text) {
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }

  // A child's rectangle in its parent's client coordinates.
  static CRect PlaceOf(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT origin{0, 0};
    ClientToScreen(GetParent(hwnd), &origin);
    CRect place(rc);
    place -= origin;
    return place;
  }
  static HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (TextOf(child) == text) return child;
    return nullptr;
  }

  Session session;
  Operator* tool = nullptr;
};

TEST_F(ColourControlTest, RowsFollowTheAlphaInputOfTheGroup) {
  struct Row {
    std::vector<double> Values;
    int Height;
    CRect NameLabel;
    int InputBelowBlue;  // the channel of a press below the blue row
  };
  const Row rows[] = {
      {{0.1, 0.2, 0.3}, 64, CRect(7, 46, 200, 61), 2},
      {{0.1, 0.2, 0.3, 0.4}, 80, CRect(7, 62, 200, 77), 3},
  };
  int group = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Values.size());
    const Shown shown = AddColour(row.Values, group++, TagList{{tag::ControlName, "Tint"}});
    const bool alpha = row.Values.size() == 4;
    EXPECT_EQ(session.OpenedRect(shown.Control), CRect(0, 0, 276, row.Height));
    EXPECT_EQ(shown.Field(3) != nullptr, alpha);
    EXPECT_EQ(shown.Item(FirstSliderId + 3) != nullptr, alpha);
    EXPECT_EQ(ChildWithText(shown.Control->Wnd->m_hWnd, "A:") != nullptr, alpha);
    HWND name = ChildWithText(shown.Control->Wnd->m_hWnd, "Tint");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(PlaceOf(name), row.NameLabel);

    EXPECT_EQ(shown.Control->GetInputAt(30, 10), nullptr);  // the swatch
    EXPECT_EQ(shown.Control->GetInputAt(120, 10), shown.Inputs[0]);
    EXPECT_EQ(shown.Control->GetInputAt(120, 30), shown.Inputs[1]);
    EXPECT_EQ(shown.Control->GetInputAt(120, 40), shown.Inputs[2]);
    EXPECT_EQ(shown.Control->GetInputAt(120, 60), shown.Inputs[row.InputBelowBlue]);
  }
}

// Inputs connected after the control opened show alpha from the next Open.
TEST_F(ColourControlTest, AnAlphaInputConnectedAfterOpeningShowsAtTheNextOpen) {
  std::vector<Input*> inputs;
  for (int c = 0; c < 4; ++c) inputs.push_back(session.AddInput(tool, ChannelNames[c], new Number(0.25 * c), c));
  InputControl* control = session.AddPanelControl("ColourControl", {}, inputs);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(session.OpenedRect(control).Height(), 64);
  control->Close();
  CRect rect(0, 0, Session::DefaultPanelWidth, 0);
  ASSERT_TRUE(control->Open(session.Panel(), rect));
  session.Pump();
  EXPECT_EQ(rect, CRect(0, 0, 276, 80));
  HWND alpha = GetDlgItem(control->Wnd->m_hWnd, FirstFieldId + 3);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(TextOf(alpha), "0.7500");
  EXPECT_EQ(TextOf(GetDlgItem(control->Wnd->m_hWnd, FirstFieldId)), "0.0000");
}

TEST_F(ColourControlTest, AnAlphaInputOfAnotherGroupLeavesThreeRows) {
  session.AddInput(tool, "Other Alpha", new Number(1.0), 3, TagList{{tag::ControlGroup, 9}});
  const Shown shown = AddColour({0.1, 0.2, 0.3});
  EXPECT_EQ(session.OpenedRect(shown.Control).Height(), 64);
  EXPECT_EQ(shown.Field(3), nullptr);
}

// The sliders span the whole width under the buttons and fields: the mouse
// reaches each of those over its own rectangle and a slider over its track.
TEST_F(ColourControlTest, ButtonsAndFieldsLieOverTheFullWidthSliders) {
  const Shown shown = AddColour({0.1, 0.2, 0.3, 0.4});
  std::vector<HWND> onTop = {shown.Item(SwatchId), shown.Item(PickId)};
  for (int c = 0; c < 4; ++c) onTop.push_back(shown.Field(c));
  for (HWND item : onTop) {
    ASSERT_NE(item, nullptr);
    POINT at = Centre(item);
    ClientToScreen(item, &at);
    EXPECT_EQ(WindowFromPoint(at), item);
  }
  for (int c = 0; c < 4; ++c) {
    HWND slider = shown.Item(FirstSliderId + c);
    ASSERT_NE(slider, nullptr);
    POINT at = Centre(slider);
    ClientToScreen(slider, &at);
    EXPECT_EQ(WindowFromPoint(at), slider);
  }
}

TEST_F(ColourControlTest, FieldsAndSlidersShowTheChannels) {
  const Shown shown = AddColour({0.25, 0.5, 0.75, 1.0});
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(TextOf(shown.Field(c)), std::vector<std::string>({"0.2500", "0.5000", "0.7500", "1.0000"})[c]);
  // The slider keys step a thirty-second of the range and write one channel.
  SetFocus(shown.Item(FirstSliderId + 1));
  qz::PressKey(VK_RIGHT);
  session.Pump();
  EXPECT_DOUBLE_EQ(session.NumberValue(shown.Inputs[1]), 0.53125);
  EXPECT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(TextOf(shown.Field(1)), "0.5312");
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Control Change"});
}

TEST_F(ColourControlTest, ColourDialogOkWritesRedGreenAndBlueAtEightBits) {
  const Shown shown = AddColour({0.3, 0.5, 1.0, 0.5});
  qz::SetDialogResponder([](const qz::DialogRequest& request) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.colour = request.initialColour;  // the user changes nothing
    return answer;
  });
  session.Click(shown.Item(SwatchId), 20, 10);
  ASSERT_EQ(qz::DialogRequests().size(), 1u);
  const qz::DialogRequest& request = qz::DialogRequests()[0];
  EXPECT_EQ(request.kind, qz::DialogKind::Colour);
  EXPECT_EQ(request.initialColour, RGB(76, 127, 255));
  EXPECT_TRUE(request.flags & CC_FULLOPEN);
  EXPECT_EQ(Values(shown), (std::vector<double>{76 * (1.0 / 255), 127 * (1.0 / 255), 1.0, 0.5}));
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Select Colour"});

  // Cancel writes nothing. A second click soon after the first, which the
  // platform reports as a double click, opens the dialog all the same.
  qz::ResetDialogResponder();
  session.ClearWrites();
  session.Click(shown.Item(SwatchId), 20, 10);
  EXPECT_EQ(qz::DialogRequests().size(), 1u);
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(ColourControlTest, DepthPreferenceScalesTheNumberFields) {
  struct Row {
    int Depth;
    const char* ShownText;
    const char* Typed;
    double Written;
  };
  const Row rows[] = {
      {1, "127.5000", "255", 1.0},
      {2, "32767.5000", "13107", 0.2},
      {0, "0.5000", "0.25", 0.25},
  };
  int group = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Depth);
    SetPrefLong(PrefColourDepth, row.Depth);
    const Shown shown = AddColour({0.5, 0.5, 0.5}, group++);
    EXPECT_EQ(TextOf(shown.Field(0)), row.ShownText);
    TypeAndEnter(shown.Field(0), row.Typed);
    ASSERT_EQ(session.Writes().size(), 1u);
    EXPECT_DOUBLE_EQ(session.NumberValue(shown.Inputs[0]), row.Written);
    EXPECT_DOUBLE_EQ(session.NumberValue(shown.Inputs[1]), 0.5);
  }
}

// A field is read in the units it was shown in: a depth changed in between
// neither rescales nor rewrites what the user left alone.
TEST_F(ColourControlTest, ADepthChangedAfterShowingRewritesNothing) {
  SetPrefLong(PrefColourDepth, 1);
  const Shown shown = AddColour({0.5, 0.25, 1.0});
  SetPrefLong(PrefColourDepth, 2);
  SetFocus(shown.Field(1));
  qz::PressKey(VK_RETURN);
  session.Pump();
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(TextOf(shown.Field(1)), "16383.7500");
  TypeAndEnter(shown.Field(2), "65535");
  EXPECT_EQ(Values(shown), (std::vector<double>{0.5, 0.25, 1.0}));
  TypeAndEnter(shown.Field(2), "13107");
  EXPECT_DOUBLE_EQ(session.NumberValue(shown.Inputs[2]), 0.2);
}

// Enter on fields that still show what the control put there keeps the
// channels, even where the field shows fewer decimals than the channel has.
TEST_F(ColourControlTest, ConfirmingUnchangedFieldsWritesNothing) {
  const Shown shown = AddColour({0.123456, 0.5, 0.987654});
  EXPECT_EQ(TextOf(shown.Field(0)), "0.1235");
  SetFocus(shown.Field(0));
  qz::PressKey(VK_RETURN);
  session.Pump();
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_DOUBLE_EQ(session.NumberValue(shown.Inputs[0]), 0.123456);
}

// The host may report a value the control already shows (a newly connected
// input hands its value on); only a different one reaches the display, so
// an entry being typed is left alone.
TEST_F(ColourControlTest, AnEqualReportDoesNotReachTheDisplay) {
  const Shown shown = AddColour({0.5, 0.5, 0.5});
  SetFocus(shown.Field(0));
  SendMessageA(shown.Field(0), EM_SETSEL, 0, -1);
  qz::TypeText("0.9");
  session.Pump();
  AutoNumber same(new Number(0.5));
  shown.Control->NotifyChanged(shown.Inputs[0], same);
  EXPECT_EQ(TextOf(shown.Field(0)), "0.9");
  AutoNumber other(new Number(0.75));
  shown.Control->NotifyChanged(shown.Inputs[0], other);
  EXPECT_EQ(TextOf(shown.Field(0)), "0.7500");
  EXPECT_TRUE(session.Writes().empty());
}

// Values the swatch cannot show are held at none and full instead of
// wrapping round in the low byte.
TEST_F(ColourControlTest, SwatchTextIsBlackOnLightColoursAndWhiteOnDarkOnes) {
  struct Row {
    std::vector<double> Values;
    COLORREF Fill;
    COLORREF Text;
  };
  const Row rows[] = {
      {{0.5, 0.5, 0.5}, RGB(127, 127, 127), RGB(255, 255, 255)},  // 2.0 is not above 2.0
      {{0.9, 0.9, 0.9}, RGB(229, 229, 229), RGB(0, 0, 0)},
      {{0.2, 0.9, 0.2}, RGB(51, 229, 51), RGB(0, 0, 0)},
      {{1.01, -0.5, 0.5}, RGB(255, 0, 127), RGB(255, 255, 255)},
  };
  int group = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(group);
    const Shown shown = AddColour(row.Values, group++);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(qz::CaptureWindow(shown.Item(SwatchId), &width, &height, &pixels));
    auto rgb = [](COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); };
    const uint32_t white = 0xffffff, black = 0x000000;
    EXPECT_EQ(pixels[(height - 4) * width + width - 4], rgb(row.Fill));
    int text = 0, otherText = 0;
    for (int y = 3; y < height - 3; ++y)
      for (int x = 3; x < width - 3; ++x) {
        const uint32_t pixel = pixels[y * width + x];
        if (pixel == rgb(row.Text)) ++text;
        if (pixel == (rgb(row.Text) == white ? black : white)) ++otherText;
      }
    EXPECT_GT(text, 3);
    EXPECT_EQ(otherText, 0);
  }
}

TEST_F(ColourControlTest, SwatchDraggedOntoAnotherColourControlCopiesTheColour) {
  const Shown source = AddColour({0.1, 0.2, 0.3, 0.4}, 1);
  const Shown target = AddColour({0.9, 0.8, 0.7}, 2);
  HWND swatch = source.Item(SwatchId);
  session.Drag(swatch, Centre(swatch), Translate(target.Item(SwatchId), Centre(target.Item(SwatchId)), swatch));
  EXPECT_EQ(Values(target), (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(Values(source), (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Copy Colour"});
  EXPECT_TRUE(qz::DialogRequests().empty());

  // Onto one of the other control's sliders: the slider hands it on.
  session.Doc.Undo();
  HWND slider = target.Item(FirstSliderId + 1);
  session.Drag(swatch, Centre(swatch), Translate(slider, POINT{150, 5}, swatch));
  EXPECT_EQ(Values(target), (std::vector<double>{0.1, 0.2, 0.3}));
}

// Panel controls that are not colour controls would answer the list with
// their default 0, as if they had kept it; nothing goes to them.
TEST_F(ColourControlTest, SwatchDroppedOnAnotherKindOfControlSendsNothing) {
  const Shown source = AddColour({0.1, 0.2, 0.3}, 1);
  Input* gain = session.AddNumberInput(tool, "Gain", 0.5, 0);
  InputControl* slider = session.AddPanelControl("SliderControl", {}, {gain});
  ASSERT_NE(slider, nullptr);
  session.Pump();
  session.ClearWrites();
  HWND swatch = source.Item(SwatchId);
  qz::StartRecording();
  session.Drag(swatch, Centre(swatch), Translate(slider->Wnd->m_hWnd, POINT{240, 25}, swatch));
  const std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  for (const qz::RecordedMessage& message : messages) {
    EXPECT_NE(message.message, Viewer::CopyColourMessage);
    EXPECT_NE(message.message, Viewer::PickRequestMessage);
  }
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_TRUE(session.Doc.UndoSteps().empty());
}

class ColourPickTest : public ColourControlTest {
 protected:
  void SetUp() override {
    ColourControlTest::SetUp();
    shown = AddColour({0.1, 0.2, 0.3, 0.4});
    viewer = std::make_unique<Viewer>(session.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight,
                                      POINT{Session::DefaultPanelWidth + 20, 0});
    session.Pump();
    pick = shown.Item(PickId);
  }
  void TearDown() override {
    viewer.reset();
    ColourControlTest::TearDown();
  }

  // A point of the viewer in the pick button's coordinates.
  POINT OverViewer(double x, double y) const { return Translate(viewer->Window(), viewer->PixelOf(x, y), pick); }
  void Press() {
    qz::InjectMouseAt(pick, WM_LBUTTONDOWN, 10, 10);
    session.Pump();
  }
  void MoveTo(POINT at) {
    qz::InjectMouseAt(pick, WM_MOUSEMOVE, at.x, at.y);
    session.Pump();
  }
  // The colour the viewer shows at a point, as the inputs hold it.
  std::vector<double> ShownAt(double x, double y) {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(qz::CaptureWindow(viewer->Window(), &width, &height, &pixels));
    const POINT at = viewer->PixelOf(x, y);
    const uint32_t pixel = pixels[at.y * width + at.x];
    return {((pixel >> 16) & 0xff) / 255.0, ((pixel >> 8) & 0xff) / 255.0, (pixel & 0xff) / 255.0, 1.0};
  }

  Shown shown;
  std::unique_ptr<Viewer> viewer;
  HWND pick = nullptr;
};

TEST_F(ColourPickTest, PickDragLeavesTheLastPickedPixelInOneUndoStep) {
  const std::vector<double> sky = ShownAt(0.2, 0.1);
  const std::vector<double> sun = ShownAt(0.75, 0.25);
  ASSERT_NE(sky, sun);
  qz::StartRecording();
  Press();
  MoveTo(OverViewer(0.75, 0.25));
  EXPECT_EQ(Values(shown), sun);
  MoveTo(OverViewer(0.2, 0.1));
  EXPECT_EQ(Values(shown), sky);
  const std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  int shows = 0;
  for (const qz::RecordedMessage& message : messages)
    if (message.hwnd == viewer->Window() && message.message == Viewer::PickShowMessage && message.posted) ++shows;
  EXPECT_EQ(shows, 2);
  POINT mark{};
  EXPECT_TRUE(viewer->PickMark(&mark));
  EXPECT_EQ(mark.x, viewer->PixelOf(0.2, 0.1).x);

  const POINT end = OverViewer(0.2, 0.1);
  qz::InjectMouseAt(pick, WM_LBUTTONUP, end.x, end.y);
  session.Pump();
  EXPECT_EQ(Values(shown), sky);
  EXPECT_EQ(session.Doc.UndoSteps(), std::vector<std::string>{"Pick Colour"});
  EXPECT_EQ(GetCapture(), nullptr);
  session.Doc.Undo();
  EXPECT_EQ(Values(shown), (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
}

TEST_F(ColourPickTest, RightClickDuringAPickPutsTheColourBack) {
  Press();
  MoveTo(OverViewer(0.75, 0.25));
  ASSERT_NE(Values(shown), (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
  const POINT at = OverViewer(0.75, 0.25);
  qz::InjectMouseAt(pick, WM_RBUTTONDOWN, at.x, at.y);
  session.Pump();
  EXPECT_EQ(Values(shown), (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
  EXPECT_EQ(GetCapture(), nullptr);
  // Later moves and the release pick nothing.
  MoveTo(OverViewer(0.2, 0.1));
  qz::InjectMouseAt(pick, WM_LBUTTONUP, at.x, at.y);
  session.Pump();
  EXPECT_EQ(Values(shown), (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
}

// A pick that loses the focus mid-drag keeps what it picked and closes its
// undo step, so the next change is a step of its own.
TEST_F(ColourPickTest, LosingTheFocusMidPickClosesItsUndoStep) {
  Press();
  MoveTo(OverViewer(0.75, 0.25));
  const std::vector<double> picked = Values(shown);
  SetFocus(shown.Field(2));
  session.Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.colour = RGB(255, 0, 0);
    return answer;
  });
  session.Click(shown.Item(SwatchId), 20, 10);
  EXPECT_EQ(session.Doc.UndoSteps(), (std::vector<std::string>{"Pick Colour", "Select Colour"}));
  session.Doc.Undo();
  EXPECT_EQ(Values(shown), picked);
}

// Over the panel, or over the viewer's background beside the picture,
// nothing is picked.
TEST_F(ColourPickTest, MovesOffThePictureOrOverThePanelPickNothing) {
  viewer->SetZoom(0.5f);
  Press();
  MoveTo(Translate(viewer->Window(), POINT{5, 5}, pick));
  MoveTo(Translate(shown.Field(0), POINT{5, 5}, pick));
  MoveTo(POINT{5, 5});
  qz::InjectMouseAt(pick, WM_LBUTTONUP, 5, 5);
  session.Pump();
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_TRUE(session.Doc.UndoSteps().empty());
}

// A bad input's NaN shows as 0 and is never written back.
TEST_F(ColourControlTest, ANaNChannelShowsAsZeroAndIsNotWrittenBack) {
  const Shown shown = AddColour({std::numeric_limits<double>::quiet_NaN(), 0.5, 0.5});
  EXPECT_EQ(TextOf(shown.Field(0)), "0.0000");
  SetFocus(shown.Field(0));
  qz::PressKey(VK_RETURN);
  session.Pump();
  TypeAndEnter(shown.Field(0), "red");
  EXPECT_TRUE(session.Writes().empty());
  // Disconnecting writes the shown colour back, for no frame; not a NaN.
  Input* redProbe = session.AddInput(tool, "Red Probe", new Number(-1.0), 0);
  Input* greenProbe = session.AddInput(tool, "Green Probe", new Number(-1.0), 1);
  shown.Control->OnDisconnect(redProbe);
  EXPECT_TRUE(session.Writes().empty());
  shown.Control->OnDisconnect(greenProbe);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Time, -1000000000.0);
  EXPECT_DOUBLE_EQ(session.NumberValue(greenProbe), 0.5);

  // Infinities are shown as far as the field goes and kept as they are.
  const double infinity = std::numeric_limits<double>::infinity();
  const Shown infinite = AddColour({infinity, -infinity, 0.5}, 2);
  session.ClearWrites();
  SetFocus(infinite.Field(0));
  qz::PressKey(VK_RETURN);
  SetFocus(infinite.Field(1));
  qz::PressKey(VK_RETURN);
  session.Pump();
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(session.NumberValue(infinite.Inputs[0]), infinity);
}

TEST_F(ColourControlTest, CaptionFollowsTheControlName) {
  const Shown shown = AddColour({0.5, 0.5, 0.5});
  HWND window = shown.Control->Wnd->m_hWnd;
  EXPECT_NE(ChildWithText(window, "Color"), nullptr);
  session.ApplyAttributes(shown.Control, TagList{{tag::ControlName, "Fill"}});
  EXPECT_NE(ChildWithText(window, "Fill"), nullptr);
}

}  // namespace
}  // namespace qzh
