#include <cstring>

#include "controls_fixture.h"

namespace controls_test {
namespace {

using ListBox = ControlsTest;

constexpr int kId = 1000;
// As the module creates its clip list.
constexpr DWORD kClipListStyle =
    WS_VSCROLL | WS_TABSTOP | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_NOTIFY;

class FilledList : public ListBox {
 protected:
  void SetUp() override {
    ListBox::SetUp();
    list_ = Make("LISTBOX", "", kClipListStyle, 10, 10, 200, 100, kId, WS_EX_CLIENTEDGE);
    for (int i = 0; i < 20; ++i) {
      std::string text = "item " + std::to_string(i);
      SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    qz::Pump();
    ClearLog();
  }

  int Selection() const { return static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)); }
  int ItemHeight() const { return static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0)); }
  int Top() const { return static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0)); }
  // Client y of the middle of a row shown on screen.
  int RowY(int row) const { return (row - Top()) * ItemHeight() + ItemHeight() / 2; }

  HWND list_ = nullptr;
};

int CountCode(const std::vector<int>& codes, int code) {
  int n = 0;
  for (int c : codes) n += c == code ? 1 : 0;
  return n;
}

TEST_F(ListBox, TabStopsNeedTheTabStopStyle) {
  HWND plain = Make("LISTBOX", "", LBS_NOTIFY, 10, 10, 200, 100, 1);
  HWND tabbed = Make("LISTBOX", "", LBS_USETABSTOPS, 10, 120, 200, 100, 2);
  INT stops[1] = {40};
  EXPECT_EQ(SendMessageA(plain, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops)), FALSE);
  EXPECT_EQ(SendMessageA(tabbed, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops)), TRUE);
}

// Finds the leftmost column right of `from` with a pixel other than the background in `row`.
int FirstInkColumn(HWND hwnd, int from, int top, int bottom, uint32_t background) {
  for (int x = from; x < 400; ++x)
    if (ControlsTest::CountOther(hwnd, RECT{x, top, x + 1, bottom}, background) > 0) return x;
  return -1;
}

HFONT PanelFont(int height) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  strcpy(lf.lfFaceName, "DejaVu Sans");
  return CreateFontIndirectA(&lf);
}

// The average character width the platform's controls use: "a".."z" and
// "A".."Z" measured together, over 52, rounded.
int AverageWidth(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return (size.cx / 26 + 1) / 2;
}

TEST_F(ListBox, TabStopsAreQuarterAverageCharactersOfTheListsFontWhenSet) {
  HFONT font = PanelFont(-20);
  int average = AverageWidth(font);
  ASSERT_NE(average, LOWORD(GetDialogBaseUnits()));
  HWND list = Make("LISTBOX", "", LBS_USETABSTOPS, 10, 10, 380, 100, kId);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  INT stops[2] = {40, 100};
  ASSERT_EQ(SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)), TRUE);
  // A later font leaves the stops where they were put.
  SendMessageA(list, WM_SETFONT, 0, FALSE);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("i\ti\ti"));
  qz::Pump();
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  uint32_t window = SysPixel(COLOR_WINDOW);
  int first = FirstInkColumn(list, 0, 0, height, window);
  ASSERT_GE(first, 0);
  int second = FirstInkColumn(list, first + 4, 0, height, window);
  int third = FirstInkColumn(list, second + 4, 0, height, window);
  EXPECT_EQ(second - first, MulDiv(40, average, 4));
  EXPECT_EQ(third - first, MulDiv(100, average, 4));
  DestroyWindow(list);
  DeleteObject(font);
}

// The clip list of a 300-pixel panel: its stops, 880/b and 1120/b dialog
// units with b the system's average width, land in the list's 8-point font
// at 193 and 245 pixels, so all three columns show inside the list.
TEST_F(ListBox, ClipListColumnsAllShowInThePanelFont) {
  HFONT font = PanelFont(-11);
  HWND list = Make("LISTBOX", "", kClipListStyle, 3, 3, 294, 214, kId, WS_EX_CLIENTEDGE);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int b = LOWORD(GetDialogBaseUnits());
  INT stops[3] = {0, 880 / b, 1120 / b};
  ASSERT_EQ(SendMessageA(list, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(stops)), TRUE);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Clip\t1200\t2400"));
  qz::Pump();
  RECT client{};
  GetClientRect(list, &client);
  int average = AverageWidth(font);
  int edge = 2;
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  uint32_t window = SysPixel(COLOR_WINDOW);
  int start = FirstInkColumn(list, edge + 1 + MulDiv(stops[1], average, 4), edge, edge + height, window);
  int end = FirstInkColumn(list, edge + 1 + MulDiv(stops[2], average, 4), edge, edge + height, window);
  EXPECT_LT(start, edge + 1 + MulDiv(stops[1], average, 4) + 3);
  EXPECT_LT(end, edge + 1 + MulDiv(stops[2], average, 4) + 3);
  // The end time's last digit still lies inside the list's client area.
  EXPECT_GT(CountOther(list, RECT{end, edge, edge + client.right, edge + height}, window), 0);
  EXPECT_LT(end + 20, edge + client.right);
  DestroyWindow(list);
  DeleteObject(font);
}

