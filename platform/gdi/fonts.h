// Realised fonts: a FreeType face at one pixel size with its metrics and a
// cache of rendered glyphs for the 256 ANSI characters.
#pragma once

#include <cstdint>
#include <vector>

#include "objects.h"

namespace qz::gdi {

struct Glyph {
  bool rendered = false;
  int16_t left = 0;  // from the pen position to the bitmap's left column
  int16_t top = 0;   // from the baseline up to the bitmap's top row
  uint16_t width = 0;
  uint16_t height = 0;
  int16_t advance = 0;
  uint32_t offset = 0;  // into FontFace::coverage
};

struct FontFace {
  void* ftFace = nullptr;  // FT_Face
  int em = 0;
  bool emboldenInSoftware = false;
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int averageWidth = 0;
  int maxWidth = 0;
  int weight = FW_NORMAL;
  int underlineOffset = 1;  // rows below the baseline
  int strikeOffset = 3;     // rows above the baseline
  int lineThickness = 1;
  Glyph glyphs[256];
  std::vector<uint8_t> coverage;
};

HFONT MakeStockFont(int index);
// The face a font draws with, realised and cached on first use; never null
// (falls back to the system font's face), but may have no FreeType face when
// the font file is missing, in which case glyphs are empty.
FontFace* FaceOf(Font* font);
// Renders a glyph into the face's coverage and fills in its metrics.
void RenderGlyph(FontFace* face, unsigned char c, Glyph* glyph);
// The glyph of an ANSI character, rendered on first use. Text walks call
// this for every character, so the rendered case stays inline.
inline const Glyph& GlyphOf(FontFace* face, unsigned char c) {
  Glyph& glyph = face->glyphs[c];
  if (!glyph.rendered) RenderGlyph(face, c, &glyph);
  return glyph;
}

}  // namespace qz::gdi
