#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

constexpr UINT ChoiceId = 1000;
constexpr double NoFrameTime = -1000000000.0;

TagList BlendAttributes() {
  return TagList{{qzc::tag::ControlName, "Blend"},
                 {qzc::tag::ComboEntry, "Normal"},
                 {qzc::tag::ComboEntry, "Screen"},
                 {qzc::tag::ComboEntry, "Multiply"}};
}

class ComboControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Merge"); }

  InputControl* AddCombo(std::vector<Input*> inputs, TagList attributes = BlendAttributes()) {
    return session.AddPanelControl("ComboControl", attributes, std::move(inputs));
  }
  static HWND ChoiceOf(InputControl* control) { return GetDlgItem(control->Wnd->m_hWnd, ChoiceId); }
  static HWND LabelOf(InputControl* control) {
    for (HWND child = GetWindow(control->Wnd->m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (child != ChoiceOf(control)) return child;
    return nullptr;
  }
  static LRESULT Send(InputControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(ChoiceOf(control), msg, wParam, lParam);
  }
  static std::vector<std::string> Entries(InputControl* control) {
    std::vector<std::string> entries;
    char text[64];
    LRESULT count = Send(control, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
      if (Send(control, CB_GETLBTEXTLEN, i) >= static_cast<LRESULT>(sizeof text)) return {};
      Send(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  // Clicks the closed field to drop the list, then clicks `row` of the list.
  void PickWithMouse(InputControl* control, int row) {
    HWND combo = ChoiceOf(control);
    RECT field;
    GetClientRect(combo, &field);
    session.Click(combo, field.right / 2, field.bottom / 2);
    ASSERT_TRUE(Send(control, CB_GETDROPPEDSTATE));
    const int rowHeight = static_cast<int>(Send(control, CB_GETITEMHEIGHT, 0));
    session.Click(combo, field.right / 2, field.bottom + 1 + row * rowHeight + rowHeight / 2);
    EXPECT_FALSE(Send(control, CB_GETDROPPEDSTATE));
  }
  void SetNumber(Input* input, double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
  }
  static RECT ChildRect(InputControl* control, HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    return RECT{rc.left - origin.x, rc.top - origin.y, rc.right - origin.x, rc.bottom - origin.y};
  }
  std::vector<std::string> WrittenValues() const {
    std::vector<std::string> values;
    for (const Write& write : session.Writes()) values.push_back(write.Value);
    return values;
  }

  Session session;
  Operator* tool = nullptr;
};

TEST_F(ComboControlTest, EntriesKeepTheOrderOfTheAttributes) {
  InputControl* combo =
      AddCombo({}, {{qzc::tag::ComboEntry, "Zebra"}, {qzc::tag::ComboEntry, "Apple"}, {qzc::tag::ComboEntry, "Mango"}});
  EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Zebra", "Apple", "Mango"}));
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 0);
}

TEST_F(ComboControlTest, MousePickOfTheSecondEntryWritesOne) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  session.Doc.SetCurrentTime(4.0, 0);
  session.ClearWrites();

  PickWithMouse(combo, 1);

  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Value, "1");
  EXPECT_EQ(session.Writes()[0].Time, 4.0);
  EXPECT_EQ(session.NumberValue(mode), 1.0);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
}

// The value is written when the list reports the choice as final, before it
// closes and reports the change.
TEST_F(ComboControlTest, TheChoiceIsWrittenOnSelEndOk) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  session.ClearWrites();
  Send(combo, CB_SETCURSEL, 1);
  combo->HandleMsg(WM_COMMAND, MAKEWPARAM(ChoiceId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(ChoiceOf(combo)));
  EXPECT_TRUE(session.Writes().empty());
  combo->HandleMsg(WM_COMMAND, MAKEWPARAM(ChoiceId, CBN_SELENDOK), reinterpret_cast<LPARAM>(ChoiceOf(combo)));
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1"}));
  session.ClearWrites();

  HWND field = ChoiceOf(combo);
  RECT rc;
  GetClientRect(field, &rc);
  session.Click(field, rc.right / 2, rc.bottom / 2);
  const int rowHeight = static_cast<int>(Send(combo, CB_GETITEMHEIGHT, 0));
  qz::StartRecording();
  session.Click(field, rc.right / 2, rc.bottom + 1 + 2 * rowHeight + rowHeight / 2);
  std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  std::vector<WORD> codes;
  for (const qz::RecordedMessage& m : messages)
    if (m.hwnd == combo->Wnd->m_hWnd && m.message == WM_COMMAND && LOWORD(m.wParam) == ChoiceId)
      codes.push_back(HIWORD(m.wParam));
  EXPECT_EQ(codes, (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"2"}));
}

