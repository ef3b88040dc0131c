#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "qzplatform/surface.h"
#include "qzsystem/resources.h"
#include "tempdir.h"

namespace {

class Resources : public ::testing::Test {
 protected:
  void SetUp() override { SetResourceDir(dir.Path.c_str()); }
  void TearDown() override { SetResourceDir(nullptr); }

  // A width x height picture whose pixel (x, y) is 0x00RRGGBB with
  // R = 10 * x, G = 10 * y, B = 7.
  void WritePicture(uint32_t id, int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(PixelAt(x, y));
    }
    ASSERT_TRUE(qz::WritePng(ResourcePath(id, "png"), width, height, pixels.data(), width));
  }
  static uint32_t PixelAt(int x, int y) { return uint32_t(10 * x) << 16 | uint32_t(10 * y) << 8 | 7; }

  TempDir dir;
};

TEST_F(Resources, PicturesLoadAsDibsWithTheirPixels) {
  WritePicture(100000, 4, 3);
  ResDIB picture(100000, 0);
  ASSERT_EQ(picture.Load(), 1u);
  ASSERT_NE(picture.Dib, nullptr);
  EXPECT_EQ(picture.Dib->Width, 4);
  EXPECT_EQ(picture.Dib->Height, 3);
  EXPECT_NE(picture.Dib->Bitmap, nullptr);
  EXPECT_EQ(picture.Dib->Bits[2 * 4 + 3], 0xff000000u | PixelAt(3, 2));
  DIB* loaded = picture.Dib;
  EXPECT_EQ(picture.Load(), 1u);
  EXPECT_EQ(picture.Dib, loaded);
}

