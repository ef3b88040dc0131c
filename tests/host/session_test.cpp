#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Sample"); }

  InputControl* AddCheckBox(Input* input) {
    return session.AddPanelControl("CheckBoxControl", {{qzc::tag::ControlName, "Invert"}}, {input});
  }
  InputControl* AddCombo(Input* input) {
    return session.AddPanelControl("ComboControl",
                                   {{qzc::tag::ControlName, "Mode"},
                                    {qzc::tag::ComboEntry, "Normal"},
                                    {qzc::tag::ComboEntry, "Screen"},
                                    {qzc::tag::ComboEntry, "Multiply"}},
                                   {input});
  }
  InputControl* AddSlider(Input* input) {
    return session.AddPanelControl("SliderControl",
                                   {{qzc::tag::SliderLeftLabel, "Gain"}, {qzc::tag::DefaultValue, 0.5}}, {input});
  }
  void ClickCentre(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    session.Click(hwnd, 6, rc.bottom / 2);
  }
  static std::vector<std::string> Values(const std::vector<Write>& writes) {
    std::vector<std::string> values;
    for (const Write& write : writes) values.push_back(write.Input + " = " + write.Value);
    return values;
  }
  // The WM_PAINT messages the platform delivered (not those a window sent
  // with a DC of its own), by window.
  static std::map<HWND, int> PlatformPaints(const std::vector<qz::RecordedMessage>& messages) {
    std::map<HWND, int> paints;
    for (const qz::RecordedMessage& message : messages)
      if (message.message == WM_PAINT && message.wParam == 0) ++paints[message.hwnd];
    return paints;
  }
  std::vector<uint32_t> Picture(InputControl* control) {
    session.Pump();
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (control->Wnd) qz::CaptureWindow(control->Wnd->m_hWnd, &width, &height, &pixels);
    return pixels;
  }

  Session session;
  Operator* tool = nullptr;
};

// Writes another input whenever it is told of a change: a control that
// answers a host write with a write of its own.
class Follower : public InputObserver {
 public:
  explicit Follower(Input* target) : Target(target) {}
  void InputChanged(Input*, Parameter* value) override { Target->SetValue(value, 0.0, 1); }
  Input* Target;
};

TEST_F(SessionTest, TheWriteLogTellsHostWritesFromControlWrites) {
  Input* invert = session.AddNumberInput(tool, "Invert", 0.0);
  Input* copy = session.AddNumberInput(tool, "Copy", 0.0);
  InputControl* box = AddCheckBox(invert);
  Follower follower(copy);
  invert->AddObserver(&follower);

  session.SetNumber(invert, 1.0);
  ClickCentre(FindChild(box, Role::CheckBox));
  session.SetNumber(invert, 0.0);  // unchanged: nothing to log
  invert->RemoveObserver(&follower);

  EXPECT_EQ(Values(session.HostWrites()), (std::vector<std::string>{"Invert = 1"}));
  EXPECT_EQ(Values(session.ControlWrites()), (std::vector<std::string>{"Copy = 1", "Invert = 0", "Copy = 0"}));
  EXPECT_EQ(Values(session.Writes()), (std::vector<std::string>{"Invert = 1", "Copy = 1", "Invert = 0", "Copy = 0"}));
  EXPECT_EQ(session.Writes()[0].By, Writer::Host);
  EXPECT_EQ(session.Writes()[0].Time, session.Doc.CurrentTime);
}

TEST_F(SessionTest, ChildrenAreFoundByWhatTheyDo) {
  InputControl* slider = AddSlider(session.AddNumberInput(tool, "Gain", 0.5));
  InputControl* box = AddCheckBox(session.AddNumberInput(tool, "Invert", 0.0));
  InputControl* combo = AddCombo(session.AddNumberInput(tool, "Mode", 0.0));
  InputControl* button = session.AddPanelControl("ButtonControl", {{qzc::tag::ControlName, "Reset"}},
                                                 {session.AddNumberInput(tool, "Pulse", 0.0)});

  HWND track = FindChild(slider, Role::Slider);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(GetParent(FindChild(slider, Role::Edit)), track) << "the number field lives in the slider";
  EXPECT_EQ(FindChild(slider, Role::Label, 0), GetWindow(slider->Wnd->m_hWnd, GW_CHILD)) << "name label first";
  EXPECT_NE(FindChild(slider, Role::Label, 1), nullptr);
  EXPECT_EQ(FindChild(slider, Role::Label, 2), nullptr);
  EXPECT_EQ(FindChild(slider, Role::Label, -1), nullptr);

  EXPECT_NE(FindChild(box, Role::CheckBox), nullptr);
  EXPECT_EQ(FindChild(box, Role::PushButton), nullptr);
  EXPECT_NE(FindChild(button, Role::PushButton), nullptr);
  EXPECT_EQ(FindChild(button, Role::CheckBox), nullptr);
  EXPECT_NE(FindChild(combo, Role::Choice), nullptr);
  EXPECT_EQ(FindChild(combo, Role::Edit), nullptr);

  session.HidePanel();
  EXPECT_EQ(FindChild(box, Role::CheckBox), nullptr) << "a closed control has no children";
  EXPECT_EQ(FindChild(nullptr, Role::Label), nullptr);
}

