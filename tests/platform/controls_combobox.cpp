#include "controls_fixture.h"

namespace controls_test {
namespace {

using ComboBox = ControlsTest;

constexpr int kId = 1000;

// A pixel of the screen as the window manager composes it, pop-ups included.
uint32_t ScreenPixel(int x, int y) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!qz::CaptureScreen(RECT{x, y, x + 1, y + 1}, &w, &h, &pixels) || pixels.size() != 1) return 0xFFFFFFFF;
  return pixels[0];
}
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
  RECT DroppedRect() const {
    RECT r{};
    SendMessageA(combo_, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The window shown where the list drops.
  HWND ListWindow() const {
    RECT r = DroppedRect();
    return WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

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

TEST_F(FilledCombo, WindowStaysTheFieldWhileTheListIsDropped) {
  EXPECT_EQ(Height(), FieldHeight());
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(Height(), FieldHeight());
  RECT list{};
  GetWindowRect(ListWindow(), &list);
  EXPECT_EQ(list.bottom - list.top, 4 * ItemHeight() + 2);
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

TEST_F(FilledCombo, DroppingLeavesTheSiblingOrderAlone) {
  HWND later = Make("EDIT", "", 0, 5, 40, 100, 20, 2);
  ASSERT_EQ(GetWindow(combo_, GW_HWNDNEXT), later);
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(GetWindow(combo_, GW_HWNDNEXT), later);
  SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(GetWindow(combo_, GW_HWNDNEXT), later);
}

TEST_F(FilledCombo, DroppedListShowsTheRowsAndHighlightsTheSelection) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  qz::Pump();
  POINT selected = RowPoint(1);
  ClientToScreen(combo_, &selected);
  EXPECT_EQ(ScreenPixel(selected.x + 100, selected.y), SysPixel(COLOR_HIGHLIGHT));
  POINT other = RowPoint(2);
  ClientToScreen(combo_, &other);
  EXPECT_EQ(ScreenPixel(other.x + 100, other.y), SysPixel(COLOR_WINDOW));
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

TEST_F(FilledCombo, ListFilledOnDropDownIsShownWhole) {
  onCommand_ = [this](WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) == CBN_DROPDOWN) SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Extra"));
  };
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  RECT list{};
  GetWindowRect(ListWindow(), &list);
  EXPECT_EQ(list.bottom - list.top, 5 * ItemHeight() + 2);
}

TEST_F(FilledCombo, ItemsAddedWhileDroppedGrowTheList) {
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = ListWindow();
  SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Extra"));
  RECT r{};
  GetWindowRect(list, &r);
  EXPECT_EQ(r.bottom - r.top, 5 * ItemHeight() + 2);
  EXPECT_EQ(ListWindow(), list);
}

// A window that passes its children's notifications on to the test parent.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The combo in a control window only 28 pixels high, as a panel holds it:
// its list drops well below the control window's bottom edge.
class ComboInShortHost : public ComboBox {
 protected:
  void SetUp() override {
    ComboBox::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "ComboTestHost";
    RegisterClassA(&wc);
    host_ = Make("ComboTestHost", "", WS_CLIPCHILDREN, 10, 20, 200, 28, 7);
    combo_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | kListStyle, 0, 2, 180, 200, host_,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(kId)), nullptr, nullptr);
    ASSERT_NE(combo_, nullptr);
    for (const char* item : {"Normal", "Screen", "Multiply", "Add", "Overlay"})
      SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    qz::Pump();
    ClearLog();
  }

  int ItemHeight() const { return static_cast<int>(SendMessageA(combo_, CB_GETITEMHEIGHT, 0, 0)); }
  void Drop() {
    RECT field{};
    GetClientRect(combo_, &field);
    ClickAt(combo_, 20, field.bottom / 2);
    ASSERT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  }
  RECT ScreenRect(HWND hwnd) const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  // Screen point in the middle of list row `row`, from the list window's place.
  POINT RowOnScreen(HWND list, int row) const {
    RECT r = ScreenRect(list);
    return POINT{r.left + 40, r.top + 1 + row * ItemHeight() + ItemHeight() / 2};
  }
  HWND ListWindow() const {
    RECT r{};
    SendMessageA(combo_, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  void ClickOnScreen(POINT at) {
    qz::InjectMouse(WM_LBUTTONDOWN, at);
    qz::Pump();
    qz::InjectMouse(WM_LBUTTONUP, at);
    qz::Pump();
  }

  HWND host_ = nullptr;
  HWND combo_ = nullptr;
};

TEST_F(ComboInShortHost, ListIsATopLevelPopupUnderTheField) {
  Drop();
  HWND list = ListWindow();
  char name[32] = {};
  GetClassNameA(list, name, sizeof(name));
  EXPECT_STREQ(name, "ComboLBox");
  DWORD style = static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_FALSE(IsChild(parent_, list));
  RECT field = ScreenRect(combo_);
  RECT r = ScreenRect(list);
  EXPECT_EQ(r.left, field.left);
  EXPECT_EQ(r.right, field.right);
  EXPECT_EQ(r.top, field.bottom);
  EXPECT_EQ(r.bottom - r.top, 5 * ItemHeight() + 2);
  EXPECT_GT(r.bottom, ScreenRect(host_).bottom);
  EXPECT_EQ(GetCapture(), combo_);
}

TEST_F(ComboInShortHost, RowBeyondTheHostsBottomEdgeIsPickedWithTheMouse) {
  Drop();
  HWND list = ListWindow();
  POINT row = RowOnScreen(list, 4);
  ASSERT_GT(row.y, ScreenRect(host_).bottom);
  EXPECT_EQ(WindowFromPoint(row), list);
  ClearLog();
  ClickOnScreen(row);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETCURSEL, 0, 0), 4);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboInShortHost, DraggingFromTheFieldOntoARowBelowTheHostPicksIt) {
  qz::InjectMouseAt(combo_, WM_LBUTTONDOWN, 20, 5);
  qz::Pump();
  POINT row = RowOnScreen(ListWindow(), 3);
  qz::InjectMouse(WM_MOUSEMOVE, row);
  qz::InjectMouse(WM_LBUTTONUP, row);
  qz::Pump();
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETCURSEL, 0, 0), 3);
}

