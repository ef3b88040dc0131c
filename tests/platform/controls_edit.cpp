#include "controls_fixture.h"

namespace controls_test {
namespace {

using Edit = ControlsTest;

constexpr int kId = 10101;
constexpr DWORD kFieldStyle = WS_TABSTOP | ES_AUTOHSCROLL;

struct Selection {
  DWORD start;
  DWORD end;
  bool operator==(const Selection&) const = default;
};

Selection SelectionOf(HWND edit) {
  Selection s{};
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start), reinterpret_cast<LPARAM>(&s.end));
  return s;
}

std::ostream& operator<<(std::ostream& out, const Selection& s) {
  return out << s.start << ".." << s.end;
}

TEST_F(Edit, TypingStopsAtTheLimitWithMaxTextWhileSetTextIsNotCut) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId, WS_EX_CLIENTEDGE);
  SendMessageA(edit, EM_LIMITTEXT, 5, 0);
  SetFocus(edit);
  qz::TypeText("abcdefg");
  EXPECT_EQ(TextOf(edit), "abcde");
  int maxText = 0;
  for (int code : Codes(kId)) maxText += code == EN_MAXTEXT ? 1 : 0;
  EXPECT_EQ(maxText, 2);
  SetWindowTextA(edit, "0123456789");
  EXPECT_EQ(TextOf(edit), "0123456789");
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(Edit, LimitDefaultsTo30000AndZeroMeansTheMaximum) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  HWND multi = Make("EDIT", "", ES_MULTILINE, 10, 40, 200, 60, kId + 1);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
  EXPECT_EQ(SendMessageA(multi, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  SendMessageA(multi, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  EXPECT_EQ(SendMessageA(multi, EM_GETLIMITTEXT, 0, 0), 0xFFFFFFFF);
}

TEST_F(Edit, TypingStopsAtTheDefaultLimit) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  SetWindowTextA(edit, std::string(29999, 'x').c_str());
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 29999, 29999);
  ClearLog();
  qz::TypeText("ab");
  EXPECT_EQ(GetWindowTextLengthA(edit), 30000);
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
}

TEST_F(Edit, EachTypedCharacterSendsUpdateThenChange) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  ClearLog();
  qz::TypeText("ab");
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
  EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(Edit, TextIsAlreadyChangedWhenTheParentHearsOfIt) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  std::string seen;
  onCommand_ = [&](WPARAM wParam, LPARAM from) {
    if (HIWORD(wParam) == EN_CHANGE) seen = TextOf(reinterpret_cast<HWND>(from));
  };
  qz::TypeText("x");
  EXPECT_EQ(seen, "x");
}

TEST_F(Edit, SetTextNotifiesOnlyASingleLineEdit) {
  HWND single = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, 1);
  HWND multi = Make("EDIT", "", ES_MULTILINE, 10, 40, 200, 60, 2);
  ClearLog();
  SetWindowTextA(single, "one");
  SetWindowTextA(multi, "two");
  EXPECT_EQ(Codes(1), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(Codes(2).empty());
}

TEST_F(Edit, CreationTextIsNotAChange) {
  HWND edit = Make("EDIT", "start", kFieldStyle, 10, 10, 200, 20, kId);
  EXPECT_EQ(TextOf(edit), "start");
  EXPECT_TRUE(Codes(kId).empty());
}

TEST_F(Edit, SetTextClearsTheModifyFlag) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  qz::TypeText("a");
  ASSERT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), TRUE);
  SetWindowTextA(edit, "b");
  EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), FALSE);
}

TEST_F(Edit, FocusChangesAreReportedToTheParent) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  HWND other = Make("EDIT", "", kFieldStyle, 10, 40, 200, 20, kId + 1);
  SetFocus(edit);
  SetFocus(other);
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_SETFOCUS, EN_KILLFOCUS}));
}

TEST_F(Edit, DestroyedWhileFocusedItTellsItsParentOfTheLostFocusFirst) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  ClearLog();
  HWND focusWhenTold = nullptr;
  onCommand_ = [&](WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) == EN_KILLFOCUS) focusWhenTold = GetFocus();
  };
  DestroyWindow(edit);
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_KILLFOCUS}));
  EXPECT_EQ(focusWhenTold, parent_);
  EXPECT_EQ(GetFocus(), parent_);
}