// Hiding and showing the panel closes and opens its controls with their
// inputs still connected: they must look as before, follow changes made
// meanwhile, and write nothing of their own.
TEST_F(SessionTest, ShowingThePanelAgainOpensTheControlsOnTheirConnectedInputs) {
  Input* invert = session.AddNumberInput(tool, "Invert", 1.0);
  Input* mode = session.AddNumberInput(tool, "Mode", 2.0);
  Input* gain = session.AddNumberInput(tool, "Gain", 0.8);
  std::vector<InputControl*> controls = {AddCheckBox(invert), AddCombo(mode), AddSlider(gain)};
  std::vector<std::vector<uint32_t>> before;
  std::vector<CRect> places;
  for (InputControl* control : controls) {
    before.push_back(Picture(control));
    places.push_back(session.OpenedRect(control));
  }

  session.HidePanel();
  EXPECT_FALSE(session.PanelShown());
  for (InputControl* control : controls) EXPECT_EQ(control->Wnd, nullptr);
  session.ShowPanel();
  for (size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(controls[i]->Wnd, nullptr);
    EXPECT_EQ(session.OpenedRect(controls[i]), places[i]);
    EXPECT_TRUE(Picture(controls[i]) == before[i]);
  }

  session.HidePanel();
  session.SetNumber(invert, 0.0);
  session.SetNumber(mode, 1.0);
  session.SetNumber(gain, 0.3);
  session.ShowPanel();
  EXPECT_EQ(SendMessageA(FindChild(controls[0], Role::CheckBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(FindChild(controls[1], Role::Choice), CB_GETCURSEL, 0, 0), 1);
  char text[32] = "";
  GetWindowTextA(FindChild(controls[2], Role::Edit), text, sizeof text);
  EXPECT_STREQ(text, "0.3000");
  EXPECT_TRUE(session.ControlWrites().empty());

  // Still connected: the user's changes reach the inputs.
  ClickCentre(FindChild(controls[0], Role::CheckBox));
  EXPECT_EQ(session.NumberValue(invert), 1.0);
}

// A control added while the panel is hidden is connected first and opened
// when the panel is shown: the order of every later showing.
TEST_F(SessionTest, AControlAddedToAHiddenPanelOpensOnItsConnectedInput) {
  session.HidePanel();
  Input* invert = session.AddNumberInput(tool, "Invert", 1.0);
  InputControl* box = AddCheckBox(invert);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Wnd, nullptr);
  session.ShowPanel();
  EXPECT_EQ(SendMessageA(FindChild(box, Role::CheckBox), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(session.OpenedRect(box).bottom, 22);
  EXPECT_TRUE(session.Writes().empty());
}

// Each slider's connection moves its thumb at once; while the host fills
// the panel nothing paints, and the pump after it paints every window once.
TEST_F(SessionTest, OpeningAPanelPaintsEachOfItsWindowsOnce) {
  std::vector<Input*> gains;
  for (const char* name : {"Gain", "Lift", "Gamma"}) gains.push_back(session.AddNumberInput(tool, name, 0.3));
  Input* invert = session.AddNumberInput(tool, "Invert", 1.0);
  qz::StartRecording();
  session.OpenPanel([&] {
    for (Input* gain : gains) AddSlider(gain);
    AddCheckBox(invert);
  });
  const std::map<HWND, int> whileOpening = PlatformPaints(qz::StopRecording());
  qz::StartRecording();
  session.Pump();
  std::map<HWND, int> paints = PlatformPaints(qz::StopRecording());

  EXPECT_TRUE(whileOpening.empty());
  std::vector<HWND> windows{session.PanelWindow()};
  for (size_t i = 0; i < windows.size(); ++i)
    for (HWND child = GetWindow(windows[i], GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      windows.push_back(child);
  EXPECT_EQ(windows.size(), 1u + 3 * 5 + 2) << "panel, three sliders of five windows, a check box of two";
  for (HWND window : windows) EXPECT_EQ(paints[window], 1) << "window " << window;
  EXPECT_EQ(paints.size(), windows.size());
}

}  // namespace
}  // namespace qzh
