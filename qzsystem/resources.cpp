#include "qzsystem/resources.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "qzplatform/surface.h"

namespace {

std::mutex DirMutex;
std::string DirOverride;

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream file(path);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  *text = content.str();
  return true;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// An installed library finds the store at <prefix>/share/qzcontrols/resources
// beside its own <prefix>/lib; a library in the build tree has none there.
const std::string& InstalledResourceDir() {
  static const std::string dir = [] {
    const std::string lib = LibraryFolder();
    const std::string candidate = lib + "/../share/qzcontrols/resources";
    return !lib.empty() && IsFolder(candidate) ? candidate : std::string();
  }();
  return dir;
}

// The picture as a DIB, or null when the file is missing or unreadable or
// the platform cannot make the section.
DIB* LoadPicture(uint32_t id) {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  if (!qz::ReadPng(ResourcePath(id, "png"), &width, &height, &pixels)) return nullptr;
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) return nullptr;
  DIB* dib = new DIB(width, height);
  if (!dib->Bits) {
    delete dib;
    return nullptr;
  }
  std::copy(pixels.begin(), pixels.begin() + static_cast<ptrdiff_t>(width) * height, dib->Bits);
  return dib;
}

}  // namespace

void SetResourceDir(const char* path) {
  std::lock_guard<std::mutex> guard(DirMutex);
  DirOverride = path ? path : "";
}

std::string GetResourceDir() {
  {
    std::lock_guard<std::mutex> guard(DirMutex);
    if (!DirOverride.empty()) return DirOverride;
  }
  const char* environment = std::getenv("QZ_RESOURCES");
  if (environment && *environment) return environment;
  if (!InstalledResourceDir().empty()) return InstalledResourceDir();
  return QZ_RESOURCE_DIR;
}

std::string LibraryFolder() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) || !info.dli_fname) return {};
  const std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string ResourcePath(uint32_t id, const char* extension) {
  return GetResourceDir() + "/" + std::to_string(id) + "." + extension;
}

ResDIB::ResDIB(uint32_t id, uint32_t) : ID(id) {}

uint32_t ResDIB::Load() {
  if (!Dib) Dib = LoadPicture(ID);
  return Dib != nullptr;
}

void ResDIB::Unload() {
  delete Dib;
  Dib = nullptr;
}

ResBitmap::ResBitmap(uint32_t id, uint32_t) : ID(id) {}

uint32_t ResBitmap::Load() {
  if (Image) return 1;
  Image = LoadPicture(ID);
  if (!Image) return 0;
  const size_t count = static_cast<size_t>(Image->Width) * Image->Height;
  for (size_t i = 0; i < count; ++i) Image->Bits[i] &= 0x00ffffffu;
  Bitmap = Image->Bitmap;
  Width = Image->Width;
  Height = Image->Height;
  return 1;
}

void ResBitmap::Unload() {
  delete Image;
  Image = nullptr;
  Bitmap = nullptr;
  Width = Height = 0;
}

uint32_t ResColour::Load() {
  if (Brush) return 1;
  std::string text;
  COLORREF colour = 0;
  COLORREF background = 0;
  if (!ReadText(ResourcePath(ID, "colour"), &text) || !ParseColour(text, &colour, &background)) return 0;
  HBRUSH brush = CreateSolidBrush(background);
  if (!brush) return 0;
  Colour = colour;
  Background = background;
  Brush = brush;
  return 1;
}

void ResColour::Unload() {
  if (Brush) DeleteObject(Brush);
  Brush = nullptr;
  Colour = 0;
  Background = 0;
}

uint32_t ResData::Load() {
  if (Tags) return 1;
  std::string text;
  auto* tags = new TagList;
  if (!ReadText(ResourcePath(ID, "tags"), &text) || !ParseTagList(text, tags)) {
    delete tags;
    return 0;
  }
  Tags = tags;
  return 1;
}

void ResData::Unload() {
  delete Tags;
  Tags = nullptr;
}