TEST_F(ListBox, ItemTextStartsOnePixelIn) {
  HWND label = Make("STATIC", "l", SS_LEFTNOWORDWRAP, 10, 10, 100, 20, 1);
  HWND list = Make("LISTBOX", "", 0, 10, 40, 100, 60, kId);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("l"));
  qz::Pump();
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  int labelInk = FirstInkColumn(label, 0, 0, 16, SysPixel(COLOR_BTNFACE));
  int listInk = FirstInkColumn(list, 0, 0, height, SysPixel(COLOR_WINDOW));
  ASSERT_GE(labelInk, 0);
  EXPECT_EQ(listInk, labelInk + 1);
}

TEST_F(FilledList, ClickSelectsAndNotifiesOnce) {
  ClickAt(list_, 50, RowY(2));
  EXPECT_EQ(Selection(), 2);
  EXPECT_EQ(CountCode(Codes(kId), LBN_SELCHANGE), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FilledList, DoubleClickNotifiesDblClk) {
  ClickAt(list_, 50, RowY(3));
  ClickAt(list_, 50, RowY(3));
  std::vector<int> codes = Codes(kId);
  EXPECT_EQ(CountCode(codes, LBN_DBLCLK), 1);
  EXPECT_EQ(CountCode(codes, LBN_SELCHANGE), 1);
  EXPECT_EQ(codes.back(), LBN_DBLCLK);
}

TEST_F(FilledList, ClicksFarApartInTimeAreNoDoubleClick) {
  ClickAt(list_, 50, RowY(3));
  qz::AdvanceClock(800);
  ClickAt(list_, 50, RowY(3));
  EXPECT_EQ(CountCode(Codes(kId), LBN_DBLCLK), 0);
}

TEST_F(ListBox, NoNotificationsWithoutTheNotifyStyle) {
  HWND list = Make("LISTBOX", "", 0, 10, 10, 200, 100, kId);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  ClickAt(list, 20, 4);
  ClickAt(list, 20, 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(Codes(kId).empty());
}

TEST_F(FilledList, KeyToItemHandledLeavesTheSelectionAlone) {
  SetFocus(list_);
  SendMessageA(list_, LB_SETCURSEL, 4, 0);
  vkeyAnswer_ = -2;
  ClearLog();
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Selection(), 4);
  ASSERT_EQ(Count(WM_VKEYTOITEM), 1);
  ParentMessage asked = Received(WM_VKEYTOITEM)[0];
  EXPECT_EQ(LOWORD(asked.wParam), VK_DOWN);
  EXPECT_EQ(HIWORD(asked.wParam), 4);
  EXPECT_EQ(reinterpret_cast<HWND>(asked.lParam), list_);
  EXPECT_EQ(CountCode(Codes(kId), LBN_SELCHANGE), 0);
}

TEST_F(FilledList, KeyToItemMinusOneLetsTheKeyMoveTheSelection) {
  SetFocus(list_);
  SendMessageA(list_, LB_SETCURSEL, 4, 0);
  vkeyAnswer_ = -1;
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Selection(), 5);
  EXPECT_EQ(CountCode(Codes(kId), LBN_SELCHANGE), 1);
}

TEST_F(FilledList, KeyToItemIndexMovesTheSelectionThere) {
  SetFocus(list_);
  SendMessageA(list_, LB_SETCURSEL, 4, 0);
  vkeyAnswer_ = 12;
  qz::PressKey(VK_DELETE);
  EXPECT_EQ(Selection(), 12);
  EXPECT_GE(12, Top());
  EXPECT_LT(12, Top() + 100 / ItemHeight());
}

TEST_F(FilledList, KeysMoveTheSelectionAndKeepItVisible) {
  SetFocus(list_);
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Selection(), 0);
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Selection(), 1);
  qz::PressKey(VK_END);
  EXPECT_EQ(Selection(), 19);
  EXPECT_GT(Top(), 0);
  EXPECT_LE(19 - Top() + 1, 96 / ItemHeight());
  qz::PressKey(VK_HOME);
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(Top(), 0);
  qz::PressKey(VK_NEXT);
  EXPECT_GT(Selection(), 1);
}

