#include <cstring>

#include "controls_fixture.h"

namespace controls_test {
namespace {

using Static = ControlsTest;

constexpr int kLabelId = 0xffff;

TEST_F(Static, ClickOnAPlainLabelGoesToTheParent) {
  HWND label = Make("STATIC", "Label", SS_LEFTNOWORDWRAP, 20, 20, 100, 16, kLabelId);
  ClickAt(label, 10, 8);
  ASSERT_EQ(Count(WM_LBUTTONDOWN), 1);
  ParentMessage down = Received(WM_LBUTTONDOWN)[0];
  EXPECT_EQ(GET_X_LPARAM(down.lParam), 30);
  EXPECT_EQ(GET_Y_LPARAM(down.lParam), 28);
}

TEST_F(Static, NotifyStyleTakesTheClickAndReportsIt) {
  HWND label = Make("STATIC", "Label", SS_LEFT | SS_NOTIFY, 20, 20, 100, 16, 7);
  ClickAt(label, 10, 8);
  EXPECT_EQ(Count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Codes(7), (std::vector<int>{0}));
}

TEST_F(Static, ParentBrushPaintsTheBackground) {
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = SolidBrush(RGB(255, 0, 0));
  HWND label = Make("STATIC", "Red", SS_LEFT, 20, 20, 100, 16, kLabelId);
  qz::Pump();
  EXPECT_EQ(Pixel(label, 95, 2), 0xFF0000u);
  ASSERT_GE(Count(WM_CTLCOLORSTATIC), 1);
  ParentMessage asked = Received(WM_CTLCOLORSTATIC).back();
  EXPECT_EQ(reinterpret_cast<HWND>(asked.lParam), label);
  EXPECT_NE(asked.wParam, 0u);
}

TEST_F(Static, HollowBrushShowsTheParentBeneathAndTheParentsTextColour) {
  eraseBrush_ = SolidBrush(RGB(0, 0, 160));
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  colorBkMode_ = TRANSPARENT;
  colorText_ = RGB(255, 255, 0);
  HWND label = Make("STATIC", "Text", SS_LEFTNOWORDWRAP, 20, 20, 100, 16, kLabelId);
  qz::Pump();
  EXPECT_EQ(Pixel(label, 95, 2), 0x0000A0u);
  int yellow = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 40; ++x) yellow += Pixel(label, x, y) == 0xFFFF00u ? 1 : 0;
  EXPECT_GT(yellow, 0);
}

TEST_F(Static, NewTextReplacesTheOldOnATransparentLabel) {
  eraseBrush_ = SolidBrush(RGB(0, 0, 160));
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  colorBkMode_ = TRANSPARENT;
  colorText_ = RGB(255, 255, 0);
  HWND label = Make("STATIC", "WWWWWW", SS_LEFTNOWORDWRAP, 20, 20, 100, 16, kLabelId);
  qz::Pump();
  RECT all{0, 0, 100, 16};
  ASSERT_GT(CountOther(label, all, 0x0000A0u), 0);
  SetWindowTextA(label, "");
  qz::Pump();
  EXPECT_EQ(CountOther(label, all, 0x0000A0u), 0);
}

TEST_F(Static, SetTextRepaintsTheLabel) {
  HWND label = Make("STATIC", "", SS_LEFT, 20, 20, 100, 16, kLabelId);
  qz::Pump();
  RECT all{0, 0, 100, 16};
  uint32_t face = SysPixel(COLOR_BTNFACE);
  EXPECT_EQ(CountOther(label, all, face), 0);
  SetWindowTextA(label, "Shown");
  qz::Pump();
  EXPECT_GT(CountOther(label, all, face), 0);
  EXPECT_EQ(TextOf(label), "Shown");
}

TEST_F(Static, LeftWrapsWhileLeftNoWordWrapClips) {
  const char* text = "one two three four five six seven";
  HWND wrapped = Make("STATIC", text, SS_LEFT, 10, 10, 60, 80, 1);
  HWND clipped = Make("STATIC", text, SS_LEFTNOWORDWRAP, 80, 10, 60, 80, 2);
  qz::Pump();
  TEXTMETRICA tm{};
  HDC hdc = GetDC(wrapped);
  GetTextMetricsA(hdc, &tm);
  ReleaseDC(wrapped, hdc);
  RECT secondLine{0, tm.tmHeight, 60, 2 * tm.tmHeight};
  uint32_t face = SysPixel(COLOR_BTNFACE);
  EXPECT_GT(CountOther(wrapped, secondLine, face), 0);
  EXPECT_EQ(CountOther(clipped, secondLine, face), 0);
  RECT firstLine{0, 0, 60, tm.tmHeight};
  EXPECT_GT(CountOther(clipped, firstLine, face), 0);
}

TEST_F(Static, RightAlignedTextEndsAtTheRightEdge) {
  HWND label = Make("STATIC", "ab", SS_RIGHT, 10, 10, 120, 16, kLabelId);
  qz::Pump();
  uint32_t face = SysPixel(COLOR_BTNFACE);
  EXPECT_EQ(CountOther(label, RECT{0, 0, 80, 16}, face), 0);
  EXPECT_GT(CountOther(label, RECT{100, 0, 120, 16}, face), 0);
}

using StandardControls = ControlsTest;

TEST_F(StandardControls, ClassNamesAreSpeltAsThePlatformGivesThemAndFoundInAnyCase) {
  struct Case {
    const char* created;
    const char* name;
  };
  int id = 1;
  for (Case c : {Case{"BUTTON", "Button"}, Case{"edit", "Edit"}, Case{"COMBOBOX", "ComboBox"},
                 Case{"listbox", "ListBox"}, Case{"Static", "Static"}}) {
    HWND hwnd = Make(c.created, "", 0, 10, 10, 50, 20, id++);
    char name[32] = {};
    EXPECT_EQ(GetClassNameA(hwnd, name, sizeof(name)), static_cast<int>(strlen(c.name)));
    EXPECT_STREQ(name, c.name);
  }
}

}  // namespace
}  // namespace controls_test
