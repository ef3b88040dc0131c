#include "controls_fixture.h"

namespace controls_test {
namespace {

using ComboBox = ControlsTest;

constexpr int kId = 1000;
// As the module creates its choice list: a drop-down list 220 pixels tall when open.
constexpr DWORD kListStyle = WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST;

class FilledCombo : public ComboBox {
 protected:
  void SetUp() override {
    ComboBox::SetUp();
    combo_ = Make("COMBOBOX", "", kListStyle, 5, 3, 150, 220, kId);
    for (const char* item : {"Red", "Green", "Blue", "Alpha"})
      SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    qz::Pump();
    ClearLog();
  }

  int Selection() const { return static_cast<int>(SendMessageA(combo_, CB_GETCURSEL, 0, 0)); }
  int Height() const {
    RECT r{};
    GetWindowRect(combo_, &r);
    return r.bottom - r.top;
  }
  int FieldHeight() const {
    return static_cast<int>(SendMessageA(combo_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
  }
  int ItemHeight() const { return static_cast<int>(SendMessageA(combo_, CB_GETITEMHEIGHT, 0, 0)); }
  // Client point of list row `row` while the list is down.
  POINT RowPoint(int row) const { return POINT{40, FieldHeight() + 1 + row * ItemHeight() + ItemHeight() / 2}; }

  HWND combo_ = nullptr;
};

TEST_F(ComboBox, NewComboHasNoSelection) {
  HWND combo = Make("COMBOBOX", "", kListStyle, 5, 3, 150, 220, kId);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(FilledCombo, SetCurSelPastTheEndFailsAndLeavesNoSelection) {
  ASSERT_EQ(SendMessageA(combo_, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessageA(combo_, CB_SETCURSEL, 4, 0), CB_ERR);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(Count(WM_COMMAND), 0);
}

TEST_F(FilledCombo, SetCurSelMinusOneClearsAndReportsAnError) {
  SendMessageA(combo_, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(combo_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
  EXPECT_EQ(Selection(), -1);
  char text[16] = "x";
  EXPECT_EQ(GetWindowTextA(combo_, text, sizeof(text)), 0);
}

TEST_F(FilledCombo, MousePickNotifiesInThePlatformsOrder) {
  ClickAt(combo_, 20, 5);
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));
  ClearLog();
  POINT row = RowPoint(2);
  ClickAt(combo_, row.x, row.y);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  ASSERT_FALSE(Received(WM_COMMAND).empty());
  EXPECT_EQ(Received(WM_COMMAND)[0].selectionAtTime, 2);
  EXPECT_EQ(Selection(), 2);
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FilledCombo, PressDragAndReleaseOnARowPicksIt) {
  qz::InjectMouseAt(combo_, WM_LBUTTONDOWN, 20, 5);
  POINT row = RowPoint(3);
  qz::InjectMouseAt(combo_, WM_MOUSEMOVE, row.x, row.y);
  qz::InjectMouseAt(combo_, WM_LBUTTONUP, row.x, row.y);
  qz::Pump();
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(Selection(), 3);
}

TEST_F(FilledCombo, PickingTheSelectedRowAgainDoesNotReportAChange) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  ClickAt(combo_, 20, 5);
  ClearLog();
  POINT row = RowPoint(1);
  ClickAt(combo_, row.x, row.y);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(FilledCombo, DownKeyOnTheClosedListSelectsTheNextItem) {
  SetFocus(combo_);
  SendMessageA(combo_, CB_SETCURSEL, 0, 0);
  ClearLog();
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
  EXPECT_EQ(Received(WM_COMMAND)[0].selectionAtTime, 1);
  qz::PressKey(VK_END);
  EXPECT_EQ(Selection(), 3);
  ClearLog();
  qz::PressKey(VK_DOWN);
  EXPECT_TRUE(Codes(kId).empty());
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), FALSE);
}

TEST_F(FilledCombo, EscapeClosesWithoutChoosing) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  ClickAt(combo_, 20, 5);
  ClearLog();
  qz::PressKey(VK_DOWN);
  qz::PressKey(VK_ESCAPE);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(Selection(), 1);
}

TEST_F(FilledCombo, ClickOutsideClosesWithoutChoosing) {
  ClickAt(combo_, 20, 5);
  ClearLog();
  ClickAt(parent_, 350, 280);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FilledCombo, EnterChoosesTheRowReachedWithTheKeys) {
  SetFocus(combo_);
  qz::PressKey(VK_F1 + 3);
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  qz::PressKey(VK_DOWN);
  qz::PressKey(VK_DOWN);
  ClearLog();
  qz::PressKey(VK_RETURN);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(Selection(), 1);
}

TEST_F(FilledCombo, AltDownDropsTheList) {
  SetFocus(combo_);
  ClearLog();
  qz::SetKeyDown(VK_MENU, true);
  qz::InjectKey(WM_SYSKEYDOWN, VK_DOWN);
  qz::Pump();
  qz::SetKeyDown(VK_MENU, false);
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_DROPDOWN}));
}

