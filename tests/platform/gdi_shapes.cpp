#include "gdi_test_util.h"

using namespace gditest;

namespace {

constexpr uint32_t kRed = 0xFF0000;

class Shapes : public testing::Test {
 protected:
  Shapes() : c(40, 40) {
    brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(c.dc(), brush);
  }
  ~Shapes() override {
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
  }
  Canvas c;
  HBRUSH brush;
};

TEST_F(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrushExcludingRightAndBottom) {
  Rectangle(c.dc(), 5, 6, 15, 12);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{5, 6, 15, 12})) << c.Picture();
  EXPECT_EQ(c.At(5, 6), kBlack);
  EXPECT_EQ(c.At(14, 11), kBlack);
  EXPECT_EQ(c.At(6, 7), kRed);
  EXPECT_EQ(c.At(13, 10), kRed);
  EXPECT_EQ(c.Count(kRed), 8 * 4);
  EXPECT_EQ(c.Count(kBlack), 10 * 6 - 8 * 4);
}

TEST_F(Shapes, RectangleWithNullPenFillsOnePixelLess) {
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Rectangle(c.dc(), 5, 6, 15, 12);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{5, 6, 14, 11})) << c.Picture();
  EXPECT_EQ(c.Count(kRed), 9 * 5);
}

TEST_F(Shapes, RectangleWithNullBrushLeavesTheInside) {
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(c.dc(), 5, 6, 15, 12);
  EXPECT_EQ(c.At(8, 8), kWhite);
  EXPECT_EQ(c.Count(kBlack), 2 * 10 + 2 * 4);
}

TEST_F(Shapes, RectangleAcceptsSwappedCornersAndDrawsNothingWhenEmpty) {
  Rectangle(c.dc(), 15, 12, 5, 6);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{5, 6, 15, 12}));
  c.Fill(kWhite);
  Rectangle(c.dc(), 5, 6, 5, 20);
  EXPECT_TRUE(c.Marked().empty());
}

TEST_F(Shapes, EllipseStaysInsideTheBoxAndTouchesEachSide) {
  for (RECT box : {RECT{3, 4, 23, 14}, RECT{2, 2, 11, 11}, RECT{10, 10, 13, 30}, RECT{0, 0, 1, 1}}) {
    c.Fill(kWhite);
    Ellipse(c.dc(), box.left, box.top, box.right, box.bottom);
    EXPECT_TRUE(SameRect(c.MarkedBounds(), box)) << ToString(box) << "\n" << c.Picture();
  }
}

TEST_F(Shapes, EllipseIsSymmetricAboutBothAxes) {
  for (RECT box : {RECT{3, 4, 23, 14}, RECT{2, 2, 11, 11}, RECT{5, 1, 12, 38}}) {
    c.Fill(kWhite);
    Ellipse(c.dc(), box.left, box.top, box.right, box.bottom);
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) {
        int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
        ASSERT_EQ(c.At(x, y), c.At(mx, y)) << ToString(box) << " at " << x << "," << y << "\n" << c.Picture();
        ASSERT_EQ(c.At(x, y), c.At(x, my)) << ToString(box) << " at " << x << "," << y;
      }
  }
}

TEST_F(Shapes, EllipseOutlineIsAClosedOnePixelRingAroundTheFill) {
  Ellipse(c.dc(), 4, 4, 30, 22);
  // Every fill pixel has outline or fill on all four sides; every outline
  // pixel touches the outside or the fill.
  for (int y = 4; y < 22; ++y)
    for (int x = 4; x < 30; ++x) {
      if (c.At(x, y) == kRed) {
        for (POINT d : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}})
          ASSERT_NE(c.At(x + d.x, y + d.y), kWhite) << x << "," << y << "\n" << c.Picture();
      }
    }
  EXPECT_GT(c.Count(kRed), 0);
  // The widest row of a 26-wide box spans all 26 columns.
  EXPECT_EQ(c.At(4, 12), kBlack);
  EXPECT_EQ(c.At(29, 12), kBlack);
  EXPECT_EQ(c.At(5, 12), kRed);
}

// Boxes and the exact pixels of the ellipse drawn in them with a black pen and
// a red brush: '#' outline, 'o' fill, '.' untouched.
struct EllipseCase {
  int w, h;
  std::vector<std::string> rows;
};

