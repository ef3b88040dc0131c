#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "gdi_test_util.h"

namespace {

class Png : public testing::Test {
 protected:
  Png() {
    dir = std::filesystem::temp_directory_path() / ("qz_gdi_png_" + std::to_string(::getpid()) + "_" +
                                                    testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  ~Png() override { std::filesystem::remove_all(dir); }
  std::string File(const char* name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(Png, SurfacePixelsRoundTripAsOpaqueColours) {
  const int w = 7, h = 5;
  std::vector<uint32_t> pixels(static_cast<size_t>(w + 3) * h);  // a stride wider than the image
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w + 3; ++x)
      pixels[static_cast<size_t>(y * (w + 3) + x)] = (x * 37u) << 16 | (y * 51u) << 8 | (x ^ y) * 20u;
  ASSERT_TRUE(qz::WritePng(File("a.png"), w, h, pixels.data(), w + 3));
  int rw = 0, rh = 0;
  std::vector<uint32_t> read;
  ASSERT_TRUE(qz::ReadPng(File("a.png"), &rw, &rh, &read));
  ASSERT_EQ(rw, w);
  ASSERT_EQ(rh, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(read[static_cast<size_t>(y * w + x)], 0xFF000000u | pixels[static_cast<size_t>(y * (w + 3) + x)])
          << x << "," << y;
}

TEST_F(Png, AlphaIsReadStraightNotPremultiplied) {
  // Bytes R, G, B, A: a half-transparent orange.
  uint8_t rgba[] = {200, 100, 50, 128, 0, 0, 0, 0};
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, File("alpha.png").c_str(), 0, rgba, 0, nullptr));
  int w = 0, h = 0;
  std::vector<uint32_t> read;
  ASSERT_TRUE(qz::ReadPng(File("alpha.png"), &w, &h, &read));
  EXPECT_EQ(read[0], 0x80C86432u);
  EXPECT_EQ(read[1] >> 24, 0u);
}

TEST_F(Png, MissingOrBrokenFilesFail) {
  int w = 0, h = 0;
  std::vector<uint32_t> read;
  EXPECT_FALSE(qz::ReadPng(File("none.png"), &w, &h, &read));
  FILE* f = std::fopen(File("junk.png").c_str(), "wb");
  std::fputs("not a png", f);
  std::fclose(f);
  EXPECT_FALSE(qz::ReadPng(File("junk.png"), &w, &h, &read));
  uint32_t pixel = 0;
  EXPECT_FALSE(qz::WritePng(File("no/such/dir.png"), 1, 1, &pixel, 1));
  EXPECT_FALSE(qz::WritePng(File("empty.png"), 0, 1, &pixel, 1));
}

}  // namespace
