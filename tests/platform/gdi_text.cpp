#include <cstring>
#include <string>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

class Text : public testing::Test {
 protected:
  Text() : c(200, 60) {}
  SIZE Extent(const char* s) {
    SIZE size{};
    GetTextExtentPoint32A(c.dc(), s, static_cast<int>(std::strlen(s)), &size);
    return size;
  }
  // Bounds of the pixels darker than mid-grey: the glyphs' ink.
  RECT InkBounds() const {
    RECT r{c.width(), c.height(), 0, 0};
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x)
        if ((c.At(x, y) & 0xFF) < 0x80) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    return r;
  }
  Canvas c;
};

TEST_F(Text, TextOutDrawsTextColourInsideItsBoxOnly) {
  SetTextColor(c.dc(), RGB(0, 0, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  SIZE size = Extent("Hello, World");
  ASSERT_TRUE(TextOutA(c.dc(), 10, 20, "Hello, World", 12));
  EXPECT_GT(c.Count(kBlack), 10);
  RECT dark = InkBounds();
  EXPECT_GT(dark.right - dark.left, size.cx / 2);
  RECT ink = c.MarkedBounds();
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.right, 10 + size.cx + 1);
  EXPECT_LE(ink.bottom, 20 + size.cy);
}

TEST_F(Text, ExtentGrowsWithLengthAndMatchesTheSystemFontSize) {
  SIZE one = Extent("W"), two = Extent("WW"), word = Extent("Hello");
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(two.cx, 2 * one.cx);
  EXPECT_GT(word.cx, one.cx);
  EXPECT_EQ(one.cy, word.cy);
  EXPECT_GE(word.cy, 12);
  EXPECT_LE(word.cy, 15);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, word.cy);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmAveCharWidth, 5);
  EXPECT_LE(tm.tmAveCharWidth, 8);
  SIZE empty{-1, -1};
  EXPECT_TRUE(GetTextExtentPoint32A(c.dc(), "", 0, &empty));
  EXPECT_EQ(empty.cx, 0);
}

TEST_F(Text, OpaqueModeFillsTheTextBoxWithTheBackgroundColour) {
  SetBkColor(c.dc(), RGB(0, 0, 255));
  SIZE size = Extent("ab");
  TextOutA(c.dc(), 5, 5, "ab", 2);
  RECT b = c.MarkedBounds();
  EXPECT_TRUE(SameRect(b, RECT{5, 5, 5 + size.cx, 5 + size.cy})) << ToString(b);
  EXPECT_EQ(c.At(5, 5), 0x0000FFu);
}

TEST_F(Text, AlignmentMovesTheReferencePoint) {
  SIZE size = Extent("Mid");
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  SetBkColor(c.dc(), RGB(0, 0, 0));
  EXPECT_EQ(SetTextAlign(c.dc(), TA_RIGHT | TA_BOTTOM), static_cast<UINT>(TA_LEFT | TA_TOP));
  TextOutA(c.dc(), 100, 40, "Mid", 3);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{100 - size.cx, 40 - size.cy, 100, 40})) << ToString(c.MarkedBounds());
  c.Fill(kWhite);
  SetTextAlign(c.dc(), TA_CENTER | TA_BASELINE);
  TextOutA(c.dc(), 100, 40, "Mid", 3);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{100 - size.cx / 2, 40 - tm.tmAscent, 100 - size.cx / 2 + size.cx,
                                              40 - tm.tmAscent + size.cy}))
      << ToString(c.MarkedBounds());
}

TEST_F(Text, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
  SetTextAlign(c.dc(), TA_UPDATECP);
  MoveToEx(c.dc(), 30, 10, nullptr);
  SIZE size = Extent("abc");
  TextOutA(c.dc(), 0, 0, "abc", 3);
  POINT cp{};
  MoveToEx(c.dc(), 0, 0, &cp);
  EXPECT_EQ(cp.x, 30 + size.cx);
  EXPECT_EQ(cp.y, 10);
  EXPECT_EQ(c.MarkedBounds().left, 30);
}

TEST_F(Text, FontHeightRules) {
  HFONT em12 = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT cell20 = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT bold = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  TEXTMETRICA tm{};
  HGDIOBJ old = SelectObject(c.dc(), em12);
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
  SIZE regular = Extent("Bold text");
  SelectObject(c.dc(), cell20);
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_LE(tm.tmHeight, 20);
  EXPECT_GE(tm.tmHeight, 18);
  SelectObject(c.dc(), bold);
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_GT(Extent("Bold text").cx, regular.cx);
  SelectObject(c.dc(), old);
  DeleteObject(em12);
  DeleteObject(cell20);
  DeleteObject(bold);
}

TEST_F(Text, StockUiFontsAreTheThirteenPixelSansAndTheFixedFontIsMonospaced) {
  TEXTMETRICA system{}, gui{};
  GetTextMetricsA(c.dc(), &system);
  SelectObject(c.dc(), GetStockObject(DEFAULT_GUI_FONT));
  GetTextMetricsA(c.dc(), &gui);
  EXPECT_EQ(gui.tmHeight, system.tmHeight);
  EXPECT_EQ(system.tmHeight, 13);
  EXPECT_NE(Extent("i").cx, Extent("W").cx);
  SelectObject(c.dc(), GetStockObject(ANSI_FIXED_FONT));
  EXPECT_EQ(Extent("i").cx, Extent("W").cx);
  SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
}

