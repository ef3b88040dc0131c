// Laying out and drawing runs of ANSI text with a realised font.
#pragma once

#include "dc.h"
#include "fonts.h"

namespace qz::gdi {

struct RunOptions {
  bool prefix = false;        // '&' underlines the next character, "&&" is '&'
  bool skipControls = false;  // characters below 0x20 take no room and draw nothing
  int tabWidth = -1;          // > 0: tabs advance to multiples of it; 0: no room; < 0: drawn as glyphs
};

struct TextDecoration {
  bool underline = false;
  bool strikeOut = false;
};

FontFace* FaceOfDc(Dc& dc);
inline int LineHeight(const FontFace* face) {
  return face->ascent + face->descent;
}

// Calls visit(c, x, underlined) for each character that shows, with x its
// pen position from the start of the run; returns the run's width.
template <class Visit>
int WalkRun(FontFace* face, const char* text, int length, const RunOptions& options, Visit&& visit) {
  int x = 0;
  if (!options.prefix && !options.skipControls && options.tabWidth < 0) {
    // Plain text: every character shows, none underlined.
    for (int i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      visit(c, x, false);
      x += GlyphOf(face, c).advance;
    }
    return x;
  }
  for (int i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool underlined = false;
    if (options.prefix && c == '&') {
      if (++i >= length) break;
      c = static_cast<unsigned char>(text[i]);
      underlined = c != '&';
    }
    if (c == '\t' && options.tabWidth >= 0) {
      if (options.tabWidth > 0) x = (x / options.tabWidth + 1) * options.tabWidth;
      continue;
    }
    if (c < 0x20 && options.skipControls) continue;
    visit(c, x, underlined);
    x += GlyphOf(face, c).advance;
  }
  return x;
}

inline int RunWidth(FontFace* face, const char* text, int length, const RunOptions& options) {
  return WalkRun(face, text, length, options, [](unsigned char, int, bool) {});
}

// A box (canvas coordinates) just filled with one colour that the run is drawn over.
struct FilledBox {
  RECT box;
  uint32_t pixel;
};

// Draws a run with its top-left at canvas (x, top) in `pixel`. Over a
// `filled` box, glyphs that lie inside it and clear of each other are copied
// ready-blended.
void DrawRun(const Raster& raster, FontFace* face, int x, int top, const char* text, int length,
             const RunOptions& options, uint32_t pixel, TextDecoration decoration, const FilledBox* filled = nullptr);

// TextOutA on a raster already made for `dc` (null: nothing of the DC is
// visible, the text only moves the current position where it would).
// `ground`, when given, is a box (canvas coordinates) known to hold one colour
// throughout, as a fill just made leaves it: opaque text in that colour whose
// box lies within it is not filled again.
void TextOutOnRaster(Dc& dc, const Raster* raster, int x, int y, const char* text, int length, const FilledBox* ground);

// DrawTextA drawn where FillRect has just filled `filled` (logical
// coordinates) with the solid `brush` and nothing has been drawn over it
// since: transparent text there is copied from glyphs blended once over that
// colour. What is drawn is exactly what DrawTextA draws.
int DrawTextOnFill(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format, const RECT& filled, HBRUSH brush);

}  // namespace qz::gdi
