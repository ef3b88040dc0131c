// Small pixel glyphs of the controls (check marks, radio circles, arrows),
// painted as horizontal runs with brushes, so no pen is created per paint.
#pragma once

#include <initializer_list>

#include "windows.h"

namespace qz::controls {

struct GlyphInk {
  char key;
  HBRUSH brush;
};

// Paints `rows` (equal-length strings) at (left, top); each character selects
// the brush of the matching ink, any other character leaves the pixel.
void PaintGlyph(HDC hdc, int left, int top, const char* const* rows, int rowCount,
                std::initializer_list<GlyphInk> inks);

enum class ArrowDirection { Up, Down };

// A filled triangle `width` pixels wide at its base (odd), centred on the point.
void PaintArrow(HDC hdc, int centerX, int centerY, int width, ArrowDirection direction, HBRUSH brush);

// The 7x7 check mark of check boxes.
void PaintCheckMark(HDC hdc, int left, int top, HBRUSH brush);

// The 12x12 radio circle; the dot when checked.
void PaintRadio(HDC hdc, int left, int top, HBRUSH interior, bool checked, HBRUSH dot);

}  // namespace qz::controls
