#include <gtest/gtest.h>

#include <memory>

#include "qzsystem/dib.h"

namespace {

uint32_t Expected(uint32_t s, uint32_t d, uint32_t a) {
  return (s * a + d * (255 - a) + 127) / 255;
}

TEST(BlendPixel, MatchesRoundedStraightAlphaForEveryAlphaAndChannel) {
  int mismatches = 0;
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t s = 0; s < 256; ++s) {
      for (uint32_t d = 0; d < 256; ++d) {
        const uint32_t src = a << 24 | s << 16 | d << 8 | s;
        const uint32_t dst = 0x5a000000u | d << 16 | s << 8 | d;
        const uint32_t want = 0xff000000u | Expected(s, d, a) << 16 | Expected(d, s, a) << 8 | Expected(s, d, a);
        mismatches += BlendPixel(dst, src) != want;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(BlendPixel, TransparentKeepsAndOpaqueCopiesExactly) {
  EXPECT_EQ(BlendPixel(0x00123456, 0x00abcdef), 0xff123456u);
  EXPECT_EQ(BlendPixel(0x00123456, 0xffabcdef), 0xffabcdefu);
  EXPECT_EQ(BlendPixel(0x000000ff, 0x80ff0000), 0xff80007fu);
}

std::unique_ptr<DIB> Filled(int width, int height, uint32_t pixel) {
  auto dib = std::make_unique<DIB>(width, height);
  for (int i = 0; i < width * height && dib->Bits; ++i) dib->Bits[i] = pixel;
  return dib;
}

TEST(DIB, NewPicturesAreTransparentBlackSections) {
  DIB dib(3, 2);
  ASSERT_NE(dib.Bits, nullptr);
  EXPECT_NE(dib.Bitmap, nullptr);
  EXPECT_EQ(dib.Width, 3);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(dib.Bits[i], 0u);
}

TEST(DIB, EmptySizesMakeNoSection) {
  DIB dib(0, 5);
  EXPECT_EQ(dib.Bits, nullptr);
  EXPECT_EQ(dib.Bitmap, nullptr);
  EXPECT_EQ(dib.Copy(), nullptr);
}

TEST(DIB, MergeBlendsTheSourceRectangleAtThePosition) {
  auto target = Filled(4, 4, 0xff000000);
  auto source = Filled(3, 3, 0x00000000);
  ASSERT_TRUE(target->Bits && source->Bits);
  source->Bits[1 * 3 + 1] = 0xffff0000;  // opaque red at (1, 1)
  source->Bits[1 * 3 + 2] = 0x800000ff;  // half blue at (2, 1)
  target->Merge(source.get(), 2, 0, 1, 1, 2, 2);
  EXPECT_EQ(target->Bits[0 * 4 + 2], 0xffff0000u);
  EXPECT_EQ(target->Bits[0 * 4 + 3], 0xff000080u);
  EXPECT_EQ(target->Bits[1 * 4 + 2], 0xff000000u);
  EXPECT_EQ(target->Bits[0 * 4 + 1], 0xff000000u);
}

TEST(DIB, MergeMakesTheMergedAreaOpaque) {
  auto target = Filled(2, 1, 0x00102030);
  auto source = Filled(1, 1, 0x00ffffff);
  target->Merge(source.get(), 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(target->Bits[0], 0xff102030u);
  EXPECT_EQ(target->Bits[1], 0x00102030u);
}

TEST(DIB, MergeIsClippedToBothPictures) {
  auto target = Filled(3, 3, 0xff000000);
  auto source = Filled(4, 4, 0xffffffff);
  ASSERT_TRUE(target->Bits && source->Bits);
  target->Merge(source.get(), -1, 2, 0, 0, 4, 4);
  const uint32_t white = 0xffffffff, black = 0xff000000;
  const uint32_t want[9] = {black, black, black, black, black, black, white, white, white};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(target->Bits[i], want[i]) << i;

  auto again = Filled(3, 3, 0xff000000);
  again->Merge(source.get(), 0, 0, 3, -2, 5, 5);
  const uint32_t column[9] = {black, black, black, black, black, black, white, black, black};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(again->Bits[i], column[i]) << i;
}

TEST(DIB, MergeOutsideEitherPictureDoesNothing) {
  auto target = Filled(2, 2, 0xff000000);
  auto source = Filled(2, 2, 0xffffffff);
  target->Merge(source.get(), 2, 0, 0, 0, 2, 2);
  target->Merge(source.get(), 0, 0, 2, 2, 2, 2);
  target->Merge(source.get(), 0, 0, 0, 0, 0, 2);
  target->Merge(nullptr, 0, 0, 0, 0, 2, 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(target->Bits[i], 0xff000000u);
}

// Rows of every width from 1 to 9 whose pixels are opaque, clear or half
// covered in turn, so that groups of four of each kind and mixed ones meet
// every row end.
TEST(DIB, MergeMatchesThePixelBlendForEveryRowWidthAndMix) {
  const uint32_t kinds[3] = {0xff20c040u, 0x00ffffffu, 0x80ff0000u};
  for (int width = 1; width <= 9; ++width) {
    for (int run = 1; run <= 4; ++run) {
      auto target = Filled(width, 1, 0x40102030);
      auto source = Filled(width, 1, 0);
      for (int i = 0; i < width; ++i) source->Bits[i] = kinds[(i / run) % 3];
      target->Merge(source.get(), 0, 0, 0, 0, width, 1);
      for (int i = 0; i < width; ++i)
        EXPECT_EQ(target->Bits[i], BlendPixel(0x40102030, source->Bits[i])) << width << " " << run << " " << i;
    }
  }
}

TEST(DIB, MergeOntoItselfReadsEachPixelBeforeWritingIt) {
  auto dib = Filled(4, 1, 0xff000000);
  ASSERT_TRUE(dib->Bits);
  for (int i = 0; i < 4; ++i) dib->Bits[i] = 0xff000000u | uint32_t(i + 1);
  dib->Merge(dib.get(), 1, 0, 0, 0, 3, 1);
  EXPECT_EQ(dib->Bits[1], 0xff000001u);
  EXPECT_EQ(dib->Bits[2], 0xff000002u);
  EXPECT_EQ(dib->Bits[3], 0xff000003u);

  auto column = Filled(1, 4, 0);
  for (int i = 0; i < 4; ++i) column->Bits[i] = 0xff000000u | uint32_t(i + 1);
  column->Merge(column.get(), 0, 0, 0, 1, 1, 3);
  EXPECT_EQ(column->Bits[0], 0xff000002u);
  EXPECT_EQ(column->Bits[2], 0xff000004u);
}

TEST(DIB, CopiesAreIndependent) {
  auto original = Filled(2, 2, 0x80112233);
  std::unique_ptr<DIB> copy(original->Copy());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->Bits, original->Bits);
  EXPECT_NE(copy->Bitmap, original->Bitmap);
  EXPECT_EQ(copy->Bits[3], 0x80112233u);
  copy->Bits[3] = 0;
  EXPECT_EQ(original->Bits[3], 0x80112233u);
}

TEST(DIB, DrawCopiesThePixelsOntoTheDc) {
  DIB target(4, 4);
  auto picture = Filled(2, 2, 0xff00ff00);
  ASSERT_TRUE(target.Bits && picture->Bits);
  picture->Bits[3] = 0xff0000ff;
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ previous = SelectObject(dc, target.Bitmap);
  picture->Draw(dc, 1, 2);
  SelectObject(dc, previous);
  DeleteDC(dc);
  EXPECT_EQ(target.Bits[2 * 4 + 1] & 0xffffff, 0x00ff00u);
  EXPECT_EQ(target.Bits[3 * 4 + 2] & 0xffffff, 0x0000ffu);
  EXPECT_EQ(target.Bits[1 * 4 + 1], 0u);
}

}  // namespace
