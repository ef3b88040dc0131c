#include <algorithm>

#include "wm.h"

namespace qz {

using namespace user;

bool CaptureScreen(const RECT& area, int* width, int* height, std::vector<uint32_t>* pixels) {
  if (!pixels) return false;
  int cw = std::max(0, static_cast<int>(area.right - area.left));
  int ch = std::max(0, static_cast<int>(area.bottom - area.top));
  pixels->assign(static_cast<size_t>(cw) * ch, 0);
  // Copied from the bottom of the z-order up, so the topmost is left on top.
  const auto& tops = P().desktop->children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    const Window* top = *it;
    const Surface* s = top->surface.get();
    if (!(top->style & WS_VISIBLE) || !s) continue;
    RECT onSurface =
        IntersectRects(top->rect, OffsetRectBy(RECT{0, 0, s->width, s->height}, top->rect.left, top->rect.top));
    RECT shown = IntersectRects(onSurface, area);
    for (int y = shown.top; y < shown.bottom; ++y) {
      const uint32_t* from = s->Row(y - top->rect.top) + (shown.left - top->rect.left);
      uint32_t* to = pixels->data() + static_cast<size_t>(y - area.top) * cw + (shown.left - area.left);
      std::copy(from, from + (shown.right - shown.left), to);
    }
  }
  if (width) *width = cw;
  if (height) *height = ch;
  return true;
}

bool SaveScreenPng(const RECT& area, const std::string& path) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (!CaptureScreen(area, &width, &height, &pixels)) return false;
  return WritePng(path, width, height, pixels.data(), width);
}

}  // namespace qz