TEST_F(Resources, BitmapsHaveThePicturesSizeAndNoAlpha) {
  WritePicture(100001, 5, 2);
  ResBitmap bitmap(100001, 0);
  ASSERT_EQ(bitmap.Load(), 1u);
  EXPECT_NE(bitmap.Bitmap, nullptr);
  EXPECT_EQ(bitmap.Width, 5);
  EXPECT_EQ(bitmap.Height, 2);
  BITMAP info{};
  ASSERT_NE(GetObject(bitmap.Bitmap, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 5);
  ASSERT_NE(info.bmBits, nullptr);
  EXPECT_EQ(static_cast<const uint32_t*>(info.bmBits)[1 * 5 + 4], PixelAt(4, 1));
  bitmap.Unload();
  EXPECT_EQ(bitmap.Bitmap, nullptr);
  EXPECT_EQ(bitmap.Width, 0);
}

TEST_F(Resources, AMissingPictureFailsAndLoadsOnceItExists) {
  ResDIB picture(100004, 0);
  ResBitmap bitmap(100004, 0);
  EXPECT_EQ(picture.Load(), 0u);
  EXPECT_EQ(picture.Dib, nullptr);
  EXPECT_EQ(bitmap.Load(), 0u);
  EXPECT_EQ(bitmap.Bitmap, nullptr);
  WritePicture(100004, 2, 2);
  EXPECT_EQ(picture.Load(), 1u);
  EXPECT_EQ(bitmap.Load(), 1u);
}

TEST_F(Resources, ACorruptPictureFails) {
  dir.Write("100005.png", "not a picture");
  ResDIB picture(100005, 0);
  EXPECT_EQ(picture.Load(), 0u);
}

TEST_F(Resources, ColoursGiveAColourAndASolidBrush) {
  dir.Write("100003.colour", "225 128 7\n");
  ResColour colour(100003);
  ASSERT_EQ(colour.Load(), 1u);
  EXPECT_EQ(colour.Colour, RGB(225, 128, 7));
  ASSERT_NE(colour.Brush, nullptr);
  LOGBRUSH brush{};
  ASSERT_NE(GetObject(colour.Brush, sizeof brush, &brush), 0);
  EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(brush.lbColor, RGB(225, 128, 7));
}

TEST_F(Resources, AMissingColourFailsCleanly) {
  ResColour colour(100009);
  EXPECT_EQ(colour.Load(), 0u);
  EXPECT_EQ(colour.Brush, nullptr);
}

TEST(ResourceText, ColoursNeedThreeChannelsInRange) {
  COLORREF colour = 0;
  EXPECT_TRUE(ParseColour("# panel text\n 1 2 3 \n", &colour));
  EXPECT_EQ(colour, RGB(1, 2, 3));
  colour = 5;
  EXPECT_FALSE(ParseColour("1 2", &colour));
  EXPECT_FALSE(ParseColour("1 2 3 4", &colour));
  EXPECT_FALSE(ParseColour("1 2 256", &colour));
  EXPECT_FALSE(ParseColour("-1 2 3", &colour));
  EXPECT_FALSE(ParseColour("1 2 x", &colour));
  EXPECT_FALSE(ParseColour("", &colour));
  EXPECT_EQ(colour, 5u);
}

TEST(ResourceText, TagListsHoldIntegersAndDoublesAndSkipComments) {
  TagList tags;
  ASSERT_TRUE(
      ParseTagList("# layout\n0x100002bc 24\n\n  0x100002bd -3   # inset\n0x20050000 0.5\n0x100002bc 0x10\n", &tags));
  EXPECT_EQ(tags.Count(), 4u);
  EXPECT_EQ(tags.GetLong(0x100002bc, 0), 24);
  EXPECT_EQ(tags.GetLong(0x100002bd, 0), -3);
  EXPECT_EQ(tags.GetDouble(0x20050000, 0), 0.5);
  EXPECT_EQ(*tags.FindNext(0x100002bc, tags.Find(0x100002bc)), 16);
}

TEST(ResourceText, MalformedTagListsAreRejectedWhole) {
  TagList tags{{1, 1}};
  EXPECT_FALSE(ParseTagList("0x100002bc 24\n0x100002bd\n", &tags));
  EXPECT_FALSE(ParseTagList("100002bc 24\n", &tags));
  EXPECT_FALSE(ParseTagList("0x100002bc 24 25\n", &tags));
  EXPECT_FALSE(ParseTagList("0x100002bc twelve\n", &tags));
  EXPECT_FALSE(ParseTagList("0x1000000000 1\n", &tags));
  EXPECT_FALSE(ParseTagList("0x0 1\n", &tags));
  EXPECT_EQ(tags.Count(), 1u);
}

TEST_F(Resources, LayoutListsLoadOnceAndUnloadToNothing) {
  dir.Write("100002.tags", "0x100002bc 24\n0x100002bd 3\n");
  ResData data(100002);
  EXPECT_EQ(data.Tags, nullptr);
  ASSERT_EQ(data.Load(), 1u);
  ASSERT_NE(data.Tags, nullptr);
  EXPECT_EQ(data.Tags->GetLong(0x100002bd, 0), 3);
  dir.Write("100002.tags", "0x100002bc 99\n");
  EXPECT_EQ(data.Load(), 1u);
  EXPECT_EQ(data.Tags->GetLong(0x100002bc, 0), 24);
  data.Unload();
  EXPECT_EQ(data.Tags, nullptr);
  ASSERT_EQ(data.Load(), 1u);
  EXPECT_EQ(data.Tags->GetLong(0x100002bc, 0), 99);
}

TEST_F(Resources, AMissingOrMalformedLayoutListFails) {
  ResData data(100017);
  EXPECT_EQ(data.Load(), 0u);
  dir.Write("100017.tags", "0x10000384 nine\n");
  EXPECT_EQ(data.Load(), 0u);
  EXPECT_EQ(data.Tags, nullptr);
  dir.Write("100017.tags", "0x10000384 9\n");
  EXPECT_EQ(data.Load(), 1u);
}

TEST(ResourceDir, TheSetFolderBeatsTheEnvironmentWhichBeatsTheBuildsFolder) {
  EXPECT_EQ(GetResourceDir(), QZ_RESOURCE_DIR);
  setenv("QZ_RESOURCES", "/from/environment", 1);
  EXPECT_EQ(GetResourceDir(), "/from/environment");
  SetResourceDir("/set/by/host");
  EXPECT_EQ(GetResourceDir(), "/set/by/host");
  EXPECT_EQ(ResourcePath(100112, "colour"), "/set/by/host/100112.colour");
  SetResourceDir(nullptr);
  unsetenv("QZ_RESOURCES");
  EXPECT_EQ(GetResourceDir(), QZ_RESOURCE_DIR);
}

TEST(ResourceDir, TheBuildsLayoutListsLoad) {
  ResData slider(100002);
  ASSERT_EQ(slider.Load(), 1u);
  EXPECT_GT(slider.Tags->Count(), 0u);
}

}  // namespace