TEST_F(ComboControlTest, KeysChooseEntries) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  SetFocus(ChoiceOf(combo));
  session.ClearWrites();

  qz::PressKey(VK_DOWN);
  EXPECT_EQ(session.NumberValue(mode), 1.0);
  qz::PressKey(VK_END);
  EXPECT_EQ(session.NumberValue(mode), 2.0);

  qz::PressKey(VK_F1 + 3);  // F4 drops the list
  ASSERT_TRUE(Send(combo, CB_GETDROPPEDSTATE));
  qz::PressKey(VK_HOME);
  qz::PressKey(VK_RETURN);
  EXPECT_FALSE(Send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(session.NumberValue(mode), 0.0);
  EXPECT_EQ(WrittenValues(), (std::vector<std::string>{"1", "2", "0"}));
}

TEST_F(ComboControlTest, EscapeClosesTheListWithoutWriting) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  HWND field = ChoiceOf(combo);
  RECT rc;
  GetClientRect(field, &rc);
  session.Click(field, rc.right / 2, rc.bottom / 2);
  qz::PressKey(VK_DOWN);
  session.ClearWrites();
  qz::PressKey(VK_ESCAPE);
  EXPECT_FALSE(Send(combo, CB_GETDROPPEDSTATE));
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_EQ(session.NumberValue(mode), 0.0);
}

TEST_F(ComboControlTest, InputValueIsTruncatedToAnEntry) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  SetNumber(mode, 2.9);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);
  SetNumber(mode, 1.2);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
}

TEST_F(ComboControlTest, ValuePastTheLastEntryLeavesNoSelection) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  SetNumber(mode, 3.0);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR);
  SetNumber(mode, 1.0);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
  SetNumber(mode, 1e12);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR);
}

TEST_F(ComboControlTest, ValueNamingTheSameEntryLeavesTheDisplayAlone) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  SetNumber(mode, 1.0);
  qz::StartRecording();
  SetNumber(mode, 1.5);
  std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  EXPECT_TRUE(std::none_of(messages.begin(), messages.end(), [&](const qz::RecordedMessage& m) {
    return m.hwnd == ChoiceOf(combo) && m.message == CB_SETCURSEL;
  }));
  combo->NotifyChanged(mode, nullptr);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
}

TEST_F(ComboControlTest, OpenShowsTheFirstInputsValue) {
  Input* mode = session.AddNumberInput(tool, "Mode", 2.0);
  InputControl* combo = CreatePanelControl("ComboControl");
  ASSERT_NE(combo, nullptr);
  TagList tags = BlendAttributes();
  tags.Add(ControlDocTag, reinterpret_cast<intptr_t>(&session.Doc));
  combo->SetAttrsTagList(tags);
  combo->AddInput(mode);
  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(combo->Open(session.Panel(), rect), 1u);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);
  EXPECT_EQ(combo->GetInputAt(-50, 9000), mode);
  delete combo;
}

TEST_F(ComboControlTest, LayoutPutsTheListLeftAndTheNameRight) {
  InputControl* combo = AddCombo({});
  RECT list = ChildRect(combo, ChoiceOf(combo));
  EXPECT_EQ(list.left, 5);
  EXPECT_EQ(list.top, 3);
  EXPECT_EQ(list.right, 210);
  RECT label = ChildRect(combo, LabelOf(combo));
  EXPECT_EQ(label.left, 215);
  EXPECT_EQ(label.top, 7);
  EXPECT_EQ(label.right, 295);
  EXPECT_EQ(label.bottom, 25);
  EXPECT_EQ(session.OpenedRect(combo).right, 300);
  EXPECT_EQ(session.OpenedRect(combo).bottom, 28);
  char text[32];
  GetWindowTextA(LabelOf(combo), text, sizeof text);
  EXPECT_STREQ(text, "Blend");
  EXPECT_EQ(GetDlgCtrlID(LabelOf(combo)), 0xffff);
}

TEST_F(ComboControlTest, DisconnectWritesTheChoiceOutsideAnyFrame) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  Input* other = session.AddNumberInput(tool, "Other", 0.0, 1);
  InputControl* combo = AddCombo({mode, other});
  PickWithMouse(combo, 2);
  SetNumber(mode, 2.5);
  session.ClearWrites();

  // Animated, so that the write for no frame is a key of its own.
  mode->Animate(1);
  combo->OnDisconnect(mode);
  EXPECT_EQ(session.NumberValue(mode), 2.5);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Input, "Mode");
  EXPECT_EQ(session.Writes()[0].Value, "2.5");
  EXPECT_EQ(session.Writes()[0].Time, NoFrameTime);
}

// Values a float cannot hold come back unchanged when the input is
// disconnected: the choice shown is still their whole part.
TEST_F(ComboControlTest, DisconnectGivesBackExactlyTheValueTheInputHeld) {
  for (double held : {1e39, 16777217.0, 2.000000001, -0.5, -1e300}) {
    Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
    InputControl* combo = AddCombo({mode});
    SetNumber(mode, held);
    combo->OnDisconnect(mode);
    EXPECT_EQ(session.NumberValue(mode), held);
    session.RemovePanelControl(combo);
  }
}

TEST_F(ComboControlTest, EachPickIsOneUndoStep) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  PickWithMouse(combo, 1);
  PickWithMouse(combo, 2);
  EXPECT_EQ(session.Doc.UndoSteps().size(), 2u);

  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(session.NumberValue(mode), 1.0);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(session.NumberValue(mode), 0.0);
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 0);
}

