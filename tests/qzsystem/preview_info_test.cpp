#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "qzsystem/previewinfo.h"

namespace {

PreviewInfo Shown(int viewWidth, int viewHeight, int pixelWidth, int pixelHeight, float zoom, float panX = 0.0f,
                  float panY = 0.0f) {
  PreviewInfo info;
  info.Layout(viewWidth, viewHeight, pixelWidth, pixelHeight, zoom, panX, panY);
  return info;
}

TEST(PreviewInfo, ImageIsCentredOnWholePixels) {
  PreviewInfo info = Shown(400, 300, 320, 240, 1.0f);
  EXPECT_EQ(info.TransformXOut(0.0f), 40);
  EXPECT_EQ(info.TransformYOut(0.0f), 30);
  EXPECT_EQ(info.TransformXOut(1.0f), 360);
  EXPECT_EQ(info.TransformYOut(1.0f), 270);
  // An odd margin is split with the extra pixel after the image.
  PreviewInfo odd = Shown(401, 301, 320, 240, 1.0f);
  EXPECT_EQ(odd.TransformXOut(0.0f), 40);
  EXPECT_EQ(odd.TransformYOut(0.0f), 30);
}

TEST(PreviewInfo, APositionMapsToThePixelContainingIt) {
  PreviewInfo info = Shown(320, 240, 320, 240, 1.0f);
  EXPECT_EQ(info.TransformXOut(0.5f), 160);
  EXPECT_EQ(info.TransformXOut(0.5f - 0.1f / 320), 159);
  EXPECT_EQ(info.TransformXOut(-0.1f / 320), -1);
  EXPECT_EQ(info.TransformYOut(0.25f), 60);
}

TEST(PreviewInfo, ZoomAndPanMoveAndScaleTheImage) {
  PreviewInfo info = Shown(400, 300, 100, 50, 2.0f, 10.0f, -5.0f);
  EXPECT_FLOAT_EQ(info.ImageWidth, 200.0f);
  EXPECT_FLOAT_EQ(info.ImageHeight, 100.0f);
  EXPECT_EQ(info.TransformXOut(0.0f), 110);
  EXPECT_EQ(info.TransformYOut(0.0f), 95);
  EXPECT_EQ(info.TransformXOut(0.5f), 210);
  EXPECT_EQ(info.TransformYOut(1.0f), 195);
}

TEST(PreviewInfo, EveryViewerPixelSurvivesTheRoundTrip) {
  for (float zoom : {0.5f, 1.0f, 1.5f, 3.0f}) {
    PreviewInfo info = Shown(640, 480, 320, 240, zoom, 3.0f, -7.0f);
    for (int px = -50; px < 700; ++px) ASSERT_EQ(info.TransformXOut(info.TransformXIn(px)), px) << zoom;
    for (int py = -50; py < 520; ++py) ASSERT_EQ(info.TransformYOut(info.TransformYIn(py)), py) << zoom;
  }
}

TEST(PreviewInfo, SetMousePutsThePointerAtThePixelCentre) {
  PreviewInfo info = Shown(320, 240, 320, 240, 1.0f);
  info.SetMouse(160, 60);
  EXPECT_FLOAT_EQ(info.MouseX, 160.5f / 320);
  EXPECT_FLOAT_EQ(info.MouseY, 60.5f / 240);
}

TEST(PreviewInfo, FarAndInvalidPositionsAreLimited) {
  PreviewInfo info = Shown(320, 240, 320, 240, 1.0f);
  EXPECT_EQ(info.TransformXOut(1e30f), PreviewInfo::PixelLimit);
  EXPECT_EQ(info.TransformYOut(-1e30f), -PreviewInfo::PixelLimit);
  EXPECT_EQ(info.TransformXOut(std::numeric_limits<float>::quiet_NaN()), -PreviewInfo::PixelLimit);
  EXPECT_EQ(info.TransformXOut(std::numeric_limits<float>::infinity()), PreviewInfo::PixelLimit);
}

TEST(PreviewInfo, AspectScalesAreInversesAndRoundOnScreen) {
  PreviewInfo info = Shown(640, 480, 320, 160, 1.0f);
  // A size is in image widths: 0.25 is 80 viewer pixels along both axes.
  EXPECT_FLOAT_EQ(info.AspectScaleXOut(0.25f) * info.ImageWidth, 80.0f);
  EXPECT_FLOAT_EQ(info.AspectScaleYOut(0.25f) * info.ImageHeight, 80.0f);
  EXPECT_FLOAT_EQ(info.AspectScaleXIn(info.AspectScaleXOut(0.3f)), 0.3f);
  EXPECT_FLOAT_EQ(info.AspectScaleYIn(info.AspectScaleYOut(0.3f)), 0.3f);
}

struct AspectRow {
  const char* Name;
  int PixelWidth;
  int PixelHeight;
  float Zoom;
};

class AspectScaleTest : public ::testing::TestWithParam<AspectRow> {};

// Out turns a size (in image widths as shown) into a normalised length along
// each axis, In turns a length back: the two are inverse on every layout,
// and one size spans the same viewer pixels across and down, so a circle
// drawn with them is round on a non-square image.
TEST_P(AspectScaleTest, InAndOutAreInversePairsAndRoundOnScreen) {
  const AspectRow& row = GetParam();
  PreviewInfo info = Shown(800, 600, row.PixelWidth, row.PixelHeight, row.Zoom);
  for (float size : {0.0f, 0.1f, 0.25f, 0.3f, 1.0f, 2.5f}) {
    EXPECT_FLOAT_EQ(info.AspectScaleXIn(info.AspectScaleXOut(size)), size) << size;
    EXPECT_FLOAT_EQ(info.AspectScaleYIn(info.AspectScaleYOut(size)), size) << size;
    EXPECT_FLOAT_EQ(info.AspectScaleXOut(info.AspectScaleXIn(size)), size) << size;
    EXPECT_FLOAT_EQ(info.AspectScaleYOut(info.AspectScaleYIn(size)), size) << size;
    EXPECT_NEAR(info.AspectScaleYOut(size) * info.ImageHeight, info.AspectScaleXOut(size) * info.ImageWidth,
                1e-4 * info.ImageWidth)
        << size;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, AspectScaleTest,
                         ::testing::Values(AspectRow{"Wide", 320, 240, 1.0f}, AspectRow{"WideZoomed", 320, 240, 0.8f},
                                           AspectRow{"Wider", 1920, 1080, 0.25f}, AspectRow{"Tall", 100, 300, 2.5f},
                                           AspectRow{"Square", 256, 256, 1.0f}),
                         [](const ::testing::TestParamInfo<AspectRow>& info) { return info.param.Name; });

// A length with an exact pixel size stays exact: 60 pixels of a 320 x 240
// image are 0.1875 across and 0.25 down.
TEST(PreviewInfo, AspectScalesKeepExactLengthsExact) {
  PreviewInfo info = Shown(400, 300, 320, 240, 1.0f);
  EXPECT_EQ(info.AspectScaleYOut(0.1875f), 0.25f);
  EXPECT_EQ(info.AspectScaleYIn(0.25f), 0.1875f);
}

TEST(PreviewInfo, DegenerateLayoutFallsBackToOnePixelAndZoomOne) {
  PreviewInfo info = Shown(100, 100, 0, -5, 0.0f);
  EXPECT_EQ(info.PixelWidth, 1);
  EXPECT_EQ(info.PixelHeight, 1);
  EXPECT_FLOAT_EQ(info.Zoom, 1.0f);
  EXPECT_TRUE(std::isfinite(info.TransformXIn(10)));
}

}  // namespace
