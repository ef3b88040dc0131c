#include "gdi_test_util.h"

using namespace gditest;

namespace {

uint32_t Sys(int index) {
  return qz::PixelFromColor(GetSysColor(index));
}

TEST(FillRect, AcceptsSystemColourIndexesAndIgnoresPenBrushAndRop) {
  Canvas c(10, 10);
  SetROP2(c.dc(), R2_XORPEN);
  SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
  RECT r{2, 3, 6, 8};
  EXPECT_NE(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 0);
  EXPECT_TRUE(SameRect(c.MarkedBounds(), r));
  EXPECT_EQ(c.At(2, 3), Sys(COLOR_BTNFACE));
  EXPECT_EQ(c.At(5, 7), Sys(COLOR_BTNFACE));
  FillRect(c.dc(), &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  EXPECT_EQ(c.At(2, 3), 0x000080u);
  FillRect(c.dc(), &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(c.At(2, 3), 0x000080u);
}

TEST(FillRect, ReversedRectangleFillsItsNormalisedRectangle) {
  for (RECT reversed : {RECT{6, 3, 2, 8}, RECT{2, 8, 6, 3}, RECT{6, 8, 2, 3}}) {
    Canvas c(10, 10);
    EXPECT_NE(FillRect(c.dc(), &reversed, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_TRUE(SameRect(c.MarkedBounds(), RECT{2, 3, 6, 8})) << ToString(reversed) << "\n" << c.Picture();
    EXPECT_EQ(c.Count(kBlack), 4 * 5);
  }
}

TEST(FrameRect, DrawsAOnePixelFrameInsideTheRectangle) {
  Canvas c(10, 10);
  RECT r{1, 1, 7, 5};
  FrameRect(c.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(SameRect(c.MarkedBounds(), r));
  EXPECT_EQ(c.Count(kBlack), 2 * 6 + 2 * 2);
  EXPECT_EQ(c.At(3, 3), kWhite);
}

TEST(DrawFocusRect, DottedInversionRemovedByASecondCall) {
  Canvas c(20, 20);
  for (int i = 0; i < 400; ++i) c.bits()[i] = (i * 7919u) & 0xFFFFFF;
  std::vector<uint32_t> before = c.Pixels();
  RECT r{2, 3, 17, 12};
  DrawFocusRect(c.dc(), &r);
  int changed = 0;
  for (int i = 0; i < 400; ++i) changed += c.bits()[i] != before[static_cast<size_t>(i)];
  EXPECT_EQ(changed, (2 * 15 + 2 * 7) / 2);  // every other frame pixel
  EXPECT_EQ(c.At(3, 3), before[3 * 20 + 3] ^ 0xFFFFFF);
  DrawFocusRect(c.dc(), &r);
  EXPECT_EQ(c.Pixels(), before);
}

struct EdgeCase {
  const char* name;
  UINT edge;
  int outerLt, innerLt, innerRb, outerRb;
};

class DrawEdgeColours : public testing::TestWithParam<EdgeCase> {};

TEST_P(DrawEdgeColours, EachSideTakesItsSystemColour) {
  const EdgeCase& e = GetParam();
  Canvas c(12, 10, 0x123456);
  RECT r{1, 1, 11, 9};
  ASSERT_TRUE(DrawEdge(c.dc(), &r, e.edge, BF_RECT));
  EXPECT_EQ(c.At(4, 1), Sys(e.outerLt)) << "outer top";
  EXPECT_EQ(c.At(1, 4), Sys(e.outerLt)) << "outer left";
  EXPECT_EQ(c.At(10, 4), Sys(e.outerRb)) << "outer right";
  EXPECT_EQ(c.At(4, 8), Sys(e.outerRb)) << "outer bottom";
  EXPECT_EQ(c.At(10, 1), Sys(e.outerRb)) << "top-right corner";
  EXPECT_EQ(c.At(1, 8), Sys(e.outerRb)) << "bottom-left corner";
  EXPECT_EQ(c.At(4, 2), Sys(e.innerLt)) << "inner top";
  EXPECT_EQ(c.At(2, 4), Sys(e.innerLt)) << "inner left";
  EXPECT_EQ(c.At(9, 4), Sys(e.innerRb)) << "inner right";
  EXPECT_EQ(c.At(4, 7), Sys(e.innerRb)) << "inner bottom";
  EXPECT_EQ(c.At(5, 5), 0x123456u) << "middle untouched";
  EXPECT_EQ(c.At(0, 0), 0x123456u) << "outside untouched";
}

INSTANTIATE_TEST_SUITE_P(
    DrawEdge, DrawEdgeColours,
    testing::Values(
        EdgeCase{"Raised", EDGE_RAISED, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW},
        EdgeCase{"Sunken", EDGE_SUNKEN, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT},
        EdgeCase{"Etched", EDGE_ETCHED, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
        EdgeCase{"Bump", EDGE_BUMP, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_3DDKSHADOW}),
    [](const testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

TEST(DrawEdge, SoftSwapsTheTopLeftColoursAndMiddleFillsWithButtonFace) {
  Canvas c(12, 10);
  RECT r{1, 1, 11, 9};
  DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
  EXPECT_EQ(c.At(4, 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(c.At(4, 2), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(c.At(5, 5), Sys(COLOR_BTNFACE));
  EXPECT_EQ(c.At(10, 4), Sys(COLOR_3DDKSHADOW));
}

TEST(DrawEdge, OnlyTheNamedSidesAreDrawnAndAdjustShrinksThem) {
  Canvas c(12, 10);
  RECT r{1, 1, 11, 9};
  DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_TOP | BF_LEFT | BF_ADJUST);
  EXPECT_TRUE(SameRect(r, RECT{3, 3, 11, 9})) << ToString(r);
  EXPECT_EQ(c.At(10, 1), Sys(COLOR_BTNSHADOW));  // no right side: the top runs to the end
  EXPECT_EQ(c.At(10, 4), kWhite);
  EXPECT_EQ(c.At(4, 8), kWhite);
  RECT thin{1, 1, 11, 9};
  DrawEdge(c.dc(), &thin, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
  EXPECT_TRUE(SameRect(thin, RECT{2, 2, 10, 8}));
}

TEST(DrawEdge, FlatAndMonoUseFlatColours) {
  Canvas c(12, 10);
  RECT r{1, 1, 11, 9};
  DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_FLAT);
  EXPECT_EQ(c.At(4, 1), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(10, 4), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(4, 2), Sys(COLOR_BTNFACE));
  DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_MONO);
  EXPECT_EQ(c.At(4, 1), kBlack);
  EXPECT_EQ(c.At(4, 2), Sys(COLOR_WINDOW));
}

}  // namespace