const EllipseCase kEllipses[] = {
    // clang-format off
    {1, 1, {"#"}},
    {2, 2, {"##",
            "##"}},
    {3, 3, {".#.",
            "#o#",
            ".#."}},
    {4, 4, {".##.",
            "#oo#",
            "#oo#",
            ".##."}},
    {5, 5, {".###.",
            "#ooo#",
            "#ooo#",
            "#ooo#",
            ".###."}},
    {6, 6, {"..##..",
            ".#oo#.",
            "#oooo#",
            "#oooo#",
            ".#oo#.",
            "..##.."}},
    {7, 7, {"..###..",
            ".#ooo#.",
            "#ooooo#",
            "#ooooo#",
            "#ooooo#",
            ".#ooo#.",
            "..###.."}},
    {8, 8, {"..####..",
            ".#oooo#.",
            "#oooooo#",
            "#oooooo#",
            "#oooooo#",
            "#oooooo#",
            ".#oooo#.",
            "..####.."}},
    {9, 9, {"...###...",
            ".##ooo##.",
            ".#ooooo#.",
            "#ooooooo#",
            "#ooooooo#",
            "#ooooooo#",
            ".#ooooo#.",
            ".##ooo##.",
            "...###..."}},
    {10, 10, {"...####...",
              "..#oooo#..",
              ".#oooooo#.",
              "#oooooooo#",
              "#oooooooo#",
              "#oooooooo#",
              "#oooooooo#",
              ".#oooooo#.",
              "..#oooo#..",
              "...####..."}},
    {11, 11, {"...#####...",
              "..#ooooo#..",
              ".#ooooooo#.",
              "#ooooooooo#",
              "#ooooooooo#",
              "#ooooooooo#",
              "#ooooooooo#",
              "#ooooooooo#",
              ".#ooooooo#.",
              "..#ooooo#..",
              "...#####..."}},
    {12, 12, {"....####....",
              "..##oooo##..",
              ".#oooooooo#.",
              ".#oooooooo#.",
              "#oooooooooo#",
              "#oooooooooo#",
              "#oooooooooo#",
              "#oooooooooo#",
              ".#oooooooo#.",
              ".#oooooooo#.",
              "..##oooo##..",
              "....####...."}},
    {10, 7, {"...####...",
             ".##oooo##.",
             "#oooooooo#",
             "#oooooooo#",
             "#oooooooo#",
             ".##oooo##.",
             "...####..."}},
    {11, 6, {"...#####...",
             ".##ooooo##.",
             "#ooooooooo#",
             "#ooooooooo#",
             ".##ooooo##.",
             "...#####..."}},
    {11, 5, {"..#######..",
             ".#ooooooo#.",
             "#ooooooooo#",
             ".#ooooooo#.",
             "..#######.."}},
    {4, 3, {".##.",
            "#oo#",
            ".##."}},
    {3, 4, {".#.",
            "#o#",
            "#o#",
            ".#."}},
    {7, 10, {"..###..",
             ".#ooo#.",
             ".#ooo#.",
             "#ooooo#",
             "#ooooo#",
             "#ooooo#",
             "#ooooo#",
             ".#ooo#.",
             ".#ooo#.",
             "..###.."}},
    {12, 5, {"...######...",
             ".##oooooo##.",
             "#oooooooooo#",
             ".##oooooo##.",
             "...######..."}},
    {3, 10, {".#.",
             ".#.",
             "#o#",
             "#o#",
             "#o#",
             "#o#",
             "#o#",
             "#o#",
             ".#.",
             ".#."}},
    {4, 9, {".##.",
            ".##.",
            "#oo#",
            "#oo#",
            "#oo#",
            "#oo#",
            "#oo#",
            ".##.",
            ".##."}},
    {5, 12, {"..#..",
             ".#o#.",
             ".#o#.",
             "#ooo#",
             "#ooo#",
             "#ooo#",
             "#ooo#",
             "#ooo#",
             "#ooo#",
             ".#o#.",
             ".#o#.",
             "..#.."}},
    {6, 11, {"..##..",
             ".#oo#.",
             ".#oo#.",
             "#oooo#",
             "#oooo#",
             "#oooo#",
             "#oooo#",
             "#oooo#",
             ".#oo#.",
             ".#oo#.",
             "..##.."}},
    {12, 3, {"..########..",
             "##oooooooo##",
             "..########.."}},
    {9, 4, {"..#####..",
            "##ooooo##",
            "##ooooo##",
            "..#####.."}},
    {2, 6, {"##",
            "##",
            "##",
            "##",
            "##",
            "##"}},
    {6, 2, {"######",
            "######"}},
    {8, 1, {"########"}},
    // clang-format on
};

