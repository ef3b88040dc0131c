#include <algorithm>
#include <cstring>

#include "text.h"

using namespace qz::gdi;

namespace {

struct Line {
  int start;
  int length;
  int width;
};

struct Layout {
  FontFace* face;
  const char* text;
  RunOptions options;
  bool wrap;
  int limit;  // wrapping width
};

int Width(const Layout& l, int start, int end) {
  return RunWidth(l.face, l.text + start, end - start, l.options);
}

// Breaks [start, end) at spaces so that each line fits the limit when it can;
// a word longer than the limit keeps a line of its own.
template <class Emit>
void WrapParagraph(const Layout& l, int start, int end, Emit&& emit) {
  const char* s = l.text;
  int lineStart = start;
  while (true) {
    int breakAt = -1;  // end of the last word that fits
    int i = lineStart;
    while (true) {
      int j = i;
      while (j < end && s[j] == ' ') ++j;
      while (j < end && s[j] != ' ') ++j;
      if (breakAt >= 0 && Width(l, lineStart, j) > l.limit) break;
      breakAt = j;
      i = j;
      if (j >= end) break;
    }
    // Words beyond the line's last word start the next line; spaces between are dropped.
    int next = breakAt;
    while (next < end && s[next] == ' ') ++next;
    if (next >= end) {
      emit(lineStart, end);
      return;
    }
    emit(lineStart, breakAt);
    lineStart = next;
  }
}

// Splits at CR, LF and CR LF unless single-line, then wraps each paragraph.
template <class Emit>
void LayoutLines(const Layout& l, int length, bool singleLine, Emit&& emit) {
  auto paragraph = [&](int start, int end) {
    if (l.wrap)
      WrapParagraph(l, start, end, emit);
    else
      emit(start, end);
  };
  if (singleLine) {
    paragraph(0, length);
    return;
  }
  int start = 0;
  for (int i = 0; i < length; ++i) {
    if (l.text[i] != '\r' && l.text[i] != '\n') continue;
    paragraph(start, i);
    if (l.text[i] == '\r' && i + 1 < length && l.text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  paragraph(start, length);
}

// How much of a line fits in `room` with "..." after it.
int EllipsisCut(const Layout& l, const Line& line, int room, int dotsWidth) {
  int keep = line.length;
  while (keep > 0 && Width(l, line.start, line.start + keep) + dotsWidth > room) --keep;
  // Do not split a "&x" prefix pair.
  if (l.options.prefix && keep > 0 && l.text[line.start + keep - 1] == '&') --keep;
  return keep;
}

// A solid fill, in logical coordinates, that the text is drawn over.
struct Ground {
  RECT box;
  uint32_t pixel;
};

int DrawTextOver(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format, const Ground* ground) {
  Dc* dc = DcOf(hdc);
  if (!dc || !rect || (!text && length != 0)) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  FontFace* face = FaceOfDc(*dc);
  bool singleLine = format & DT_SINGLELINE;
  Layout l;
  l.face = face;
  l.text = text ? text : "";
  l.options.prefix = !(format & DT_NOPREFIX);
  l.options.skipControls = true;
  l.options.tabWidth = (format & DT_EXPANDTABS) ? std::max(1, 8 * face->averageWidth) : 0;
  l.wrap = (format & DT_WORDBREAK) && !singleLine;
  l.limit = rect->right - rect->left;

  int lineHeight = LineHeight(face);
  int count = 0, widest = 0;
  LayoutLines(l, length, singleLine, [&](int start, int end) {
    ++count;
    widest = std::max(widest, Width(l, start, end));
  });
  int height = count * lineHeight;
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }

  int top = rect->top;
  if (singleLine && (format & DT_VCENTER))
    top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (singleLine && (format & DT_BOTTOM))
    top = rect->bottom - lineHeight;

  Raster raster;
  if (MakeRaster(*dc, &raster)) {
    POINT o = raster.offset;
    // The part of the fill beneath that the raster shows, in canvas coordinates.
    FilledBox beneath{RECT{0, 0, 0, 0}, 0};
    if (ground) {
      beneath.box =
          Clamp(RECT{ground->box.left + o.x, ground->box.top + o.y, ground->box.right + o.x, ground->box.bottom + o.y},
                raster.limit);
      beneath.pixel = ground->pixel;
    }
    if (!(format & DT_NOCLIP))
      LimitTo(&raster, RECT{rect->left + o.x, rect->top + o.y, rect->right + o.x, rect->bottom + o.y});
    uint32_t ink = qz::PixelFromColor(dc->state.textColor), paper = qz::PixelFromColor(dc->state.bkColor);
    bool opaque = dc->state.bkMode == OPAQUE;
    TextDecoration decoration{dc->font && dc->font->log.lfUnderline, dc->font && dc->font->log.lfStrikeOut};
    RunOptions plain;
    int dotsWidth = RunWidth(face, "...", 3, plain);
    int lineTop = top + o.y;
    LayoutLines(l, length, singleLine, [&](int start, int end) {
      Line line{start, end - start, Width(l, start, end)};
      int keep = line.length;
      bool dots = (format & DT_END_ELLIPSIS) && line.width > l.limit;
      if (dots) {
        keep = EllipsisCut(l, line, l.limit, dotsWidth);
        line.width = Width(l, start, start + keep) + dotsWidth;
      }
      int x = rect->left;
      if (format & DT_CENTER)
        x = rect->left + (l.limit - line.width) / 2;
      else if (format & DT_RIGHT)
        x = rect->right - line.width;
      x += o.x;
      // Glyphs land on one known colour: the line's own box when opaque, the
      // fill beneath for the first line of transparent text (later lines may
      // meet ink of the lines above), so they are copied ready-blended.
      FilledBox filled{RECT{x, lineTop, x + line.width, lineTop + lineHeight}, paper};
      const FilledBox* over = nullptr;
      if (opaque) {
        FillBox(raster, filled.box, paper, R2_COPYPEN);
        over = &filled;
      } else if (ground && lineTop == top + o.y) {
        over = &beneath;
      }
      DrawRun(raster, face, x, lineTop, l.text + start, keep, l.options, ink, decoration, over);
      if (dots) DrawRun(raster, face, x + line.width - dotsWidth, lineTop, "...", 3, plain, ink, decoration);
      lineTop += lineHeight;
    });
  }
  // With vertical alignment the platform reports where the text ends below the rectangle's top.
  if (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) return top - rect->top + lineHeight;
  return height;
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
  return DrawTextOver(hdc, text, length, rect, format, nullptr);
}

namespace qz::gdi {

int DrawTextOnFill(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format, const RECT& filled, HBRUSH brush) {
  Brush* b = BrushForFill(brush);
  if (!b || b->hollow) return DrawTextOver(hdc, text, length, rect, format, nullptr);
  Ground ground{RECT{std::min(filled.left, filled.right), std::min(filled.top, filled.bottom),
                     std::max(filled.left, filled.right), std::max(filled.top, filled.bottom)},
                b->pixel};
  return DrawTextOver(hdc, text, length, rect, format, &ground);
}

}  // namespace qz::gdi
