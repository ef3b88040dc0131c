#include <png.h>

#include <cstring>

#include "qzplatform/surface.h"

namespace qz {

// `stride` is in pixels between rows (0 or less: the width). The top byte of
// each pixel is ignored: surfaces are opaque, so the file is 8-bit RGB.
bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels, int stride) {
  if (!pixels || width <= 0 || height <= 0) return false;
  if (stride <= 0) stride = width;
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = pixels + static_cast<size_t>(y) * stride;
    uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      out[3 * x] = static_cast<uint8_t>(in[x] >> 16);
      out[3 * x + 1] = static_cast<uint8_t>(in[x] >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(in[x]);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

// Pixels come back as 0xAARRGGBB with straight (not premultiplied) alpha.
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels) {
  if (!width || !height || !pixels) return false;
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;  // little-endian B, G, R, A = 0xAARRGGBB
  if (image.width == 0 || image.height == 0 || uint64_t{image.width} * image.height > (uint64_t{1} << 28)) {
    png_image_free(&image);
    return false;
  }
  std::vector<uint32_t> out(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, out.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  pixels->swap(out);
  return true;
}

}  // namespace qz