TEST_F(ComboControlTest, ReappliedAttributesReplaceTheEntriesInsteadOfDoublingThem) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  PickWithMouse(combo, 2);

  session.ApplyAttributes(combo, BlendAttributes());
  EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Normal", "Screen", "Multiply"}));
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);

  session.ApplyAttributes(combo, {{ControlFlagsTag, 0}});
  EXPECT_EQ(Entries(combo).size(), 3u);

  session.ApplyAttributes(combo, {{qzc::tag::ComboEntry, "Add"}, {qzc::tag::ComboEntry, "Over"}});
  EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Add", "Over"}));
  EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR);
  session.ApplyAttributes(combo, {{qzc::tag::ComboEntry, "A"},
                                  {qzc::tag::ComboEntry, "B"},
                                  {qzc::tag::ComboEntry, "C"},
                                  {qzc::tag::ComboEntry, "D"}});
  EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);
}

TEST_F(ComboControlTest, EntriesGivenBeforeOpeningAreReplacedToo) {
  InputControl* combo = CreatePanelControl("ComboControl");
  ASSERT_NE(combo, nullptr);
  TagList first = BlendAttributes();
  combo->SetAttrsTagList(first);
  TagList second{{qzc::tag::ComboEntry, "Only"}};
  combo->SetAttrsTagList(second);
  CRect rect(0, 0, 300, 0);
  ASSERT_EQ(combo->Open(session.Panel(), rect), 1u);
  EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Only"}));
  delete combo;
}

TEST_F(ComboControlTest, DisabledControlDisablesTheList) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  TagList attributes = BlendAttributes();
  attributes.Add(ControlDisabledTag, 1);
  InputControl* combo = AddCombo({mode}, attributes);
  EXPECT_FALSE(IsWindowEnabled(ChoiceOf(combo)));
  session.ApplyAttributes(combo, {{ControlDisabledTag, 0}});
  EXPECT_TRUE(IsWindowEnabled(ChoiceOf(combo)));
}

TEST_F(ComboControlTest, ControlNeverOpenedIsDestroyedCleanly) {
  InputControl* control = CreatePanelControl("ComboControl");
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("ComC"));
  TagList tags = BlendAttributes();
  EXPECT_EQ(control->SetAttrsTagList(tags), 1u);
  control->UpdateDisplay(nullptr);
  control->OnDisconnect(nullptr);
  EXPECT_EQ(control->GetInputAt(0, 0), nullptr);
  delete control;
}

// The chosen entry's text is drawn in the field, and the name is readable
// beside it over the dark panel.
TEST_F(ComboControlTest, FieldShowsTheChosenEntryAndTheNameBesideIt) {
  Input* mode = session.AddNumberInput(tool, "Mode", 0.0);
  InputControl* combo = AddCombo({mode});
  session.Pump();
  int width, height;
  std::vector<uint32_t> first;
  ASSERT_TRUE(qz::CaptureWindow(combo->Wnd->m_hWnd, &width, &height, &first));
  SetNumber(mode, 2.0);
  session.Pump();
  std::vector<uint32_t> third;
  ASSERT_TRUE(qz::CaptureWindow(combo->Wnd->m_hWnd, &width, &height, &third));
  int changed = 0;
  for (int y = 5; y < 20; ++y)
    for (int x = 8; x < 100; ++x)
      if (first[static_cast<size_t>(y) * width + x] != third[static_cast<size_t>(y) * width + x]) ++changed;
  EXPECT_GT(changed, 20);

  auto luminance = [](uint32_t p) { return ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff); };
  int dark = 0, light = 0;
  for (int y = 7; y < 25; ++y)
    for (int x = 215; x < 295; ++x) {
      int l = luminance(third[static_cast<size_t>(y) * width + x]);
      if (l < 3 * 0x60) ++dark;
      if (l > 3 * 0xa0) ++light;
    }
  EXPECT_GT(dark, 10);
  EXPECT_GT(light, 10);
}

// The host opens the panel before it connects the inputs: the field must
// show the entry the input already holds, and a disconnect must hand the
// input that entry rather than the first one.
TEST_F(ComboControlTest, OpenedInTheHostsOrderShowsTheHeldEntryAndKeepsIt) {
  Input* mode = session.AddNumberInput(tool, "Mode", 2.0);
  InputControl* combo = AddCombo({mode});
  HWND field = FindChild(combo, Role::Choice);
  EXPECT_EQ(SendMessageA(field, CB_GETCURSEL, 0, 0), 2);
  char text[32] = "";
  GetWindowTextA(field, text, sizeof text);
  EXPECT_STREQ(text, "Multiply");
  EXPECT_TRUE(session.ControlWrites().empty());

  session.DisconnectInput(combo, mode);
  EXPECT_EQ(session.NumberValue(mode), 2.0);
  EXPECT_TRUE(session.ControlWrites().empty());
}

}  // namespace
}  // namespace qzh
