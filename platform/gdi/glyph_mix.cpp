#include "glyph_mix.h"

#include <algorithm>
#include <array>

#include "raster.h"

namespace qz::gdi {
namespace {

constexpr size_t kPairs = 4;

struct MixedCache {
  std::array<MixedGlyphs, kPairs> sets;
  size_t next = 0;
};

MixedCache& Cache() {
  static MixedCache* cache = new MixedCache;  // lives for the process, like the faces it refers to
  return *cache;
}

}  // namespace

void MixedGlyphs::Reset(FontFace* face, uint32_t fore, uint32_t back) {
  face_ = face;
  fore_ = fore;
  back_ = back;
  std::fill(std::begin(ready_), std::end(ready_), false);
}

void MixedGlyphs::Mix(unsigned char c, const Glyph& g) {
  // Glyphs rendered since the last call have grown the coverage.
  if (pixels_.size() < face_->coverage.size()) pixels_.resize(face_->coverage.size());
  const uint8_t* in = face_->coverage.data() + g.offset;
  uint32_t* out = pixels_.data() + g.offset;
  for (size_t i = 0, n = static_cast<size_t>(g.width) * g.height; i < n; ++i)
    out[i] = in[i] == 255 ? fore_ : in[i] ? MixPixel(back_, fore_, in[i]) : back_;
  ready_[c] = true;
}

MixedGlyphs& MixedGlyphsFor(FontFace* face, uint32_t fore, uint32_t back) {
  MixedCache& cache = Cache();
  for (MixedGlyphs& set : cache.sets)
    if (set.Matches(face, fore, back)) return set;
  MixedGlyphs& set = cache.sets[cache.next];
  cache.next = (cache.next + 1) % kPairs;
  set.Reset(face, fore, back);
  return set;
}

}  // namespace qz::gdi