TEST_F(ComboInShortHost, ClickOnAnotherWindowCancelsAndStaysWithTheCombo) {
  SendMessageA(combo_, CB_SETCURSEL, 2, 0);
  HWND other = CreateWindowExA(0, "BUTTON", "Other", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON, 700, 600, 80, 24, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  Drop();
  HWND list = ListWindow();
  ClearLog();
  ClickOnScreen(POINT{720, 610});
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETCURSEL, 0, 0), 2);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(SendMessageA(other, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(ComboInShortHost, ClickOnTheFieldWhileDroppedCancels) {
  Drop();
  ClearLog();
  ClickAt(combo_, 20, 5);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), FALSE);
}

// The focused combo loses the focus to its parent before it is destroyed,
// which cancels the drop as any loss of focus does.
TEST_F(ComboInShortHost, DestroyingTheDroppedComboDestroysThePopup) {
  Drop();
  HWND list = ListWindow();
  ASSERT_TRUE(IsWindow(list));
  ASSERT_EQ(GetFocus(), combo_);
  ClearLog();
  DestroyWindow(combo_);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
  EXPECT_EQ(GetFocus(), host_);
}

TEST_F(ComboInShortHost, DestroyingThePanelWhileDroppedDestroysThePopup) {
  Drop();
  HWND list = ListWindow();
  DestroyWindow(parent_);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_FALSE(IsWindow(combo_));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboInShortHost, OpenListIsOnTheScreenAndNotOnThePanelSurface) {
  SendMessageA(combo_, CB_SETCURSEL, 1, 0);
  Drop();
  qz::Pump();
  HWND list = ListWindow();
  POINT row = RowOnScreen(list, 1);
  POINT inPanel = row;
  ScreenToClient(parent_, &inPanel);
  RECT r = ScreenRect(list);
  EXPECT_EQ(ScreenPixel(r.right - 30, row.y), SysPixel(COLOR_HIGHLIGHT));
  EXPECT_EQ(ScreenPixel(r.left, r.bottom - 1), SysPixel(COLOR_WINDOWFRAME));
  EXPECT_EQ(ScreenPixel(r.left + 1, r.bottom - 2), SysPixel(COLOR_WINDOW));
  EXPECT_EQ(Pixel(parent_, inPanel.x + 140, inPanel.y), SysPixel(COLOR_BTNFACE));

  qz::PressKey(VK_ESCAPE);
  qz::Pump();
  EXPECT_EQ(ScreenPixel(r.right - 30, row.y), SysPixel(COLOR_BTNFACE));
}

TEST_F(ComboInShortHost, ListOpensAboveTheFieldAtTheScreensBottom) {
  RECT screen{};
  GetWindowRect(GetDesktopWindow(), &screen);
  SetWindowPos(parent_, nullptr, kParentX, screen.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Drop();
  HWND list = ListWindow();
  RECT r = ScreenRect(list);
  EXPECT_EQ(r.bottom, ScreenRect(combo_).top);
  ClearLog();
  ClickOnScreen(RowOnScreen(list, 0));
  EXPECT_EQ(Codes(kId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETCURSEL, 0, 0), 0);
}

using ScreenCapture = ComboBox;

TEST_F(ScreenCapture, LaterTopLevelWindowsCoverEarlierOnesAndHiddenOnesShowNothing) {
  WNDCLASSA red{};
  red.lpfnWndProc = DefWindowProcA;
  red.hbrBackground = SolidBrush(RGB(255, 0, 0));
  red.lpszClassName = "RedTestWindow";
  RegisterClassA(&red);
  WNDCLASSA blue = red;
  blue.hbrBackground = SolidBrush(RGB(0, 0, 255));
  blue.lpszClassName = "BlueTestWindow";
  RegisterClassA(&blue);
  CreateWindowExA(0, "RedTestWindow", "", WS_POPUP | WS_VISIBLE, 1000, 100, 40, 40, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExA(0, "BlueTestWindow", "", WS_POPUP | WS_VISIBLE, 1020, 120, 40, 40, nullptr, nullptr, nullptr,
                  nullptr);
  CreateWindowExA(0, "RedTestWindow", "", WS_POPUP, 1030, 130, 40, 40, nullptr, nullptr, nullptr, nullptr);
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureScreen(RECT{990, 90, 1080, 180}, &w, &h, &pixels));
  ASSERT_EQ(w, 90);
  ASSERT_EQ(h, 90);
  auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y - 90) * w + (x - 990)]; };
  EXPECT_EQ(at(1005, 105), 0xFF0000u);
  EXPECT_EQ(at(1025, 125), 0x0000FFu);
  EXPECT_EQ(at(1065, 165), 0x000000u);
  EXPECT_EQ(at(995, 95), 0x000000u);
}

}  // namespace
}  // namespace controls_test
