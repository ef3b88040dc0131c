#include "glyphs.h"

#include <cstring>

namespace qz::controls {
namespace {

HBRUSH InkFor(char c, std::initializer_list<GlyphInk> inks) {
  for (const GlyphInk& ink : inks) {
    if (ink.key == c) return ink.brush;
  }
  return nullptr;
}

constexpr const char* kCheckMark[] = {
    "......X",  //
    ".....XX",  //
    "X...XXX",  //
    "XX.XXX.",  //
    "XXXXX..",  //
    ".XXX...",  //
    "..X....",  //
};

// S/D: shadow and dark shadow (upper left), L/H: light and highlight (lower right).
constexpr const char* kRadio[] = {
    "....SSSS....",  //
    "..SSDDDDSS..",  //
    ".SDDWWWWDDH.",  //
    ".SDWWWWWWLH.",  //
    "SDWWWWWWWWLH",  //
    "SDWWWWWWWWLH",  //
    "SDWWWWWWWWLH",  //
    "SDWWWWWWWWLH",  //
    ".SDWWWWWWLH.",  //
    ".HLLWWWWLLH.",  //
    "..HHLLLLHH..",  //
    "....HHHH....",  //
};

constexpr const char* kRadioDot[] = {
    ".XX.",  //
    "XXXX",  //
    "XXXX",  //
    ".XX.",  //
};

}  // namespace

void PaintGlyph(HDC hdc, int left, int top, const char* const* rows, int rowCount,
                std::initializer_list<GlyphInk> inks) {
  for (int y = 0; y < rowCount; ++y) {
    const char* row = rows[y];
    int length = static_cast<int>(std::strlen(row));
    int x = 0;
    while (x < length) {
      HBRUSH brush = InkFor(row[x], inks);
      int end = x + 1;
      while (end < length && row[end] == row[x]) ++end;
      if (brush) {
        RECT run{left + x, top + y, left + end, top + y + 1};
        FillRect(hdc, &run, brush);
      }
      x = end;
    }
  }
}

void PaintArrow(HDC hdc, int centerX, int centerY, int width, ArrowDirection direction, HBRUSH brush) {
  int rows = (width + 1) / 2;
  int top = centerY - rows / 2;
  for (int i = 0; i < rows; ++i) {
    int half = (direction == ArrowDirection::Down) ? rows - 1 - i : i;
    RECT run{centerX - half, top + i, centerX + half + 1, top + i + 1};
    FillRect(hdc, &run, brush);
  }
}

void PaintCheckMark(HDC hdc, int left, int top, HBRUSH brush) {
  PaintGlyph(hdc, left, top, kCheckMark, 7, {{'X', brush}});
}

void PaintRadio(HDC hdc, int left, int top, HBRUSH interior, bool checked, HBRUSH dot) {
  PaintGlyph(hdc, left, top, kRadio, 12,
             {{'S', GetSysColorBrush(COLOR_BTNSHADOW)},
              {'D', GetSysColorBrush(COLOR_3DDKSHADOW)},
              {'L', GetSysColorBrush(COLOR_3DLIGHT)},
              {'H', GetSysColorBrush(COLOR_BTNHIGHLIGHT)},
              {'W', interior}});
  if (checked) PaintGlyph(hdc, left + 4, top + 4, kRadioDot, 4, {{'X', dot}});
}

}  // namespace qz::controls