std::vector<std::string> Rows(const Canvas& c, RECT area) {
  std::vector<std::string> rows;
  for (int y = area.top; y < area.bottom; ++y) {
    std::string row;
    for (int x = area.left; x < area.right; ++x) {
      uint32_t p = c.At(x, y);
      row += p == kBlack ? '#' : p == kRed ? 'o' : p == kWhite ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(Shapes, EllipseTracesThePlatformsIntegerEllipse) {
  for (const EllipseCase& e : kEllipses) {
    c.Fill(kWhite);
    RECT box{3, 2, 3 + e.w, 2 + e.h};
    Ellipse(c.dc(), box.left, box.top, box.right, box.bottom);
    EXPECT_EQ(Rows(c, box), e.rows) << e.w << "x" << e.h;
    EXPECT_TRUE(SameRect(c.MarkedBounds(), box)) << e.w << "x" << e.h << "\n" << c.Picture();
  }
}

TEST_F(Shapes, ClippedEllipseKeepsTheRowsItShows) {
  // Boxes hanging over the top, the bottom and the left edge of the canvas.
  for (const EllipseCase& e : kEllipses) {
    for (POINT at : {POINT{-2, -5}, POINT{-4, 40 - e.h + 3}}) {
      c.Fill(kWhite);
      Ellipse(c.dc(), at.x, at.y, at.x + e.w, at.y + e.h);
      for (int y = std::max(0, -at.y); y < e.h && at.y + y < 40; ++y) {
        std::string expected = e.rows[y].substr(std::min(e.w, -at.x));
        std::string got = Rows(c, RECT{0, at.y + y, e.w + at.x, at.y + y + 1}).front();
        ASSERT_EQ(got, expected) << e.w << "x" << e.h << " row " << y;
      }
    }
  }
}

TEST_F(Shapes, EllipseWithNullPenFillsTheWholeShape) {
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  const EllipseCase& e = kEllipses[8];  // 9x9
  Ellipse(c.dc(), 3, 2, 3 + e.w, 2 + e.h);
  std::vector<std::string> expected = e.rows;
  for (std::string& row : expected) std::replace(row.begin(), row.end(), '#', 'o');
  EXPECT_EQ(Rows(c, RECT{3, 2, 3 + e.w, 2 + e.h}), expected);
}

TEST_F(Shapes, WidePenRingReachesTheInsetOutline) {
  ScopedPen pen(c.dc(), PS_SOLID, 3, RGB(0, 0, 0));
  Ellipse(c.dc(), 3, 2, 15, 14);
  // The fill is the inside of the 8x8 ellipse two pixels in; the rest of the 12x12 shape is ring.
  std::vector<std::string> expected = kEllipses[11].rows;     // 12x12
  const std::vector<std::string>& inner = kEllipses[7].rows;  // 8x8
  for (std::string& row : expected) std::replace(row.begin(), row.end(), 'o', '#');
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (inner[y][x] == 'o') expected[y + 2][x + 2] = 'o';
  EXPECT_EQ(Rows(c, RECT{3, 2, 15, 14}), expected);
}

TEST_F(Shapes, XorOutlinesDrawnTwiceRestoreEveryPixel) {
  for (int i = 0; i < 40 * 40; ++i) c.bits()[i] = (i * 2246822519u) & 0xFFFFFF;
  std::vector<uint32_t> before = c.Pixels();
  SetROP2(c.dc(), R2_XORPEN);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  for (int style : {PS_SOLID, PS_DOT}) {
    ScopedPen pen(c.dc(), style, 1, RGB(255, 255, 255));
    Rectangle(c.dc(), 3, 3, 30, 20);
    Ellipse(c.dc(), 5, 8, 36, 37);
    Ellipse(c.dc(), 10, 10, 18, 18);
    // Once drawn, the picture has changed.
    EXPECT_NE(c.Pixels(), before);
    Rectangle(c.dc(), 3, 3, 30, 20);
    Ellipse(c.dc(), 5, 8, 36, 37);
    Ellipse(c.dc(), 10, 10, 18, 18);
    EXPECT_EQ(c.Pixels(), before);
  }
}

TEST_F(Shapes, EllipsesThroughSeveralClipRectanglesKeepTheirPixelsInsideThem) {
  const RECT parts[] = {{0, 0, 40, 6}, {0, 6, 9, 40}, {14, 11, 33, 24}, {20, 30, 40, 38}};
  for (int rop : {R2_XORPEN, R2_COPYPEN, R2_NOTXORPEN}) {
    Canvas whole(40, 40), clipped(40, 40);
    for (int i = 0; i < 40 * 40; ++i) whole.bits()[i] = clipped.bits()[i] = (i * 2246822519u) & 0xFFFFFF;
    std::vector<uint32_t> before = clipped.Pixels();
    ClipToRects(clipped.dc(), parts);
    for (Canvas* canvas : {&whole, &clipped}) {
      SetROP2(canvas->dc(), rop);
      SelectObject(canvas->dc(), brush);
      Ellipse(canvas->dc(), 1, 2, 38, 37);
      Ellipse(canvas->dc(), 12, 8, 25, 33);
      SelectObject(canvas->dc(), GetStockObject(WHITE_BRUSH));
    }
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(clipped.At(x, y), InsideAny(parts, x, y) ? whole.At(x, y) : before[y * 40 + x] & 0xFFFFFF)
            << "rop " << rop << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(Shapes, XorRectangleTouchesEachOutlinePixelOnce) {
  c.Fill(kBlack);
  SetROP2(c.dc(), R2_XORPEN);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  ScopedPen pen(c.dc(), PS_SOLID, 1, RGB(255, 255, 255));
  Rectangle(c.dc(), 2, 2, 12, 3);  // one row high
  Rectangle(c.dc(), 2, 5, 3, 15);  // one column wide
  Rectangle(c.dc(), 5, 5, 15, 15);
  // A pixel XORed twice would be black again.
  EXPECT_EQ(c.Count(kWhite), 10 + 10 + 36) << c.Picture(kBlack);
}

TEST_F(Shapes, PolygonFillsLeftAndTopEdgesAndOutlinesWithThePen) {
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  POINT square[] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
  Polygon(c.dc(), square, 4);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{5, 5, 15, 15})) << c.Picture();
  EXPECT_EQ(c.Count(kRed), 100);
  SelectObject(c.dc(), GetStockObject(BLACK_PEN));
  c.Fill(kWhite);
  POINT triangle[] = {{20, 5}, {35, 20}, {20, 20}};
  Polygon(c.dc(), triangle, 3);
  EXPECT_EQ(c.At(20, 5), kBlack);
  EXPECT_EQ(c.At(22, 15), kRed);
  EXPECT_EQ(c.At(30, 8), kWhite);
}

struct RopCase {
  const char* name;
  int rop;
  uint32_t expected;  // pen 0x00F0F0 onto 0x336699
};

class Rop2 : public testing::TestWithParam<RopCase> {};

TEST_P(Rop2, CombinesPenAndDestination) {
  Canvas c(4, 4, 0x336699);
  ScopedPen pen(c.dc(), PS_SOLID, 1, RGB(0x00, 0xF0, 0xF0));
  SetROP2(c.dc(), GetParam().rop);
  EXPECT_EQ(GetROP2(c.dc()), GetParam().rop);
  MoveToEx(c.dc(), 0, 0, nullptr);
  LineTo(c.dc(), 2, 0);
  EXPECT_EQ(c.At(0, 0), GetParam().expected);
  EXPECT_EQ(c.At(2, 0), 0x336699u);
}

INSTANTIATE_TEST_SUITE_P(Rop2, Rop2,
                         testing::Values(RopCase{"CopyPen", R2_COPYPEN, 0x00F0F0}, RopCase{"Xor", R2_XORPEN, 0x339669},
                                         RopCase{"Not", R2_NOT, 0xCC9966}, RopCase{"NotXor", R2_NOTXORPEN, 0xCC6996},
                                         RopCase{"Black", R2_BLACK, 0x000000}, RopCase{"White", R2_WHITE, 0xFFFFFF},
                                         RopCase{"Nop", R2_NOP, 0x336699}),
                         [](const testing::TestParamInfo<RopCase>& info) { return std::string(info.param.name); });

TEST(Rop2, FillsOfRectangleFollowTheRop) {
  Canvas c(10, 10, 0x00FF00);
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  SetROP2(c.dc(), R2_XORPEN);
  Rectangle(c.dc(), 0, 0, 5, 5);
  EXPECT_EQ(c.At(1, 1), 0xFF00FFu);
  EXPECT_EQ(SetROP2(c.dc(), 0), 0);  // invalid modes are refused
  EXPECT_EQ(GetROP2(c.dc()), R2_XORPEN);
}

}  // namespace