TEST_F(FilledList, ResetContentIsSilentButReleasesItemData) {
  static int anchor;
  SendMessageA(list_, LB_SETITEMDATA, 3, reinterpret_cast<LPARAM>(&anchor));
  SendMessageA(list_, LB_SETCURSEL, 3, 0);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(list_, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(Count(WM_COMMAND), 0);
  ASSERT_EQ(deletedItems_.size(), 1u);
  EXPECT_EQ(deletedItems_[0].itemID, 3u);
  EXPECT_EQ(deletedItems_[0].itemData, reinterpret_cast<ULONG_PTR>(&anchor));
  EXPECT_EQ(deletedItems_[0].CtlType, static_cast<UINT>(ODT_LISTBOX));
}

TEST_F(FilledList, SetCurSelMinusOneClearsAndReturnsAnError) {
  SendMessageA(list_, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(SendMessageA(list_, LB_SETCURSEL, 20, 0), LB_ERR);
  EXPECT_EQ(Count(WM_COMMAND), 0);
}

TEST_F(FilledList, SetCurSelScrollsTheItemIntoView) {
  SendMessageA(list_, LB_SETCURSEL, 15, 0);
  EXPECT_LE(Top(), 15);
  EXPECT_GT(Top() + 96 / ItemHeight(), 15);
}

TEST_F(FilledList, TopIndexStopsWhereTheLastItemShows) {
  EXPECT_EQ(SendMessageA(list_, LB_SETTOPINDEX, 19, 0), LB_OKAY);
  EXPECT_EQ(Top(), 20 - 96 / ItemHeight());
  EXPECT_EQ(SendMessageA(list_, LB_SETTOPINDEX, 25, 0), LB_ERR);
}

TEST_F(FilledList, ItemDataIsPointerSized) {
  LPARAM big = static_cast<LPARAM>(0x123456789ABCDEF0LL);
  SendMessageA(list_, LB_SETITEMDATA, 0, big);
  EXPECT_EQ(SendMessageA(list_, LB_GETITEMDATA, 0, 0), big);
  EXPECT_EQ(SendMessageA(list_, LB_GETITEMDATA, 20, 0), LB_ERR);
}

TEST_F(FilledList, TextAndFindStringExact) {
  char text[32] = {};
  EXPECT_EQ(SendMessageA(list_, LB_GETTEXT, 12, reinterpret_cast<LPARAM>(text)), 7);
  EXPECT_STREQ(text, "item 12");
  EXPECT_EQ(SendMessageA(list_, LB_GETTEXTLEN, 3, 0), 6);
  EXPECT_EQ(SendMessageA(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ITEM 7")), 7);
  EXPECT_EQ(SendMessageA(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("item")), LB_ERR);
}

TEST_F(FilledList, ScrollBarArrowScrollsWithoutSelecting) {
  RECT client{};
  GetClientRect(list_, &client);
  ClickAt(list_, client.right - 8, client.bottom - 4);
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(Selection(), -1);
}

TEST_F(ListBox, OwnerDrawnRowsAreDrawnByTheParentWithTheirData) {
  HWND list = Make("LISTBOX", "", LBS_OWNERDRAWFIXED | LBS_NOTIFY, 10, 10, 200, 100, kId);
  SendMessageA(list, LB_ADDSTRING, 0, 0x1111);
  SendMessageA(list, LB_ADDSTRING, 0, 0x2222);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 0x2222);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  drawItems_.clear();
  qz::Pump();
  ASSERT_EQ(drawItems_.size(), 2u);
  EXPECT_EQ(drawItems_[1].CtlType, static_cast<UINT>(ODT_LISTBOX));
  EXPECT_EQ(drawItems_[1].itemID, 1u);
  EXPECT_EQ(drawItems_[1].itemData, 0x2222u);
  EXPECT_TRUE(drawItems_[1].itemState & ODS_SELECTED);
  EXPECT_FALSE(drawItems_[0].itemState & ODS_SELECTED);
  EXPECT_EQ(drawItems_[1].rcItem.top, drawItems_[0].rcItem.bottom);
  SendMessageA(list, LB_DELETESTRING, 0, 0);
  ASSERT_EQ(deletedItems_.size(), 1u);
  EXPECT_EQ(deletedItems_[0].itemData, 0x1111u);
}

TEST_F(FilledList, SelectedRowIsHighlightedAndTheParentColoursTheRest) {
  colorMessage_ = WM_CTLCOLORLISTBOX;
  colorBrush_ = SolidBrush(RGB(0, 100, 0));
  SendMessageA(list_, LB_SETCURSEL, 1, 0);
  InvalidateRect(list_, nullptr, TRUE);
  qz::Pump();
  // Window coordinates: the client edge is 2 pixels wide.
  EXPECT_EQ(Pixel(list_, 150, 2 + RowY(1)), SysPixel(COLOR_HIGHLIGHT));
  EXPECT_EQ(Pixel(list_, 150, 2 + RowY(2)), 0x006400u);
}

}  // namespace
}  // namespace controls_test
