// Resource pictures: icons and bitmaps loaded by number from the host's
// picture folder.
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "qzplatform/driver.h"
#include "qzplatform/surface.h"
#include "windows.h"

namespace {

std::mutex FolderMutex;
std::string Folder;

// A picture file's pixels, as decoded.
struct Decoded {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
};

// The pictures of the current folder read so far, by path: a picture file is
// read and decoded once, as a module's resources are mapped once, and each
// load makes a new bitmap of its pixels. A picture that could not be read is
// looked for again next time.
std::map<std::string, Decoded> Pictures;

// The decoded picture at `path`, read on first use; null when it cannot be
// read. Called with FolderMutex held.
const Decoded* DecodedPicture(const std::string& path) {
  auto found = Pictures.find(path);
  if (found != Pictures.end()) return &found->second;
  Decoded decoded;
  if (!qz::ReadPng(path, &decoded.Width, &decoded.Height, &decoded.Pixels) || decoded.Width <= 0 || decoded.Height <= 0)
    return nullptr;
  return &Pictures.emplace(path, std::move(decoded)).first->second;
}

// Straight-alpha 0xAARRGGBB over an opaque background colour.
uint32_t Over(uint32_t pixel, COLORREF background) {
  const uint32_t a = pixel >> 24;
  const uint32_t back[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
  const uint32_t front[3] = {(pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff};
  uint32_t out = 0xff000000;
  for (int c = 0; c < 3; ++c) out |= ((front[c] * a + back[c] * (255 - a) + 127) / 255) << (16 - 8 * c);
  return out;
}

// A top-down 32-bit bitmap of the picture; icons are composited over the
// button face, bitmaps keep their colours.
HBITMAP PictureBitmap(const Decoded& picture, bool icon) {
  const int width = picture.Width;
  const int height = picture.Height;
  const std::vector<uint32_t>& pixels = picture.Pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  auto* out = static_cast<uint32_t*>(bits);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) out[i] = icon ? Over(pixels[i], face) : pixels[i];
  return bitmap;
}

}  // namespace

namespace qz {

void SetImageFolder(const std::string& folder) {
  std::lock_guard<std::mutex> guard(FolderMutex);
  if (folder != Folder) Pictures.clear();
  Folder = folder;
}

}  // namespace qz

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT) {
  if (type == IMAGE_CURSOR) return LoadCursorA(instance, name);
  if (!name || !IS_INTRESOURCE(name)) return type == IMAGE_ICON ? LoadIconA(instance, name) : nullptr;
  HBITMAP picture = nullptr;
  {
    std::lock_guard<std::mutex> guard(FolderMutex);
    if (!Folder.empty())
      if (const Decoded* decoded =
              DecodedPicture(Folder + "/" + std::to_string(reinterpret_cast<uintptr_t>(name)) + ".png"))
        picture = PictureBitmap(*decoded, type == IMAGE_ICON);
  }
  if (picture) return picture;
  return type == IMAGE_ICON ? LoadIconA(instance, name) : nullptr;
}
