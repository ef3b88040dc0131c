#include "controls_fixture.h"

namespace controls_test {
namespace {

using RichEdit = ControlsTest;

constexpr int kId = 4000;
constexpr DWORD kFieldStyle =
    WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE;

bool Has(const std::vector<int>& codes, int code) {
  for (int c : codes)
    if (c == code) return true;
  return false;
}

class RichEditField : public RichEdit {
 protected:
  void SetUp() override {
    RichEdit::SetUp();
    ASSERT_NE(LoadLibraryA("RICHED32.DLL"), nullptr);
    field_ = Make(RICHEDIT_CLASSA, "", kFieldStyle, 10, 10, 200, 80, kId, WS_EX_CLIENTEDGE);
    SetFocus(field_);
    ClearLog();
  }
  HWND field_ = nullptr;
};

TEST_F(RichEditField, NoChangeNotificationUntilTheEventMaskAsksForIt) {
  EXPECT_EQ(SendMessageA(field_, EM_GETEVENTMASK, 0, 0), 0);
  qz::TypeText("a");
  EXPECT_FALSE(Has(Codes(kId), EN_CHANGE));
  EXPECT_FALSE(Has(Codes(kId), EN_UPDATE));
  EXPECT_EQ(SendMessageA(field_, EM_SETEVENTMASK, 0, ENM_CHANGE), 0);
  qz::TypeText("b");
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_CHANGE}));
  EXPECT_EQ(TextOf(field_), "ab");
}

TEST_F(RichEditField, FullMaskSendsUpdateBeforeChange) {
  EXPECT_EQ(SendMessageA(field_, EM_SETEVENTMASK, 0, -1), 0);
  EXPECT_EQ(SendMessageA(field_, EM_GETEVENTMASK, 0, 0), static_cast<LRESULT>(0xFFFFFFFFu));
  qz::TypeText("x");
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
}

TEST_F(RichEditField, SettingTheTextNeverNotifies) {
  SendMessageA(field_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_UPDATE);
  SetWindowTextA(field_, "programmatic");
  EXPECT_TRUE(Codes(kId).empty());
  EXPECT_EQ(TextOf(field_), "programmatic");
}

TEST_F(RichEditField, FocusNotificationsNeedNoMask) {
  HWND other = Make("EDIT", "", 0, 10, 100, 100, 20, 1);
  SetFocus(other);
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_KILLFOCUS}));
}

TEST_F(RichEditField, EnterBreaksTheLine) {
  qz::TypeText("one\rtwo");
  EXPECT_EQ(TextOf(field_), "one\r\ntwo");
  EXPECT_EQ(SendMessageA(field_, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(RichEditField, AsksTheParentForNoColours) {
  colorMessage_ = WM_CTLCOLOREDIT;
  colorBrush_ = SolidBrush(RGB(255, 0, 0));
  InvalidateRect(field_, nullptr, TRUE);
  qz::Pump();
  EXPECT_EQ(Count(WM_CTLCOLOREDIT), 0);
  EXPECT_EQ(Count(WM_CTLCOLORSTATIC), 0);
  EXPECT_EQ(Pixel(field_, 150, 60), SysPixel(COLOR_WINDOW));
}

TEST_F(RichEditField, BackgroundColourIsItsOwnAndReturnsThePrevious) {
  LRESULT previous = SendMessageA(field_, EM_SETBKGNDCOLOR, 0, RGB(0, 0, 200));
  EXPECT_EQ(static_cast<COLORREF>(previous), GetSysColor(COLOR_WINDOW));
  qz::Pump();
  EXPECT_EQ(Pixel(field_, 150, 60), 0x0000C8u);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(field_, EM_SETBKGNDCOLOR, 1, 0)), RGB(0, 0, 200));
  qz::Pump();
  EXPECT_EQ(Pixel(field_, 150, 60), SysPixel(COLOR_WINDOW));
}

TEST_F(RichEditField, ExLimitTextLimitsTyping) {
  SendMessageA(field_, EM_EXLIMITTEXT, 0, 3);
  qz::TypeText("abcdef");
  EXPECT_EQ(TextOf(field_), "abc");
  EXPECT_EQ(SendMessageA(field_, EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(RichEdit, OnlyTheRichEditLibraryLoads) {
  EXPECT_NE(LoadLibraryA("riched32.dll"), nullptr);
  EXPECT_EQ(LoadLibraryA("RICHED32.DLL"), LoadLibraryA("riched32.dll"));
  EXPECT_EQ(LoadLibraryA("USER32.DLL"), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
}

}  // namespace
}  // namespace controls_test
