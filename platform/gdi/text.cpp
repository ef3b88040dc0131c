#include "text.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "glyph_mix.h"

namespace qz::gdi {

FontFace* FaceOfDc(Dc& dc) {
  if (!dc.font) {
    HGDIOBJ font = GetStockObject(SYSTEM_FONT);
    return FaceOf(As<Font>(font, OBJ_FONT));
  }
  return FaceOf(dc.font);
}

namespace {

bool IsPlain(const RunOptions& options) {
  return !options.prefix && !options.skipControls && options.tabWidth < 0;
}

// The whole run's underline and strike-out.
void DrawDecoration(const Raster& raster, const FontFace* face, int x, int baseline, int width, uint32_t pixel,
                    TextDecoration decoration) {
  int thick = face->lineThickness;
  if (decoration.underline) {
    int underlineTop = baseline + face->underlineOffset;
    FillBox(raster, RECT{x, underlineTop, x + width, underlineTop + thick}, pixel, R2_COPYPEN);
  }
  if (decoration.strikeOut) {
    int strikeTop = baseline - face->strikeOffset;
    FillBox(raster, RECT{x, strikeTop, x + width, strikeTop + thick}, pixel, R2_COPYPEN);
  }
}

}  // namespace

void DrawRun(const Raster& raster, FontFace* face, int x, int top, const char* text, int length,
             const RunOptions& options, uint32_t pixel, TextDecoration decoration, const FilledBox* filled) {
  int baseline = top + face->ascent;
  int underlineTop = baseline + face->underlineOffset;
  int thick = face->lineThickness;
  MixedGlyphs* mixed = filled ? &MixedGlyphsFor(face, pixel, filled->pixel) : nullptr;
  int inkRight = INT_MIN;  // right of everything drawn so far; the run goes left to right
  if (mixed && raster.count == 1 && IsPlain(options)) {
    // The common case, opaque plain text in one clip rectangle, walked here
    // with everything in locals: the same choice of copy or blend per glyph.
    const RECT box = filled->box;
    const RECT limit = raster.limit;
    // Glyphs copied lie in the box; a box wholly shown needs no clipping.
    const bool boxShown =
        box.left >= limit.left && box.top >= limit.top && box.right <= limit.right && box.bottom <= limit.bottom;
    const uint32_t* ready = nullptr;
    int pen = x;
    for (int i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      const Glyph& g = GlyphOf(face, c);
      if (g.width) {
        RECT ink{pen + g.left, baseline - g.top, pen + g.left + g.width, baseline - g.top + g.height};
        if (ink.left >= inkRight && ink.left >= box.left && ink.top >= box.top && ink.right <= box.right &&
            ink.bottom <= box.bottom) {
          ready = mixed->Pixels(c, g);
          RECT shown = boxShown ? ink : Clamp(ink, limit);
          if (!IsEmpty(shown))
            CopyRows(raster.canvas.Row(shown.top) + shown.left, raster.canvas.stride,
                     ready + static_cast<ptrdiff_t>(shown.top - ink.top) * g.width + (shown.left - ink.left), g.width,
                     shown.right - shown.left, shown.bottom - shown.top);
        } else {
          BlendCoverage(raster, ink.left, ink.top, face->coverage.data() + g.offset, g.width, g.height, g.width, pixel);
        }
        inkRight = std::max(inkRight, static_cast<int>(ink.right));
      }
      pen += g.advance;
    }
    int width = pen - x;
    DrawDecoration(raster, face, x, baseline, width, pixel, decoration);
    return;
  }
  int width = WalkRun(face, text, length, options, [&](unsigned char c, int at, bool underlined) {
    const Glyph& g = GlyphOf(face, c);
    if (g.width) {
      RECT ink{x + at + g.left, baseline - g.top, x + at + g.left + g.width, baseline - g.top + g.height};
      if (mixed && ink.left >= inkRight && ink.left >= filled->box.left && ink.top >= filled->box.top &&
          ink.right <= filled->box.right && ink.bottom <= filled->box.bottom)
        CopyPixels(raster, ink.left, ink.top, mixed->Pixels(c, g), g.width, g.height, g.width);
      else
        BlendCoverage(raster, ink.left, ink.top, face->coverage.data() + g.offset, g.width, g.height, g.width, pixel);
      inkRight = std::max(inkRight, static_cast<int>(ink.right));
    }
    if (underlined) {
      FillBox(raster, RECT{x + at, underlineTop, x + at + g.advance, underlineTop + thick}, pixel, R2_COPYPEN);
      inkRight = std::max(inkRight, x + at + g.advance);
    }
  });
  DrawDecoration(raster, face, x, baseline, width, pixel, decoration);
}

}  // namespace qz::gdi

