// A small control panel built the way a program builds one, used the way a
// person uses it, then rendered to panel_demo.png in the working directory.
#include "controls_fixture.h"

namespace controls_test {
namespace {

class PanelDemo : public ControlsTest {
 protected:
  HWND Add(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
    HWND hwnd = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, panel_,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), TRUE);
    return hwnd;
  }

  HWND panel_ = nullptr;
};

TEST_F(PanelDemo, ClickTypeAndRenderAPlainPanel) {
  panel_ = parent_;
  MoveWindow(panel_, kParentX, kParentY, 300, 160, TRUE);
  HWND nameLabel = Add("STATIC", "Name:", SS_RIGHT, 5, 9, 55, 16, 0xffff);
  HWND name = Add("EDIT", "Clip 1", WS_TABSTOP | ES_AUTOHSCROLL, 65, 5, 160, 22, 10, WS_EX_CLIENTEDGE);
  Add("STATIC", "Mode:", SS_RIGHT, 5, 38, 55, 16, 0xffff);
  HWND mode = Add("COMBOBOX", "", WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 65, 34, 160, 120, 11);
  for (const char* item : {"Add", "Multiply", "Screen"})
    SendMessageA(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(mode, CB_SETCURSEL, 0, 0);
  HWND lock = Add("BUTTON", "Update lock", WS_TABSTOP | BS_AUTOCHECKBOX, 65, 64, 120, 18, 12);
  HWND apply = Add("BUTTON", "Apply", WS_TABSTOP | BS_PUSHBUTTON, 65, 92, 80, 24, 13);
  Add("STATIC", "Ready", SS_LEFTNOWORDWRAP, 155, 96, 100, 16, 0xffff);
  InitCommonControls();
  HWND amount = Add(TRACKBAR_CLASSA, "", WS_TABSTOP | TBS_AUTOTICKS, 5, 122, 220, 30, 14);
  SendMessageA(amount, TBM_SETTICFREQ, 10, 0);
  SendMessageA(amount, TBM_SETPOS, TRUE, 30);
  qz::Pump();

  ClickAt(lock, 6, 9);
  ClickAt(mode, 20, 8);
  int fieldHeight = static_cast<int>(SendMessageA(mode, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
  int itemHeight = static_cast<int>(SendMessageA(mode, CB_GETITEMHEIGHT, 0, 0));
  ClickAt(mode, 40, fieldHeight + 1 + 2 * itemHeight + itemHeight / 2);
  ClickAt(name, 150, 9);
  qz::TypeText(" done");
  ClickAt(apply, 40, 12);
  qz::Pump();

  EXPECT_EQ(SendMessageA(lock, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(mode, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(TextOf(name), "Clip 1 done");
  EXPECT_EQ(Codes(13), (std::vector<int>{BN_CLICKED}));
  ASSERT_TRUE(qz::SaveWindowPng(panel_, "panel_demo.png"));

  // The check mark: dark pixels inside the box, which lies at the box's left, centred.
  int dark = 0;
  for (int y = 64 + 5; y < 64 + 14; ++y)
    for (int x = 65 + 3; x < 65 + 11; ++x) dark += IsDark(Pixel(panel_, x, y)) ? 1 : 0;
  EXPECT_GE(dark, 15);
  // The label's text: dark pixels on the face colour, towards its right end.
  int ink = 0;
  for (int y = 9; y < 25; ++y)
    for (int x = 5; x < 60; ++x) ink += IsDark(Pixel(panel_, x, y)) ? 1 : 0;
  EXPECT_GT(ink, 10);
  EXPECT_EQ(Pixel(nameLabel, 1, 1), SysPixel(COLOR_BTNFACE));
  // The combo shows its choice in a white field with a face-coloured arrow button.
  EXPECT_EQ(Pixel(mode, 150, 4), SysPixel(COLOR_BTNFACE));
}

}  // namespace
}  // namespace controls_test

namespace controls_test {
namespace {

TEST_F(PanelDemo, ListsRadiosAndAnOpenComboRender) {
  panel_ = parent_;
  MoveWindow(panel_, kParentX, kParentY, 360, 220, TRUE);
  Add("BUTTON", "Blend", BS_GROUPBOX, 5, 5, 150, 90, 0xffff);
  HWND over = Add("BUTTON", "Over", BS_AUTORADIOBUTTON | WS_GROUP, 15, 25, 100, 18, 20);
  Add("BUTTON", "Under", BS_AUTORADIOBUTTON, 15, 45, 100, 18, 21);
  HWND mixed = Add("BUTTON", "Mixed", BS_AUTO3STATE, 15, 67, 100, 18, 22);
  HWND list = Add("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT, 5, 100, 150, 110, 23,
                  WS_EX_CLIENTEDGE);
  for (int i = 0; i < 12; ++i) {
    std::string row = "clip " + std::to_string(i) + "\t00:0" + std::to_string(i % 10);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  }
  HWND notes =
      Add("EDIT", "first line\r\nsecond line", ES_MULTILINE | ES_WANTRETURN, 165, 5, 185, 60, 24, WS_EX_CLIENTEDGE);
  HWND mode = Add("COMBOBOX", "", CBS_DROPDOWNLIST, 165, 75, 185, 120, 25);
  for (const char* item : {"Add", "Multiply", "Screen", "Overlay"})
    SendMessageA(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  qz::Pump();

  ClickAt(over, 5, 9);
  SendMessageA(mixed, BM_SETCHECK, BST_INDETERMINATE, 0);
  ClickAt(list, 40, 5);
  SetFocus(notes);
  SendMessageA(notes, EM_SETSEL, 0, 5);
  SendMessageA(mode, CB_SETCURSEL, 1, 0);
  SendMessageA(mode, CB_SHOWDROPDOWN, TRUE, 0);
  qz::Pump();
  ASSERT_TRUE(qz::SaveWindowPng(panel_, "controls_gallery.png"));

  EXPECT_EQ(Pixel(list, 100, 2 + 4), SysPixel(COLOR_HIGHLIGHT));
  EXPECT_TRUE(IsDark(Pixel(over, 5, 9)));
  EXPECT_EQ(Pixel(notes, 2 + 2, 2 + 6) == SysPixel(COLOR_HIGHLIGHT) ||
                Pixel(notes, 2 + 3, 2 + 6) == SysPixel(COLOR_HIGHLIGHT),
            true);
}

}  // namespace
}  // namespace controls_test
