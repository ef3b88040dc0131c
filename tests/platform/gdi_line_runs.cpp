// Lines through a clip region of several rectangles, against the pixel rule
// worked out one pixel at a time.
#include <cstdlib>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

constexpr int kWidth = 48, kHeight = 40;
// Disjoint, so a pixel is visible when one of them holds it.
constexpr RECT kClipRects[] = {{2, 2, 20, 15}, {25, 4, 44, 30}, {6, 20, 22, 36}, {23, 33, 47, 38}};

// Horizontal, vertical, shallow, steep and diagonal lines, both ways,
// crossing several clip rectangles and the canvas edges; the last ones leave
// or enter a rectangle across a side along them exactly half way between two
// pixels.
// clang-format off
constexpr POINT kLines[][2] = {
    {{0, 10}, {47, 10}}, {{46, 34}, {1, 34}}, {{12, 0}, {12, 39}}, {{30, 38}, {30, -3}}, {{1, 3}, {46, 12}},
    {{45, 29}, {3, 21}}, {{8, 1}, {14, 38}}, {{40, 37}, {28, 2}}, {{3, 3}, {37, 37}}, {{44, 5}, {7, 36}},
    {{-9, 25}, {60, 18}}, {{20, 44}, {27, -6}}, {{0, 0}, {47, 2}}, {{22, 5}, {22, 6}},
    {{3, 14}, {12, 15}}, {{3, 2}, {13, 1}}, {{3, 1}, {12, 2}}, {{3, 1}, {13, 2}}, {{7, 36}, {16, 35}},
    {{19, 3}, {20, 12}}, {{25, 5}, {24, 15}},
};
// clang-format on

// The pen's on/off runs (even runs on), as the platform draws them.
struct Style {
  const char* name;
  int style;
  std::vector<int> runs;
};

bool PenOn(const Style& s, int i) {
  if (s.runs.empty()) return true;
  int period = 0;
  for (int run : s.runs) period += run;
  int pos = i % period;
  for (size_t k = 0;; ++k) {
    if (pos < s.runs[k]) return k % 2 == 0;
    pos -= s.runs[k];
  }
}

long long CeilDiv(long long num, long long den) {
  return num >= 0 ? (num + den - 1) / den : -(-num / den);
}

// num / den rounded to nearest, ties towards the smaller value.
int RoundTowardsTopLeft(long long num, long long den) {
  return static_cast<int>(CeilDiv(2 * num - den, 2 * den));
}

uint32_t Background(int x, int y) {
  return (static_cast<uint32_t>(y * kWidth + x) * 2654435761u) & 0xFFFFFF;
}

class LineRuns : public testing::TestWithParam<Style> {};

TEST_P(LineRuns, XorLinesThroughSeveralClipRectanglesFollowThePixelRule) {
  const Style& s = GetParam();
  const COLORREF penColour = RGB(255, 128, 0), paperColour = RGB(255, 64, 48);
  const uint32_t pen = qz::PixelFromColor(penColour), paper = qz::PixelFromColor(paperColour);
  Canvas c(kWidth, kHeight);
  std::vector<uint32_t> expected(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) c.Set(x, y, expected[y * kWidth + x] = Background(x, y));
  ClipToRects(c.dc(), kClipRects);
  ScopedPen scoped(c.dc(), s.style, 1, penColour);
  SetROP2(c.dc(), R2_XORPEN);
  SetBkColor(c.dc(), paperColour);

  for (const auto& line : kLines) {
    MoveToEx(c.dc(), line[0].x, line[0].y, nullptr);
    LineTo(c.dc(), line[1].x, line[1].y);
    int dx = line[1].x - line[0].x, dy = line[1].y - line[0].y;
    int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i) {
      int x = line[0].x, y = line[0].y;
      if (std::abs(dx) >= std::abs(dy)) {
        x += dx > 0 ? i : -i;
        y = RoundTowardsTopLeft(static_cast<long long>(y) * steps + static_cast<long long>(i) * dy, steps);
      } else {
        y += dy > 0 ? i : -i;
        x = RoundTowardsTopLeft(static_cast<long long>(x) * steps + static_cast<long long>(i) * dx, steps);
      }
      if (InsideAny(kClipRects, x, y)) expected[y * kWidth + x] ^= PenOn(s, i) ? pen : paper;
    }
  }
  EXPECT_EQ(c.Pixels(), expected);
}

INSTANTIATE_TEST_SUITE_P(Line, LineRuns,
                         testing::Values(Style{"Solid", PS_SOLID, {}}, Style{"Dash", PS_DASH, {18, 6}},
                                         Style{"Dot", PS_DOT, {3, 3}}, Style{"DashDot", PS_DASHDOT, {9, 6, 3, 6}},
                                         Style{"DashDotDot", PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}}),
                         [](const testing::TestParamInfo<Style>& info) { return std::string(info.param.name); });

TEST(Pen, StyledXorPathsDrawnTwiceRestoreEveryPixelInBothBackgroundModes) {
  Canvas c(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) c.Set(x, y, Background(x, y));
  std::vector<uint32_t> before = c.Pixels();
  ExcludeClipRect(c.dc(), 10, 8, 30, 25);
  SetROP2(c.dc(), R2_XORPEN);
  POINT path[] = {{1, 1}, {46, 1}, {46, 38}, {3, 30}, {40, 5}, {40, 36}, {2, 36}};
  for (int style : {PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT}) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
      ScopedPen pen(c.dc(), style, 1, RGB(255, 255, 255));
      SetBkMode(c.dc(), mode);
      Polyline(c.dc(), path, 7);
      EXPECT_NE(c.Pixels(), before);
      Polyline(c.dc(), path, 7);
      EXPECT_EQ(c.Pixels(), before) << style << " " << mode;
    }
  }
}

}  // namespace
