// Keyboard navigation inside a panel of controls.
#include "user_support.h"

namespace usertest {
namespace {

class DialogKeys : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    panel_ = Top(0, 0, 200, 200);
    first_ = Child(panel_, 10, 0, 0, 20, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    Child(panel_, 11, 30, 0, 20, 20, WS_CHILD | WS_VISIBLE);  // not a tab stop
    group_ = Child(panel_, 12, 0, 50, 100, 100, WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT);
    inner_ = Child(group_, 20, 0, 0, 20, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    Child(panel_, 13, 60, 0, 20, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED);
    Child(panel_, 14, 90, 0, 20, 20, WS_CHILD | WS_TABSTOP);  // hidden
    last_ = Child(panel_, 15, 120, 0, 20, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    SetHandler(panel_, [this](HWND, UINT m, WPARAM w, LPARAM l, LRESULT*) {
      if (m == WM_COMMAND) commands_.push_back({w, l});
      return false;
    });
  }

  // What a dialog's pre-translation does with a key press at the focus window.
  BOOL Key(int vk) {
    MSG m{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(vk), 1, 0, {0, 0}};
    return IsDialogMessageA(panel_, &m);
  }

  HWND panel_, first_, group_, inner_, last_;
  std::vector<std::pair<WPARAM, LPARAM>> commands_;
};

TEST_F(DialogKeys, TabCyclesThroughVisibleEnabledTabStopsIncludingControlParents) {
  SetFocus(first_);
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), inner_);
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), last_);
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), first_);
}

TEST_F(DialogKeys, ShiftTabGoesBackwards) {
  SetFocus(first_);
  qz::SetKeyDown(VK_SHIFT, true);
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), last_);
  EXPECT_TRUE(Key(VK_TAB));
  EXPECT_EQ(GetFocus(), inner_);
}

// The key the control keeps is dispatched to it and reported handled.
TEST_F(DialogKeys, ControlThatWantsTabKeepsIt) {
  SetFocus(first_);
  SetHandler(first_, [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_GETDLGCODE) return false;
    *r = DLGC_WANTTAB;
    return true;
  });
  qz::StartRecording();
  EXPECT_TRUE(Key(VK_TAB));
  qz::Pump();
  EXPECT_EQ(GetFocus(), first_);
  EXPECT_TRUE(SameSequence(Only(qz::StopRecording(), {WM_KEYDOWN, WM_CHAR}),
                           {Posted(first_, WM_KEYDOWN, VK_TAB, 1), Posted(first_, WM_CHAR, '\t', 1)}));
}

TEST_F(DialogKeys, TabIntoAnEditSelectsAllOfIt) {
  SetFocus(first_);
  std::vector<std::pair<WPARAM, LPARAM>> selections;
  SetHandler(inner_, [&](HWND, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
    if (m == WM_GETDLGCODE) return *r = DLGC_HASSETSEL | DLGC_WANTCHARS, true;
    if (m == EM_SETSEL) selections.push_back({w, l});
    return false;
  });
  Key(VK_TAB);
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections[0].first, 0u);
  EXPECT_EQ(selections[0].second, -1);
}

TEST_F(DialogKeys, EnterSendsIdOkAndEscapeIdCancel) {
  SetFocus(first_);
  EXPECT_TRUE(Key(VK_RETURN));
  EXPECT_TRUE(Key(VK_ESCAPE));
  ASSERT_EQ(commands_.size(), 2u);
  EXPECT_EQ(commands_[0].first, MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(commands_[1].first, MAKEWPARAM(IDCANCEL, BN_CLICKED));
}

TEST_F(DialogKeys, EnterPressesTheDefaultPushButton) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "Button";
  RegisterClassA(&wc);
  HWND ok = CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 150, 40, 20,
                            panel_, reinterpret_cast<HMENU>(77), nullptr, nullptr);
  SetFocus(first_);
  Key(VK_RETURN);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(commands_[0].first, MAKEWPARAM(77, BN_CLICKED));
  EXPECT_EQ(commands_[0].second, reinterpret_cast<LPARAM>(ok));
}

TEST_F(DialogKeys, ControlWantingAllKeysKeepsEnter) {
  SetFocus(first_);
  SetHandler(first_, [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_GETDLGCODE) return false;
    *r = DLGC_WANTALLKEYS;
    return true;
  });
  qz::StartRecording();
  EXPECT_TRUE(Key(VK_RETURN));
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(SameSequence(Only(qz::StopRecording(), {WM_KEYDOWN}), {Posted(first_, WM_KEYDOWN, VK_RETURN, 1)}));
}

// Keys the dialog does not use are translated and dispatched to the focus;
// every other message for the dialog or a child is dispatched too. Messages
// for other windows are the caller's.
TEST_F(DialogKeys, ProcessesEveryMessageForTheDialogAndLeavesOtherWindowsAlone) {
  SetFocus(first_);
  qz::StartRecording();
  EXPECT_TRUE(Key('A'));
  qz::Pump();
  MSG click{inner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(panel_, &click));
  MSG own{panel_, WM_USER + 5, 6, 7, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(panel_, &own));
  HWND stranger = Top(0, 0, 10, 10);
  MSG m{stranger, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(panel_, &m));
  EXPECT_TRUE(
      SameSequence(Only(qz::StopRecording(), {WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, WM_USER + 5}),
                   {Posted(first_, WM_KEYDOWN, 'A', 1), Posted(first_, WM_CHAR, 'a', 1),
                    Posted(inner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4)), Posted(panel_, WM_USER + 5, 6, 7)}));
}

TEST_F(DialogKeys, WorksThroughThePumpAsPreTranslation) {
  static HWND panel;
  panel = panel_;
  qz::SetMessageFilter([](MSG* m) -> BOOL { return IsDialogMessageA(panel, m); });
  SetFocus(first_);
  qz::StartRecording();
  qz::PressKey(VK_TAB);
  auto got = Only(qz::StopRecording(), {WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  EXPECT_EQ(GetFocus(), inner_);
  // The key down was consumed, so no character was made; the key up reaches the new focus.
  EXPECT_TRUE(SameSequence(got, {Posted(inner_, WM_KEYUP)}));
}

}  // namespace
}  // namespace usertest
