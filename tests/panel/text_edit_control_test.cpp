#include <gtest/gtest.h>

#include <cstring>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

class TextEditControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = session.AddTool("Title");
    caption = session.AddInput(tool, "Caption", new Text("Hello"));
  }

  InputControl* AddField(TagList attributes = {{qzc::tag::ControlName, "Caption"}}) {
    InputControl* control = session.AddPanelControl("TextEditControl", attributes, {caption});
    if (control) field = FindChild(control, Role::RichEdit);
    return control;
  }
  std::string FieldText() const {
    char text[256] = {};
    GetWindowTextA(field, text, sizeof text);
    return text;
  }
  void PlaceCaret(int at) {
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, at, at);
  }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0, end = 0;
    SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  void PressWithCtrl(int key) {
    qz::SetKeyDown(VK_CONTROL, true);
    qz::PressKey(key);
    qz::SetKeyDown(VK_CONTROL, false);
  }
  std::vector<std::string> ControlValues() const {
    std::vector<std::string> values;
    for (const Write& write : session.ControlWrites()) values.push_back(write.Value);
    return values;
  }

  Session session;
  Operator* tool = nullptr;
  Input* caption = nullptr;
  HWND field = nullptr;
};

// Eight lines of a 16-pixel font give a 128-pixel field from y 6, and the
// control reports 140; a font given by its character height (negative, the
// usual case) gives the same field rather than an inverted one.
TEST_F(TextEditControlTest, FieldIsEightLinesOfTheFontsHeightWhicheverItsSign) {
  for (LONG height : {16L, -16L}) {
    SCOPED_TRACE(height);
    LOGFONTA lf{};
    lf.lfHeight = height;
    std::strncpy(lf.lfFaceName, "DejaVu Sans", LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectA(&lf);
    InputControl* control = AddField({{ControlFontTag, static_cast<const void*>(font)}});
    ASSERT_NE(control, nullptr);
    ASSERT_NE(field, nullptr);
    RECT rc;
    GetWindowRect(field, &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    EXPECT_EQ(rc.top - origin.y, 6);
    EXPECT_EQ(rc.bottom - rc.top, 128);
    EXPECT_EQ(rc.right - origin.x, 270);
    EXPECT_EQ(session.OpenedRect(control).bottom, 140);
    session.RemovePanelControl(control);
    DeleteObject(font);
  }
}

TEST_F(TextEditControlTest, LinesAttributeSetsTheHeightAndNonsenseGivesAtLeastOneLine) {
  struct Case {
    intptr_t Lines;
    int Height;
  };
  const int line = 11;  // the panel font's character height
  for (const Case& c : {Case{3, 3 * line}, Case{0, line}, Case{-5, line}}) {
    SCOPED_TRACE(c.Lines);
    InputControl* control = AddField({{qzc::tag::TextEditLines, c.Lines}});
    ASSERT_NE(control, nullptr);
    RECT rc;
    GetWindowRect(field, &rc);
    EXPECT_EQ(rc.bottom - rc.top, c.Height);
    EXPECT_EQ(session.OpenedRect(control).bottom, 12 + c.Height);
    session.RemovePanelControl(control);
  }
}

// One typed character is one Text written; the host's echo leaves the caret
// where the user put it, and a later change from the host is shown.
TEST_F(TextEditControlTest, TypingWritesOneTextAndTheEchoKeepsTheCaret) {
  ASSERT_NE(AddField(), nullptr);
  EXPECT_EQ(FieldText(), "Hello");
  EXPECT_TRUE(session.ControlWrites().empty());
  PlaceCaret(2);
  qz::TypeText("y");
  EXPECT_EQ(ControlValues(), std::vector<std::string>{"\"Heyllo\""});
  EXPECT_EQ(FieldText(), "Heyllo");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{3}, DWORD{3}));

  session.ClearWrites();
  session.SetValue(caption, new Text("Goodbye"));
  EXPECT_EQ(FieldText(), "Goodbye");
  EXPECT_TRUE(session.ControlWrites().empty());
}

