#include <climits>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

std::vector<POINT> DrawLine(int x0, int y0, int x1, int y1) {
  Canvas c(24, 24);
  MoveToEx(c.dc(), x0, y0, nullptr);
  LineTo(c.dc(), x1, y1);
  return c.Marked();
}

bool Contains(const std::vector<POINT>& points, POINT p) {
  for (const POINT& q : points)
    if (q == p) return true;
  return false;
}

struct LineCase {
  const char* name;
  POINT from, to;
  int pixels;
};

class LineEnds : public testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, FirstPixelIncludedLastExcluded) {
  const LineCase& l = GetParam();
  std::vector<POINT> pixels = DrawLine(l.from.x, l.from.y, l.to.x, l.to.y);
  EXPECT_EQ(static_cast<int>(pixels.size()), l.pixels);
  EXPECT_TRUE(Contains(pixels, l.from));
  EXPECT_FALSE(Contains(pixels, l.to));
}

INSTANTIATE_TEST_SUITE_P(
    Line, LineEnds,
    testing::Values(LineCase{"Horizontal", {2, 5}, {12, 5}, 10}, LineCase{"HorizontalLeftwards", {12, 5}, {2, 5}, 10},
                    LineCase{"Vertical", {4, 1}, {4, 9}, 8}, LineCase{"VerticalUpwards", {4, 9}, {4, 1}, 8},
                    LineCase{"Diagonal", {1, 1}, {9, 9}, 8}, LineCase{"DiagonalUpLeft", {9, 9}, {1, 1}, 8},
                    LineCase{"Shallow", {0, 0}, {20, 7}, 20}, LineCase{"Steep", {3, 2}, {8, 20}, 18},
                    LineCase{"SteepUpwards", {8, 20}, {3, 2}, 18}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(Line, OnePixelPerColumnWhenShallowAndPerRowWhenSteep) {
  std::vector<POINT> shallow = DrawLine(0, 0, 20, 7);
  for (int x = 0; x < 20; ++x) {
    int n = 0;
    for (const POINT& p : shallow) n += p.x == x;
    EXPECT_EQ(n, 1) << "column " << x;
  }
  std::vector<POINT> steep = DrawLine(3, 2, 8, 20);
  for (int y = 2; y < 20; ++y) {
    int n = 0;
    for (const POINT& p : steep) n += p.y == y;
    EXPECT_EQ(n, 1) << "row " << y;
  }
}

TEST(Line, TiesGoToTheTopInBothDirections) {
  // Half way along (0,0)-(2,1) the ideal y is exactly 0.5.
  std::vector<POINT> down = DrawLine(0, 0, 2, 1);
  EXPECT_TRUE(Contains(down, POINT{1, 0}));
  std::vector<POINT> up = DrawLine(2, 1, 0, 0);
  EXPECT_TRUE(Contains(up, POINT{1, 0}));
  std::vector<POINT> steep = DrawLine(0, 0, 1, 2);
  EXPECT_TRUE(Contains(steep, POINT{0, 1}));
}

TEST(Line, ReverseCoversTheSamePixelsBetweenTheEnds) {
  std::vector<POINT> forward = DrawLine(1, 3, 19, 11);
  std::vector<POINT> backward = DrawLine(19, 11, 1, 3);
  for (const POINT& p : forward) {
    if (p == POINT{1, 3}) continue;
    EXPECT_TRUE(Contains(backward, p)) << p.x << "," << p.y;
  }
}

TEST(Line, LineToMovesTheCurrentPositionSoPolylinesJoin) {
  Canvas c(20, 20);
  POINT old{-1, -1};
  MoveToEx(c.dc(), 2, 2, &old);
  EXPECT_EQ(old.x, 0);
  EXPECT_EQ(old.y, 0);
  LineTo(c.dc(), 10, 2);
  LineTo(c.dc(), 10, 10);
  MoveToEx(c.dc(), 0, 0, &old);
  EXPECT_EQ(old.x, 10);
  EXPECT_EQ(old.y, 10);
  EXPECT_EQ(c.At(10, 2), kBlack);  // the corner comes from the second line
  EXPECT_EQ(c.At(10, 10), kWhite);
  EXPECT_EQ(static_cast<int>(c.Marked().size()), 16);
}

TEST(Line, LongLineClippedToTheCanvasKeepsItsCourse) {
  // Far-away end points must give exactly the pixels of the same line's visible part.
  Canvas near(40, 40), far(40, 40);
  MoveToEx(near.dc(), 0, 0, nullptr);
  LineTo(near.dc(), 39, 13);
  MoveToEx(far.dc(), -300000, -100000, nullptr);
  LineTo(far.dc(), 300000, 100000);
  for (int x = 0; x < 39; ++x) {
    int ny = -1, fy = -1;
    for (int y = 0; y < 40; ++y) {
      if (near.At(x, y) != kWhite) ny = y;
      if (far.At(x, y) != kWhite) fy = y;
    }
    EXPECT_EQ(ny, x / 3 + (x % 3 == 2 ? 1 : 0)) << x;
    EXPECT_EQ(fy, ny) << x;
  }
}

// Lines from one end of the int range to the other reach the canvas with
// their exact pixels: the stepping towards the first visible pixel needs
// products of two such lengths, far beyond 64 bits when doubled.
TEST(Line, EndsAtTheIntLimitsKeepTheirSlopeOnTheCanvas) {
  struct Case {
    const char* name;
    POINT from, to;
    POINT on, off;
  };
  const Case cases[] = {
      {"diagonal", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {7, 7}, {7, 8}},
      {"diagonal upwards", {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {3, 3}, {4, 3}},
      {"half slope", {INT_MIN, INT_MIN / 2}, {INT_MAX, INT_MAX / 2}, {10, 5}, {10, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<POINT> pixels = DrawLine(c.from.x, c.from.y, c.to.x, c.to.y);
    EXPECT_TRUE(Contains(pixels, c.on));
    EXPECT_FALSE(Contains(pixels, c.off));
  }
}

TEST(Line, PolylineExcludesOnlyTheLastPoint) {
  Canvas c(20, 20);
  POINT pts[] = {{1, 1}, {8, 1}, {8, 8}};
  EXPECT_TRUE(Polyline(c.dc(), pts, 3));
  EXPECT_EQ(c.At(8, 1), kBlack);
  EXPECT_EQ(c.At(8, 8), kWhite);
  EXPECT_EQ(static_cast<int>(c.Marked().size()), 14);
  EXPECT_FALSE(Polyline(c.dc(), pts, 1));
}

// A solid pen's polyline covers the pixels of the same path drawn with
// LineTo, whether it lies inside the canvas or runs off its edges.
struct PolylineCase {
  const char* name;
  std::vector<POINT> points;
};

class PolylineAsLineTo : public testing::TestWithParam<PolylineCase> {};

TEST_P(PolylineAsLineTo, XorPixelsMatch) {
  const std::vector<POINT>& points = GetParam().points;
  Canvas lines(20, 20), polyline(20, 20);
  for (Canvas* c : {&lines, &polyline}) {
    for (int i = 0; i < 20 * 20; ++i) c->bits()[i] = (i * 2654435761u) & 0xFFFFFF;
    SetROP2(c->dc(), R2_XORPEN);
    SelectObject(c->dc(), GetStockObject(WHITE_PEN));
  }
  MoveToEx(lines.dc(), points[0].x, points[0].y, nullptr);
  for (size_t i = 1; i < points.size(); ++i) LineTo(lines.dc(), points[i].x, points[i].y);
  EXPECT_TRUE(Polyline(polyline.dc(), points.data(), static_cast<int>(points.size())));
  EXPECT_EQ(polyline.Pixels(), lines.Pixels());
}

INSTANTIATE_TEST_SUITE_P(
    Line, PolylineAsLineTo,
    testing::Values(PolylineCase{"SquareInside", {{3, 3}, {7, 3}, {7, 7}, {3, 7}, {3, 3}}},
                    PolylineCase{"SquareOverTheEdge", {{16, 16}, {22, 16}, {22, 22}, {16, 22}, {16, 16}}},
                    PolylineCase{"BackwardsWithASlopeAndAPoint", {{15, 2}, {2, 2}, {9, 13}, {9, 13}, {9, 1}}},
                    PolylineCase{"FarOff", {{-5, 10}, {INT_MAX, 10}, {INT_MAX, INT_MIN}}}),
    [](const testing::TestParamInfo<PolylineCase>& info) { return std::string(info.param.name); });

TEST(Pen, NullPenDrawsNothing) {
  Canvas c(10, 10);
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  MoveToEx(c.dc(), 0, 5, nullptr);
  LineTo(c.dc(), 9, 5);
  EXPECT_TRUE(c.Marked().empty());
}

TEST(Pen, DotIsThreeOnThreeOffWithOpaqueGapsInTheBackgroundColour) {
  Canvas c(20, 3, 0x123456);
  ScopedPen pen(c.dc(), PS_DOT, 1, RGB(255, 0, 0));
  SetBkColor(c.dc(), RGB(0, 0, 255));
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 14, 1);
  const uint32_t on = 0xFF0000, gap = 0x0000FF;
  uint32_t expected[14] = {on, on, on, gap, gap, gap, on, on, on, gap, gap, gap, on, on};
  for (int x = 0; x < 14; ++x) EXPECT_EQ(c.At(x, 1), expected[x]) << x;
  EXPECT_EQ(c.At(14, 1), 0x123456u);
}

TEST(Pen, DotGapsAreLeftAloneWhenTransparent) {
  Canvas c(20, 3, 0x123456);
  ScopedPen pen(c.dc(), PS_DOT, 1, RGB(255, 0, 0));
  EXPECT_EQ(SetBkMode(c.dc(), TRANSPARENT), OPAQUE);
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 12, 1);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(c.At(x, 1), (x % 6) < 3 ? 0xFF0000u : 0x123456u) << x;
}

TEST(Pen, DotPatternRestartsAtEachLineTo) {
  Canvas c(20, 3);
  ScopedPen pen(c.dc(), PS_DOT, 1, RGB(0, 0, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  MoveToEx(c.dc(), 0, 1, nullptr);
  LineTo(c.dc(), 4, 1);  // on on on off
  LineTo(c.dc(), 8, 1);  // restarts: on on on off
  const char* expected = "###.###.";
  for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, 1) == kBlack, expected[x] == '#') << x;
}

TEST(Pen, DotPatternRunsOnAcrossThePointsOfAPolyline) {
  Canvas c(20, 3);
  ScopedPen pen(c.dc(), PS_DOT, 1, RGB(0, 0, 0));
  SetBkMode(c.dc(), TRANSPARENT);
  POINT pts[] = {{0, 1}, {4, 1}, {8, 1}};
  Polyline(c.dc(), pts, 3);
  const char* expected = "###...##";
  for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, 1) == kBlack, expected[x] == '#') << x;
}

TEST(Pen, WidePenSweepsASquare) {
  Canvas c(20, 20);
  ScopedPen pen(c.dc(), PS_SOLID, 3, RGB(0, 0, 0));
  MoveToEx(c.dc(), 5, 10, nullptr);
  LineTo(c.dc(), 15, 10);
  RECT b = c.MarkedBounds();
  EXPECT_TRUE(SameRect(b, RECT{4, 9, 16, 12})) << ToString(b);
  EXPECT_EQ(c.Count(kBlack), 36);
}

TEST(Pen, XorLinesDrawnTwiceRestoreEveryPixel) {
  Canvas c(32, 32);
  for (int i = 0; i < 32 * 32; ++i) c.bits()[i] = (i * 2654435761u) & 0xFFFFFF;
  std::vector<uint32_t> before = c.Pixels();
  SetROP2(c.dc(), R2_XORPEN);
  for (int style : {PS_SOLID, PS_DOT}) {
    ScopedPen pen(c.dc(), style, 1, RGB(255, 255, 255));
    for (int pass = 0; pass < 2; ++pass) {
      MoveToEx(c.dc(), 1, 30, nullptr);
      LineTo(c.dc(), 30, 2);
      LineTo(c.dc(), 5, 5);
      LineTo(c.dc(), 5, 25);
    }
  }
  EXPECT_EQ(c.Pixels(), before);
}

TEST(Pen, XorChangesOnlyTheRgbBitsByThePenColour) {
  Canvas c(4, 1, 0x00A0B0C0);
  ScopedPen pen(c.dc(), PS_SOLID, 1, RGB(0x0F, 0xF0, 0xFF));
  EXPECT_EQ(SetROP2(c.dc(), R2_XORPEN), R2_COPYPEN);
  MoveToEx(c.dc(), 0, 0, nullptr);
  LineTo(c.dc(), 1, 0);
  EXPECT_EQ(c.At(0, 0), 0x00A0B0C0u ^ 0x000FF0FFu);
}

}  // namespace
