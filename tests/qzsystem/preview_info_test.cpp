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

TEST(PreviewInfo, DegenerateLayoutFallsBackToOnePixelAndZoomOne) {
  PreviewInfo info = Shown(100, 100, 0, -5, 0.0f);
  EXPECT_EQ(info.PixelWidth, 1);
  EXPECT_EQ(info.PixelHeight, 1);
  EXPECT_FLOAT_EQ(info.Zoom, 1.0f);
  EXPECT_TRUE(std::isfinite(info.TransformXIn(10)));
}

}  // namespace