using namespace qz::gdi;

namespace {

TextDecoration DecorationOf(const Dc& dc) {
  if (!dc.font) return TextDecoration{};
  return TextDecoration{dc.font->log.lfUnderline != 0, dc.font->log.lfStrikeOut != 0};
}

// The top-left of a text box of `width` for the reference point (x, y) under
// the DC's text alignment; moves the current position with TA_UPDATECP.
POINT PlaceText(Dc& dc, const FontFace* face, int x, int y, int width) {
  UINT align = dc.state.textAlign;
  if (align & TA_UPDATECP) {
    x = dc.state.current.x;
    y = dc.state.current.y;
  }
  int left = x;
  if ((align & TA_CENTER) == TA_CENTER)
    left = x - width / 2;
  else if (align & TA_RIGHT)
    left = x - width;
  int top = y;
  if ((align & TA_BASELINE) == TA_BASELINE)
    top = y - face->ascent;
  else if (align & TA_BOTTOM)
    top = y - LineHeight(face);
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) != TA_CENTER) dc.state.current.x = (align & TA_RIGHT) ? x - width : x + width;
  }
  return POINT{left, top};
}

// Draws a run measured and placed by the caller (`at` logical) as TextOutA
// does: in the text colour, over its box filled with the background colour
// when the mode is OPAQUE. That fill is left out where `ground` holds the
// background colour already over all of the box that the clip lets through.
void DrawPlacedText(const Dc& dc, const Raster& raster, FontFace* face, POINT at, int width, const char* text,
                    int length, const FilledBox* ground) {
  at.x += raster.offset.x;
  at.y += raster.offset.y;
  uint32_t ink = qz::PixelFromColor(dc.state.textColor);
  RunOptions options;
  if (dc.state.bkMode != OPAQUE) {
    DrawRun(raster, face, at.x, at.y, text, length, options, ink, DecorationOf(dc));
    return;
  }
  FilledBox filled{RECT{at.x, at.y, at.x + width, at.y + LineHeight(face)}, qz::PixelFromColor(dc.state.bkColor)};
  RECT shown = Clamp(filled.box, raster.limit);
  bool alreadyFilled = ground && ground->pixel == filled.pixel &&
                       (IsEmpty(shown) || (shown.left >= ground->box.left && shown.top >= ground->box.top &&
                                           shown.right <= ground->box.right && shown.bottom <= ground->box.bottom));
  if (!alreadyFilled) FillBox(raster, filled.box, filled.pixel, R2_COPYPEN);
  DrawRun(raster, face, at.x, at.y, text, length, options, ink, DecorationOf(dc), &filled);
}

int TextLength(LPCSTR text, int length) {
  return length < 0 ? static_cast<int>(std::strlen(text)) : length;
}