TEST_F(FilledCombo, ClosedWindowIsOnlyTheFieldAndGrowsWhenDropped) {
  EXPECT_EQ(Height(), FieldHeight());
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(Height(), FieldHeight() + 4 * ItemHeight() + 2);
  SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(Height(), FieldHeight());
}

TEST_F(FilledCombo, ClicksBelowTheClosedFieldReachTheParent) {
  POINT below{20, FieldHeight() + 20};
  ClientToScreen(combo_, &below);
  EXPECT_EQ(WindowFromPoint(below), parent_);
}

TEST_F(FilledCombo, SelectionFieldHeightFollowsSetItemHeight) {
  EXPECT_EQ(SendMessageA(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 30), 0);
  EXPECT_EQ(Height(), 36);
  EXPECT_EQ(SendMessageA(combo_, CB_SETITEMHEIGHT, 0, 15), 0);
  EXPECT_EQ(ItemHeight(), 15);
  EXPECT_EQ(SendMessageA(combo_, CB_SETITEMHEIGHT, 0, 0), CB_ERR);
}

TEST_F(FilledCombo, DroppedListIsRaisedAndPutBackAmongItsSiblings) {
  HWND later = Make("EDIT", "", 0, 5, 40, 100, 20, 2);
  ASSERT_EQ(GetWindow(combo_, GW_HWNDNEXT), later);
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(GetWindow(later, GW_HWNDNEXT), combo_);
  SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(GetWindow(combo_, GW_HWNDNEXT), later);
}

TEST_F(FilledCombo, DroppedListShowsTheRowsAndHighlightsTheSelection) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  qz::Pump();
  POINT selected = RowPoint(1);
  EXPECT_EQ(Pixel(combo_, 140, selected.y), SysPixel(COLOR_HIGHLIGHT));
  POINT other = RowPoint(2);
  EXPECT_EQ(Pixel(combo_, 140, other.y), SysPixel(COLOR_WINDOW));
}

TEST_F(ComboBox, SortedComboInsertsInOrder) {
  HWND combo = Make("COMBOBOX", "", kListStyle | CBS_SORT, 5, 3, 150, 220, kId);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("gamma")), 2);
  char text[16] = {};
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "beta");
}

TEST_F(FilledCombo, InsertAndDeleteKeepTheSelectionOnItsItem) {
  SendMessageA(combo_, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(combo_, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("First")), 0);
  EXPECT_EQ(Selection(), 3);
  EXPECT_EQ(SendMessageA(combo_, CB_DELETESTRING, 1, 0), 4);
  EXPECT_EQ(Selection(), 2);
  EXPECT_EQ(SendMessageA(combo_, CB_DELETESTRING, 2, 0), 3);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(SendMessageA(combo_, CB_DELETESTRING, 7, 0), CB_ERR);
}

TEST_F(FilledCombo, FindStringExactIgnoresCaseAndWrapsAround) {
  EXPECT_EQ(SendMessageA(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("blue")), 2);
  EXPECT_EQ(SendMessageA(combo_, CB_FINDSTRINGEXACT, 2, reinterpret_cast<LPARAM>("RED")), 0);
  EXPECT_EQ(SendMessageA(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Blu")), CB_ERR);
}

TEST_F(FilledCombo, ItemDataHoldsAPointer) {
  static int anchor;
  LPARAM pointer = reinterpret_cast<LPARAM>(&anchor);
  EXPECT_EQ(SendMessageA(combo_, CB_SETITEMDATA, 1, pointer), CB_OKAY);
  EXPECT_EQ(SendMessageA(combo_, CB_GETITEMDATA, 1, 0), pointer);
  EXPECT_EQ(SendMessageA(combo_, CB_SETITEMDATA, 9, pointer), CB_ERR);
}

TEST_F(FilledCombo, ResetContentEmptiesTheListAndTheSelection) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(combo_, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(Count(WM_COMMAND), 0);
}

TEST_F(FilledCombo, FieldShowsTheSelectedText) {
  uint32_t window = SysPixel(COLOR_WINDOW);
  RECT text{4, 4, 100, FieldHeight() - 4};
  EXPECT_EQ(CountOther(combo_, text, window), 0);
  SendMessageA(combo_, CB_SETCURSEL, 0, 0);
  qz::Pump();
  EXPECT_GT(CountOther(combo_, text, window), 0);
}

}  // namespace
}  // namespace controls_test