TEST_F(Edit, TypingReplacesTheSelectionAndBackspaceAndDeleteRemoveCharacters) {
  HWND edit = Make("EDIT", "hello", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 1, 3);
  qz::TypeText("X");
  EXPECT_EQ(TextOf(edit), "hXlo");
  EXPECT_EQ(SelectionOf(edit), (Selection{2, 2}));
  qz::PressKey(VK_BACK);
  EXPECT_EQ(TextOf(edit), "hlo");
  qz::PressKey(VK_HOME);
  qz::PressKey(VK_DELETE);
  EXPECT_EQ(TextOf(edit), "lo");
  qz::PressKey(VK_END);
  qz::PressKey(VK_DELETE);
  EXPECT_EQ(TextOf(edit), "lo");
}

TEST_F(Edit, SelectAllThenTypingReplacesEverything) {
  HWND edit = Make("EDIT", "old text", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(SelectionOf(edit), (Selection{0, 8}));
  qz::TypeText("12");
  EXPECT_EQ(TextOf(edit), "12");
}

TEST_F(Edit, ShiftArrowsExtendTheSelectionFromTheCaret) {
  HWND edit = Make("EDIT", "abcdef", kFieldStyle, 10, 10, 200, 20, kId);
  SetFocus(edit);
  qz::PressKey(VK_END);
  qz::SetKeyDown(VK_SHIFT, true);
  qz::PressKey(VK_LEFT);
  qz::PressKey(VK_LEFT);
  qz::SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(SelectionOf(edit), (Selection{4, 6}));
  qz::PressKey(VK_LEFT);
  EXPECT_EQ(SelectionOf(edit), (Selection{4, 4}));
}

TEST_F(Edit, ClickPlacesTheCaret) {
  HWND edit = Make("EDIT", "abcdef", kFieldStyle, 10, 10, 200, 20, kId);
  ClickAt(edit, 190, 8);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(SelectionOf(edit), (Selection{6, 6}));
  ClickAt(edit, 0, 8);
  EXPECT_EQ(SelectionOf(edit), (Selection{0, 0}));
}

TEST_F(Edit, WithoutAutoScrollTypingStopsAtTheVisibleWidth) {
  HWND edit = Make("EDIT", "", WS_TABSTOP, 10, 10, 40, 20, kId);
  SetFocus(edit);
  qz::TypeText("wwwwwwwwwwwwwwwwwwww");
  int length = GetWindowTextLengthA(edit);
  EXPECT_GT(length, 0);
  EXPECT_LT(length, 20);
  bool maxText = false;
  for (int code : Codes(kId)) maxText |= code == EN_MAXTEXT;
  EXPECT_TRUE(maxText);
}

TEST_F(Edit, AutoScrollKeepsTypingPastTheEdge) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 40, 20, kId);
  SetFocus(edit);
  qz::TypeText("wwwwwwwwwwwwwwwwwwww");
  EXPECT_EQ(GetWindowTextLengthA(edit), 20);
}

TEST_F(Edit, EnterBreaksTheLineOnlyWithWantReturn) {
  HWND plain = Make("EDIT", "", ES_MULTILINE, 10, 10, 200, 60, 1);
  HWND wanting = Make("EDIT", "", ES_MULTILINE | ES_WANTRETURN, 10, 80, 200, 60, 2);
  SetFocus(plain);
  qz::TypeText("a\rb");
  EXPECT_EQ(TextOf(plain), "ab");
  SetFocus(wanting);
  qz::TypeText("a\rb");
  EXPECT_EQ(TextOf(wanting), "a\r\nb");
  EXPECT_EQ(SendMessageA(wanting, EM_GETLINECOUNT, 0, 0), 2);
  qz::PressKey(VK_BACK);
  qz::PressKey(VK_BACK);
  EXPECT_EQ(TextOf(wanting), "a");
}

