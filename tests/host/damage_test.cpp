#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "harness/damage.h"

namespace qzh {
namespace {

constexpr int W = 64;
constexpr int H = 48;

std::vector<uint32_t> Blank() {
  return std::vector<uint32_t>(static_cast<size_t>(W) * H, 0x202020);
}

void Paint(std::vector<uint32_t>& pixels, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) pixels[static_cast<size_t>(y) * W + x] = 0xFFC800;
}

// Every changed pixel lies in a returned rectangle, and the rectangles cover
// no more than the tiles with a change.
void ExpectCovered(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after,
                   const std::vector<RECT>& rects) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (before[static_cast<size_t>(y) * W + x] == after[static_cast<size_t>(y) * W + x]) continue;
      bool inside = false;
      for (const RECT& r : rects) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      EXPECT_TRUE(inside) << "changed pixel " << x << "," << y << " not presented";
    }
}

TEST(ChangedRects, NothingChangedPresentsNothing) {
  EXPECT_TRUE(ChangedRects(Blank(), Blank(), W, H).empty());
}

TEST(ChangedRects, FirstCaptureIsWhollyChanged) {
  const std::vector<RECT> rects = ChangedRects({}, Blank(), W, H);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].left, 0);
  EXPECT_EQ(rects[0].top, 0);
  EXPECT_EQ(rects[0].right, W);
  EXPECT_EQ(rects[0].bottom, H);
}

struct Case {
  const char* What;
  RECT Painted;
  std::vector<RECT> Expected;  // with 16-pixel tiles
};

TEST(ChangedRects, ChangesBecomeTheirTilesJoined) {
  const Case cases[] = {
      {"one pixel", {20, 5, 21, 6}, {{16, 0, 32, 16}}},
      {"a row of tiles", {3, 20, 40, 22}, {{0, 16, 48, 32}}},
      {"a column of tiles", {50, 2, 52, 40}, {{48, 0, 64, 48}}},
      {"a block", {17, 17, 47, 47}, {{16, 16, 48, 48}}},
      {"the right and bottom edge", {63, 47, 64, 48}, {{48, 32, 64, 48}}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> after = Blank();
    Paint(after, c.Painted.left, c.Painted.top, c.Painted.right, c.Painted.bottom);
    const std::vector<RECT> rects = ChangedRects(Blank(), after, W, H);
    ASSERT_EQ(rects.size(), c.Expected.size()) << c.What;
    for (size_t i = 0; i < rects.size(); ++i) {
      EXPECT_EQ(rects[i].left, c.Expected[i].left) << c.What;
      EXPECT_EQ(rects[i].top, c.Expected[i].top) << c.What;
      EXPECT_EQ(rects[i].right, c.Expected[i].right) << c.What;
      EXPECT_EQ(rects[i].bottom, c.Expected[i].bottom) << c.What;
    }
  }
}

// Two separate changes (a caret and a thumb) stay two small areas rather
// than one box around both.
TEST(ChangedRects, SeparateChangesStaySeparate) {
  std::vector<uint32_t> after = Blank();
  Paint(after, 2, 2, 4, 12);
  Paint(after, 50, 40, 60, 44);
  const std::vector<RECT> rects = ChangedRects(Blank(), after, W, H);
  ExpectCovered(Blank(), after, rects);
  ASSERT_EQ(rects.size(), 2u);
  long area = 0;
  for (const RECT& r : rects) area += static_cast<long>(r.right - r.left) * (r.bottom - r.top);
  EXPECT_EQ(area, 2 * 16 * 16);
}

// An L shape: the spans of different width are not joined into a box.
TEST(ChangedRects, SpansOfDifferentWidthAreNotJoined) {
  std::vector<uint32_t> after = Blank();
  Paint(after, 0, 0, 40, 4);
  Paint(after, 0, 20, 4, 40);
  const std::vector<RECT> rects = ChangedRects(Blank(), after, W, H);
  ExpectCovered(Blank(), after, rects);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].right, 48);
  EXPECT_EQ(rects[1].right, 16);
  EXPECT_EQ(rects[1].top, 16);
  EXPECT_EQ(rects[1].bottom, 48);
}

}  // namespace
}  // namespace qzh
