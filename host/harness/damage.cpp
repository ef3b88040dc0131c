#include "damage.h"

#include <algorithm>
#include <cstring>

namespace qzh {
namespace {

bool TileChanged(const uint32_t* before, const uint32_t* after, int width, const RECT& area) {
  const size_t bytes = static_cast<size_t>(area.right - area.left) * sizeof(uint32_t);
  for (int y = area.top; y < area.bottom; ++y) {
    const size_t at = static_cast<size_t>(y) * width + area.left;
    if (std::memcmp(before + at, after + at, bytes) != 0) return true;
  }
  return false;
}

}  // namespace

std::vector<RECT> ChangedRects(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int width,
                               int height, int tile) {
  std::vector<RECT> rects;
  if (width <= 0 || height <= 0) return rects;
  const size_t size = static_cast<size_t>(width) * height;
  if (before.size() != size || after.size() != size) {
    rects.push_back(RECT{0, 0, width, height});
    return rects;
  }
  tile = std::max(tile, 1);
  for (int top = 0; top < height; top += tile) {
    const int bottom = std::min(top + tile, height);
    const size_t rowFirst = rects.size();
    for (int left = 0; left < width; left += tile) {
      const RECT area{left, top, std::min(left + tile, width), bottom};
      if (!TileChanged(before.data(), after.data(), width, area)) continue;
      if (rects.size() > rowFirst && rects.back().right == area.left)
        rects.back().right = area.right;
      else
        rects.push_back(area);
    }
    // A span with the same left and right as one ending just above grows it.
    size_t kept = rowFirst;
    for (size_t i = rowFirst; i < rects.size(); ++i) {
      bool joined = false;
      for (size_t j = 0; j < rowFirst; ++j) {
        if (rects[j].left == rects[i].left && rects[j].right == rects[i].right && rects[j].bottom == top) {
          rects[j].bottom = bottom;
          joined = true;
          break;
        }
      }
      if (!joined) rects[kept++] = rects[i];
    }
    rects.resize(kept);
  }
  return rects;
}

}  // namespace qzh