// Typing into a field whose input takes no write (its index is not the
// field's) writes nothing, and a later change from the host is still shown.
TEST_F(TextEditControlTest, AWriteNoInputTookDoesNotHoldBackTheHostsNextChange) {
  caption = session.AddInput(tool, "Subtitle", new Text("Hello"), 1);
  ASSERT_NE(AddField(), nullptr);
  PlaceCaret(5);
  qz::TypeText("!");
  EXPECT_TRUE(session.ControlWrites().empty());
  session.SetValue(caption, new Text("Goodbye"));
  EXPECT_EQ(FieldText(), "Goodbye");
}

// The host's shortcuts do not take the keys the field keeps: digits, the
// tool letters, Ctrl+V and Ctrl+Z go to the field; a key the field does not
// keep still reaches the host.
TEST_F(TextEditControlTest, EditingKeysStayInTheFieldOtherKeysReachTheHost) {
  ASSERT_NE(AddField(), nullptr);
  session.EnableShortcuts(true);
  PlaceCaret(5);
  qz::TypeText(" 12 bg");
  EXPECT_EQ(FieldText(), "Hello 12 bg");
  EXPECT_TRUE(session.ShortcutsRun().empty());

  qz::StartRecording();
  PressWithCtrl('V');
  PressWithCtrl('Z');
  const auto messages = qz::StopRecording();
  int fieldKeys = 0;
  for (const qz::RecordedMessage& m : messages)
    if (m.hwnd == field && m.message == WM_KEYDOWN && (m.wParam == 'V' || m.wParam == 'Z')) ++fieldKeys;
  EXPECT_EQ(fieldKeys, 2);
  EXPECT_TRUE(session.ShortcutsRun().empty());

  qz::PressKey('P');
  EXPECT_EQ(session.ShortcutsRun(), std::vector<std::string>{"Play"});
  EXPECT_EQ(FieldText(), "Hello 12 bg");
}

TEST_F(TextEditControlTest, RightPressInTheFieldPostsAContextMenuAtTheScreenPoint) {
  InputControl* control = AddField();
  ASSERT_NE(control, nullptr);
  HWND wnd = control->Wnd->m_hWnd;
  qz::StartRecording();
  qz::InjectMouseAt(field, WM_RBUTTONDOWN, 20, 10);
  session.Pump();
  const auto messages = qz::StopRecording();
  POINT expected{20, 10};
  ClientToScreen(field, &expected);
  int menus = 0;
  for (const qz::RecordedMessage& m : messages) {
    if (m.message != WM_CONTEXTMENU || m.hwnd != wnd) continue;
    ++menus;
    EXPECT_TRUE(m.posted);
    EXPECT_EQ(m.wParam, reinterpret_cast<WPARAM>(wnd));
    EXPECT_EQ(GET_X_LPARAM(m.lParam), expected.x);
    EXPECT_EQ(GET_Y_LPARAM(m.lParam), expected.y);
  }
  EXPECT_EQ(menus, 1);
}

// A value of another kind, or none, leaves the field as it was; the field
// opened again shows the input's text.
TEST_F(TextEditControlTest, ValuesThatAreNotTextAreIgnoredAndReopeningShowsTheText) {
  InputControl* control = AddField();
  ASSERT_NE(control, nullptr);
  session.SetValue(caption, new Number(3.0));
  EXPECT_EQ(FieldText(), "Hello");
  session.SetValue(caption, nullptr);
  EXPECT_EQ(FieldText(), "Hello");
  session.SetValue(caption, new Text("Dusk"));
  session.HidePanel();
  session.ShowPanel();
  field = FindChild(control, Role::RichEdit);
  EXPECT_EQ(FieldText(), "Dusk");
  EXPECT_TRUE(session.ControlWrites().empty());
}

}  // namespace
}  // namespace qzh
