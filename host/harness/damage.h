// What changed on the screen between two captures, as the few rectangles a
// host must present again.
#pragma once

#include <cstdint>
#include <vector>

#include "windows.h"

namespace qzh {

// The areas where `after` differs from `before`, two captures of `width` x
// `height` pixels: changed tiles of `tile` pixels, joined along a row of
// tiles and then with the same span in the row above. Captures of another
// size than width x height (the first capture, against an empty one) are
// wholly changed. Tiles at the right and bottom edges are cut to the capture.
std::vector<RECT> ChangedRects(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int width,
                               int height, int tile = 16);

}  // namespace qzh