// The next tab stop after pen position x (relative to the tab origin).
int NextTabStop(int x, int tabCount, const INT* tabStops, int defaultSpacing) {
  if (tabCount == 1 && tabStops && tabStops[0] != 0) {
    int spacing = tabStops[0] < 0 ? -tabStops[0] : tabStops[0];
    return (x / spacing + 1) * spacing;
  }
  if (tabCount > 1 && tabStops) {
    for (int i = 0; i < tabCount; ++i) {
      int stop = tabStops[i] < 0 ? -tabStops[i] : tabStops[i];
      if (stop > x) return stop;
    }
  }
  // No stops, or past the last one: the default grid.
  return (x / defaultSpacing + 1) * defaultSpacing;
}

}  // namespace

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  Dc* dc = DcOf(hdc);
  if (!dc || length < 0 || (!text && length > 0)) return FALSE;
  FontFace* face = FaceOfDc(*dc);
  RunOptions options;
  int width = RunWidth(face, text, length, options);
  POINT at = PlaceText(*dc, face, x, y, width);
  Raster raster;
  if (MakeRaster(*dc, &raster)) DrawPlacedText(*dc, raster, face, at, width, text, length, nullptr);
  return TRUE;
}

namespace qz::gdi {

void TextOutOnRaster(Dc& dc, const Raster* raster, int x, int y, const char* text, int length,
                     const FilledBox* ground) {
  FontFace* face = FaceOfDc(dc);
  int width = RunWidth(face, text, length, RunOptions{});
  POINT at = PlaceText(dc, face, x, y, width);
  if (raster) DrawPlacedText(dc, *raster, face, at, width, text, length, ground);
}

}  // namespace qz::gdi

// Tab stops are in pixels from `tabOrigin`; none means every 8 average characters.
LONG TabbedTextOutA(HDC hdc, int x, int y, LPCSTR text, int length, int tabCount, const INT* tabStops, int tabOrigin) {
  Dc* dc = DcOf(hdc);
  if (!dc || !text) return 0;
  length = TextLength(text, length);
  FontFace* face = FaceOfDc(*dc);
  int spacing = 8 * face->averageWidth;
  if (spacing <= 0) spacing = 1;
  RunOptions options;
  // First pass measures, second draws: segments between tabs are plain runs.
  auto layout = [&](auto&& segment) {
    int pen = x;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
      if (i < length && text[i] != '\t') continue;
      pen += segment(pen, start, i - start);
      if (i < length) pen = tabOrigin + NextTabStop(pen - tabOrigin, tabCount, tabStops, spacing);
      start = i + 1;
    }
    return pen - x;
  };
  int width = layout([&](int, int start, int n) { return RunWidth(face, text + start, n, options); });
  POINT at = PlaceText(*dc, face, x, y, width);
  Raster raster;
  if (MakeRaster(*dc, &raster)) {
    int dx = at.x - x + raster.offset.x, top = at.y + raster.offset.y;
    if (dc->state.bkMode == OPAQUE)
      FillBox(raster, RECT{x + dx, top, x + dx + width, top + LineHeight(face)}, qz::PixelFromColor(dc->state.bkColor),
              R2_COPYPEN);
    uint32_t pixel = qz::PixelFromColor(dc->state.textColor);
    layout([&](int pen, int start, int n) {
      DrawRun(raster, face, pen + dx, top, text + start, n, options, pixel, DecorationOf(*dc));
      return RunWidth(face, text + start, n, options);
    });
  }
  return MAKELONG(width, LineHeight(face));
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, SIZE* size) {
  Dc* dc = DcOf(hdc);
  if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
  FontFace* face = FaceOfDc(*dc);
  *size = SIZE{RunWidth(face, text, length, RunOptions{}), LineHeight(face)};
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
  Dc* dc = DcOf(hdc);
  if (!dc || !metrics) return FALSE;
  FontFace* face = FaceOfDc(*dc);
  metrics->tmHeight = LineHeight(face);
  metrics->tmAscent = face->ascent;
  metrics->tmDescent = face->descent;
  metrics->tmInternalLeading = face->internalLeading;
  metrics->tmExternalLeading = 0;
  metrics->tmAveCharWidth = face->averageWidth;
  metrics->tmMaxCharWidth = face->maxWidth;
  metrics->tmWeight = dc->font && dc->font->log.lfWeight ? dc->font->log.lfWeight : face->weight;
  return TRUE;
}
