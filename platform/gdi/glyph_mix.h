// Glyphs blended once over a known background: opaque text lands on a box
// just filled with the background colour, so wherever a glyph does not touch
// another one its pixels follow from its coverage and the two colours alone,
// and can be copied instead of mixed pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "fonts.h"

namespace qz::gdi {

class MixedGlyphs {
 public:
  // The pixels (width x height, rows packed) of glyph `g` of character `c`
  // as blending its coverage in `fore` over `back` gives them.
  const uint32_t* Pixels(unsigned char c, const Glyph& g) {
    if (!ready_[c]) Mix(c, g);
    return pixels_.data() + g.offset;
  }
  const uint32_t* Pixels(unsigned char c) { return Pixels(c, GlyphOf(face_, c)); }

  bool Matches(const FontFace* face, uint32_t fore, uint32_t back) const {
    return face_ == face && fore_ == fore && back_ == back;
  }
  void Reset(FontFace* face, uint32_t fore, uint32_t back);

 private:
  void Mix(unsigned char c, const Glyph& g);

  FontFace* face_ = nullptr;
  uint32_t fore_ = 0;
  uint32_t back_ = 0;
  bool ready_[256] = {};
  std::vector<uint32_t> pixels_;  // laid out as the face's coverage
};

// The cached set for a face and colour pair; a few pairs are kept, the
// oldest one making room for a new pair.
MixedGlyphs& MixedGlyphsFor(FontFace* face, uint32_t fore, uint32_t back);

}  // namespace qz::gdi