TEST_F(Edit, DialogCodeLeavesEnterToTheDialogWithoutWantReturn) {
  HWND single = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, 1);
  HWND plain = Make("EDIT", "", ES_MULTILINE, 10, 40, 200, 60, 2);
  HWND wanting = Make("EDIT", "", ES_MULTILINE | ES_WANTRETURN, 10, 110, 200, 60, 3);
  EXPECT_EQ(SendMessageA(single, WM_GETDLGCODE, 0, 0), DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS);
  MSG enter{};
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  EXPECT_FALSE(SendMessageA(plain, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTALLKEYS);
  EXPECT_TRUE(SendMessageA(wanting, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTALLKEYS);
  MSG tab = enter;
  tab.wParam = VK_TAB;
  EXPECT_TRUE(SendMessageA(plain, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTALLKEYS);
}

TEST_F(Edit, ReadOnlyIgnoresTypingAndAsksForStaticColours) {
  HWND edit = Make("EDIT", "fixed", kFieldStyle, 10, 10, 200, 20, kId);
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  SetFocus(edit);
  ClearLog();
  qz::TypeText("x");
  qz::PressKey(VK_BACK);
  EXPECT_EQ(TextOf(edit), "fixed");
  InvalidateRect(edit, nullptr, TRUE);
  qz::Pump();
  EXPECT_GE(Count(WM_CTLCOLORSTATIC), 1);
  EXPECT_EQ(Count(WM_CTLCOLOREDIT), 0);
}

TEST_F(Edit, WritableEditTakesItsBackgroundFromTheParent) {
  colorMessage_ = WM_CTLCOLOREDIT;
  colorBrush_ = SolidBrush(RGB(0, 128, 0));
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId, WS_EX_CLIENTEDGE);
  qz::Pump();
  EXPECT_EQ(Pixel(edit, 150, 10), 0x008000u);
}

TEST_F(Edit, DisabledEditAsksForStaticColoursAndGreysItsText) {
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = SolidBrush(RGB(255, 255, 255));
  colorText_ = RGB(255, 0, 0);
  HWND edit = Make("EDIT", "WWW", kFieldStyle | WS_DISABLED, 10, 10, 200, 20, kId);
  qz::Pump();
  EXPECT_EQ(Count(WM_CTLCOLOREDIT), 0);
  uint32_t darkest = 0xFFFFFF;
  int reddish = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint32_t p = Pixel(edit, x, y);
      int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
      if (r + g + b < static_cast<int>(((darkest >> 16) & 0xff) + ((darkest >> 8) & 0xff) + (darkest & 0xff)))
        darkest = p;
      reddish += r - b > 60 ? 1 : 0;
    }
  }
  EXPECT_EQ(darkest, SysPixel(COLOR_GRAYTEXT));
  EXPECT_EQ(reddish, 0);
}

TEST_F(Edit, FocusedEditDrawsAOnePixelCaret) {
  HWND edit = Make("EDIT", "", kFieldStyle, 10, 10, 200, 20, kId);
  qz::Pump();
  RECT all{0, 0, 200, 20};
  uint32_t window = SysPixel(COLOR_WINDOW);
  EXPECT_EQ(CountOther(edit, all, window), 0);
  SetFocus(edit);
  qz::Pump();
  int columns = 0;
  for (int x = 0; x < 200; ++x) columns += CountOther(edit, RECT{x, 0, x + 1, 20}, window) > 0 ? 1 : 0;
  EXPECT_EQ(columns, 1);
}

TEST_F(Edit, NumberStyleRejectsLetters) {
  HWND edit = Make("EDIT", "", kFieldStyle | ES_NUMBER, 10, 10, 200, 20, kId);
  SetFocus(edit);
  qz::TypeText("1a2b");
  EXPECT_EQ(TextOf(edit), "12");
}

TEST_F(Edit, ReplaceSelectionIsAnEditWithinTheLimit) {
  HWND edit = Make("EDIT", "ab", kFieldStyle, 10, 10, 200, 20, kId);
  SendMessageA(edit, EM_LIMITTEXT, 4, 0);
  SendMessageA(edit, EM_SETSEL, 2, 2);
  ClearLog();
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("cdef"));
  EXPECT_EQ(TextOf(edit), "abcd");
  EXPECT_EQ(Codes(kId), (std::vector<int>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
}

TEST_F(Edit, PasswordEditShowsAMaskButKeepsItsText) {
  HWND secret = Make("EDIT", "", kFieldStyle | ES_PASSWORD, 10, 10, 200, 20, 1);
  HWND stars = Make("EDIT", "****", kFieldStyle, 10, 40, 200, 20, 2);
  SetFocus(secret);
  qz::TypeText("abcd");
  SetFocus(parent_);
  qz::Pump();
  EXPECT_EQ(TextOf(secret), "abcd");
  int differing = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 200; ++x) differing += Pixel(secret, x, y) != Pixel(stars, x, y) ? 1 : 0;
  EXPECT_EQ(differing, 0);
}

TEST_F(Edit, RightAlignedTextEndsAtTheRightMargin) {
  HWND edit = Make("EDIT", "ab", kFieldStyle | ES_RIGHT, 10, 10, 200, 20, kId);
  qz::Pump();
  uint32_t window = SysPixel(COLOR_WINDOW);
  EXPECT_EQ(CountOther(edit, RECT{0, 0, 150, 20}, window), 0);
  EXPECT_GT(CountOther(edit, RECT{180, 0, 200, 20}, window), 0);
}

TEST_F(Edit, GetTextCopiesNoMoreThanTheBufferHolds) {
  HWND edit = Make("EDIT", "abcdef", kFieldStyle, 10, 10, 200, 20, kId);
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetWindowTextA(edit, buffer, 4), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetWindowTextLengthA(edit), 6);
}

}  // namespace
}  // namespace controls_test