TEST_F(Text, UnderlinedFontDrawsALineUnderTheWholeRun) {
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, TRUE, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(c.dc(), font);
  SetBkMode(c.dc(), TRANSPARENT);
  SIZE size = Extent("a b c");
  TextOutA(c.dc(), 0, 0, "a b c", 5);
  int longest = 0;
  for (int y = 0; y < size.cy; ++y) {
    int run = 0;
    for (int x = 0; x < size.cx; ++x) run += c.At(x, y) == kBlack;
    longest = std::max(longest, run);
  }
  EXPECT_EQ(longest, size.cx);
  SelectObject(c.dc(), old);
  DeleteObject(font);
}

TEST_F(Text, DrawTextAlignsEachWayWithinTheRectangle) {
  SetBkColor(c.dc(), RGB(0, 0, 0));
  SIZE size = Extent("Gain");
  RECT r{20, 10, 120, 50};
  int height = DrawTextA(c.dc(), "Gain", -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
  EXPECT_EQ(height, size.cy);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{20, 10, 20 + size.cx, 10 + size.cy}));
  c.Fill(kWhite);
  DrawTextA(c.dc(), "Gain", -1, &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{120 - size.cx, 50 - size.cy, 120, 50}));
  c.Fill(kWhite);
  height = DrawTextA(c.dc(), "Gain", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  int left = 20 + (100 - size.cx) / 2, top = 10 + (40 - size.cy) / 2;
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{left, top, left + size.cx, top + size.cy})) << ToString(c.MarkedBounds());
  EXPECT_EQ(height, top - 10 + size.cy);
}

TEST_F(Text, DrawTextClipsToTheRectangleUnlessNoClip) {
  SetBkColor(c.dc(), RGB(0, 0, 0));
  RECT r{10, 10, 30, 40};
  DrawTextA(c.dc(), "A rather long label", -1, &r, DT_SINGLELINE);
  EXPECT_EQ(c.MarkedBounds().right, 30);
  c.Fill(kWhite);
  DrawTextA(c.dc(), "A rather long label", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(c.MarkedBounds().right, 60);
}

TEST_F(Text, CalcRectMeasuresWithoutDrawing) {
  SIZE size = Extent("Threshold");
  RECT r{5, 5, 5, 5};
  int height = DrawTextA(c.dc(), "Threshold", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(height, size.cy);
  EXPECT_TRUE(SameRect(r, RECT{5, 5, 5 + size.cx, 5 + size.cy})) << ToString(r);
  EXPECT_TRUE(c.Marked().empty());
  RECT lines{0, 0, 500, 0};
  EXPECT_EQ(DrawTextA(c.dc(), "one\ntwo\r\nthree", -1, &lines, DT_CALCRECT), 3 * size.cy);
  EXPECT_EQ(lines.right, Extent("three").cx);
}

TEST_F(Text, WordBreakWrapsAtSpacesToFitTheWidth) {
  SIZE word = Extent("alpha beta");
  int width = std::max(word.cx, Extent("gamma delta").cx) + 2;
  RECT r{0, 0, width, 0};
  int height = DrawTextA(c.dc(), "alpha beta gamma delta", -1, &r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(height, 2 * word.cy);
  EXPECT_LE(r.right, width);
  RECT narrow{0, 0, 5, 0};
  EXPECT_EQ(DrawTextA(c.dc(), "alpha beta", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 2 * word.cy);
  EXPECT_EQ(narrow.right, Extent("alpha").cx);  // a word longer than the width keeps its line
}

TEST_F(Text, PrefixUnderlinesTheNextCharacterAndDoubleAmpersandIsLiteral) {
  SetBkMode(c.dc(), TRANSPARENT);
  RECT r{0, 0, 200, 60};
  RECT measured = r;
  DrawTextA(c.dc(), "&File", -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.right, Extent("File").cx);
  DrawTextA(c.dc(), "&&", -1, &(measured = r), DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.right, Extent("&").cx);
  DrawTextA(c.dc(), "&&", -1, &(measured = r), DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(measured.right, Extent("&&").cx);
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  DrawTextA(c.dc(), "&File", -1, &r, DT_SINGLELINE);
  // The underline is a solid run under the first letter, below the baseline.
  int solid = 0;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
    int run = 0;
    for (int x = 0; x < Extent("F").cx; ++x) run += c.At(x, y) == kBlack;
    solid = std::max(solid, run);
  }
  EXPECT_GE(solid, Extent("F").cx - 1);
}

TEST_F(Text, EndEllipsisKeepsTheLineInsideTheRectangle) {
  SetBkColor(c.dc(), RGB(0, 0, 0));
  SIZE dots = Extent("...");
  RECT r{10, 0, 70, 20};
  DrawTextA(c.dc(), "A very long parameter name", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  RECT b = c.MarkedBounds();
  EXPECT_EQ(b.left, 10);
  EXPECT_LE(b.right, 70);
  EXPECT_GT(b.right, 70 - dots.cx);
}

TEST_F(Text, ExpandTabsUsesEightAverageCharacters) {
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  RECT r{0, 0, 400, 0};
  DrawTextA(c.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Extent("b").cx);
}

TEST_F(Text, TabbedTextOutStopsAtTheGivenPixels) {
  SetBkColor(c.dc(), RGB(0, 0, 0));
  INT stops[] = {50, 120};
  LONG size = TabbedTextOutA(c.dc(), 10, 5, "a\tb\tc", 5, 2, stops, 10);
  EXPECT_EQ(LOWORD(size), 120 + Extent("c").cx);
  EXPECT_EQ(HIWORD(size), Extent("c").cy);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{10, 5, 130 + Extent("c").cx, 5 + Extent("c").cy}));
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  LONG plain = TabbedTextOutA(c.dc(), 0, 30, "\tx", 2, 0, nullptr, 0);
  EXPECT_EQ(LOWORD(plain), 8 * tm.tmAveCharWidth + Extent("x").cx);
}

}  // namespace
