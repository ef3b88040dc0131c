// Opaque text must come out exactly as filling its box and then drawing the
// text transparently would, whatever font and colours came before it.
#include <cstring>
#include <string>
#include <vector>

#include "gdi_test_util.h"
#include "platform/gdi/paint_canvas.h"
#include "platform/gdi/text.h"

using namespace gditest;

namespace {

constexpr uint32_t kSurround = 0x204060;

struct Style {
  const char* name;
  int height;
  int weight;
  bool italic;
  COLORREF text;
  COLORREF back;
};

HFONT MakeFont(const Style& s) {
  return CreateFontA(s.height, 0, 0, 0, s.weight, s.italic, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
}

void FillWith(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The same text drawn both ways on canvases that start alike; returns
// whether every pixel agrees.
bool OpaqueMatchesFilledTransparent(const Style& s, const char* text, const RECT* clip = nullptr) {
  Canvas opaque(160, 48, kSurround);
  Canvas reference(160, 48, kSurround);
  HFONT font = MakeFont(s);
  for (Canvas* c : {&opaque, &reference}) {
    SelectObject(c->dc(), font);
    SetTextColor(c->dc(), s.text);
    SetBkColor(c->dc(), s.back);
    if (clip) IntersectClipRect(c->dc(), clip->left, clip->top, clip->right, clip->bottom);
  }
  int length = static_cast<int>(std::strlen(text));
  SetBkMode(opaque.dc(), OPAQUE);
  TextOutA(opaque.dc(), 6, 8, text, length);

  SIZE size{};
  GetTextExtentPoint32A(reference.dc(), text, length, &size);
  FillWith(reference.dc(), RECT{6, 8, 6 + size.cx, 8 + size.cy}, s.back);
  SetBkMode(reference.dc(), TRANSPARENT);
  TextOutA(reference.dc(), 6, 8, text, length);

  bool same = opaque.Pixels() == reference.Pixels();
  for (Canvas* c : {&opaque, &reference}) SelectObject(c->dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
  return same;
}

const Style kStyles[] = {
    {"plain", -11, FW_NORMAL, false, RGB(0, 0, 0), RGB(255, 255, 255)},
    {"other ink", -11, FW_NORMAL, false, RGB(0, 0, 255), RGB(255, 255, 255)},
    {"coloured", -11, FW_NORMAL, false, RGB(200, 30, 60), RGB(20, 40, 90)},
    {"bold", -13, FW_BOLD, false, RGB(255, 255, 0), RGB(0, 0, 128)},
    {"italic", -16, FW_NORMAL, true, RGB(10, 200, 10), RGB(240, 240, 240)},
    {"large", -28, FW_NORMAL, false, RGB(90, 90, 90), RGB(250, 220, 180)},
    {"swapped", -11, FW_NORMAL, false, RGB(255, 255, 255), RGB(0, 0, 0)},
};

TEST(OpaqueText, MatchesFillThenTransparentTextForEveryFontAndColourPair) {
  for (const Style& s : kStyles) EXPECT_TRUE(OpaqueMatchesFilledTransparent(s, "0.61236 Wavy fjord")) << s.name;
}

// More pairs than are kept at once, then the first again: a stale set of
// ready-blended glyphs would show the old colours or the old font's shapes.
TEST(OpaqueText, StaysExactWhenEarlierFontsAndColoursComeBack) {
  for (int round = 0; round < 3; ++round)
    for (const Style& s : kStyles) EXPECT_TRUE(OpaqueMatchesFilledTransparent(s, "Hg 8.25")) << s.name;
}

TEST(OpaqueText, GlyphsNewToAFaceAfterItsFirstUseAreBlendedRight) {
  const Style& s = kStyles[2];
  EXPECT_TRUE(OpaqueMatchesFilledTransparent(s, "abc"));
  EXPECT_TRUE(OpaqueMatchesFilledTransparent(s, "abc~{}|QZ"));
  EXPECT_TRUE(OpaqueMatchesFilledTransparent(s, "\xC0\xE9\xF1 abc"));
}

// Italic glyphs lean over their neighbours and past the box: those are mixed
// over what is really there, not over the background colour.
TEST(OpaqueText, OverlappingAndOverhangingGlyphsStayExact) {
  const Style& italic = kStyles[4];
  EXPECT_TRUE(OpaqueMatchesFilledTransparent(italic, "ffffjjjj////"));
  EXPECT_TRUE(OpaqueMatchesFilledTransparent(kStyles[5], "fjf/\\VAW"));
}

TEST(OpaqueText, ClippedRunsStayExact) {
  const RECT cuts[] = {{10, 0, 40, 48}, {0, 12, 160, 18}, {27, 9, 28, 30}, {200, 0, 300, 48}};
  for (const RECT& cut : cuts) EXPECT_TRUE(OpaqueMatchesFilledTransparent(kStyles[3], "0.66854", &cut));
}

TEST(OpaqueText, OpaqueTextWithoutInkFillsOnlyItsBox) {
  Canvas c(60, 30, kSurround);
  SetBkColor(c.dc(), RGB(1, 2, 3));
  SetBkMode(c.dc(), OPAQUE);
  ASSERT_TRUE(TextOutA(c.dc(), 5, 5, "   ", 3));
  SIZE size{};
  GetTextExtentPoint32A(c.dc(), "   ", 3, &size);
  EXPECT_EQ(c.At(5, 5), 0x010203u);
  EXPECT_EQ(c.At(5 + size.cx - 1, 5 + size.cy - 1), 0x010203u);
  EXPECT_EQ(c.At(5 + size.cx, 5), kSurround);
  EXPECT_EQ(c.At(4, 5), kSurround);
}

// Whether two canvases drawn with `font` and `brush` came out alike; the font
// is deselected and both objects deleted.
bool SameThenRelease(Canvas& a, Canvas& b, HFONT font, HBRUSH brush) {
  bool same = a.Pixels() == b.Pixels();
  for (Canvas* c : {&a, &b}) SelectObject(c->dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(brush);
  DeleteObject(font);
  return same;
}

// A control's paint through one canvas: fill, clip, texts (the second run in
// other colours), as the same calls on the DC draw them.
struct CanvasCase {
  const char* name;
  COLORREF fill;
  COLORREF back;
  int mode;
  RECT clip;
};

bool CanvasMatchesDcCalls(const CanvasCase& k) {
  Canvas direct(120, 40, kSurround);
  Canvas through(120, 40, kSurround);
  HFONT font = MakeFont(kStyles[0]);
  HBRUSH brush = CreateSolidBrush(k.fill);
  const RECT field{2, 2, 110, 30};
  for (Canvas* c : {&direct, &through}) {
    SelectObject(c->dc(), font);
    SetTextColor(c->dc(), RGB(0, 0, 0));
    SetBkColor(c->dc(), k.back);
    SetBkMode(c->dc(), k.mode);
  }
  FillRect(direct.dc(), &field, brush);
  IntersectClipRect(direct.dc(), k.clip.left, k.clip.top, k.clip.right, k.clip.bottom);
  TextOutA(direct.dc(), 4, 6, "0.5734", 6);
  SetBkColor(direct.dc(), RGB(9, 9, 200));
  TextOutA(direct.dc(), 40, 6, "fjord", 5);
  {
    qz::gdi::PaintCanvas canvas(through.dc());
    canvas.Fill(field, brush);
    canvas.Clip(k.clip);
    canvas.Text(4, 6, "0.5734", 6);
    SetBkColor(through.dc(), RGB(9, 9, 200));
    canvas.Text(40, 6, "fjord", 5);
  }
  return SameThenRelease(direct, through, font, brush);
}

TEST(PaintCanvas, DrawsWhatTheSameCallsOnTheDcDraw) {
  const CanvasCase cases[] = {
      {"text on its own fill", RGB(250, 250, 240), RGB(250, 250, 240), OPAQUE, {4, 2, 108, 30}},
      {"other text background", RGB(250, 250, 240), RGB(200, 220, 255), OPAQUE, {4, 2, 108, 30}},
      {"transparent", RGB(250, 250, 240), RGB(250, 250, 240), TRANSPARENT, {4, 2, 108, 30}},
      {"clip cuts the text", RGB(250, 250, 240), RGB(250, 250, 240), OPAQUE, {12, 9, 50, 15}},
      {"clip outside", RGB(250, 250, 240), RGB(250, 250, 240), OPAQUE, {200, 0, 300, 40}},
  };
  for (const CanvasCase& k : cases) EXPECT_TRUE(CanvasMatchesDcCalls(k)) << k.name;
}

// DrawText over a box just filled: opaque lines, and transparent text told
// of the fill beneath, come out as filling and then blending each glyph would.
struct FilledTextCase {
  const char* name;
  int style;  // into kStyles
  const char* text;
  UINT format;
  RECT box;
};

bool FilledDrawTextMatches(const FilledTextCase& k, int mode) {
  const Style& s = kStyles[k.style];
  Canvas fast(160, 64, kSurround);
  Canvas reference(160, 64, kSurround);
  HFONT font = MakeFont(s);
  HBRUSH brush = CreateSolidBrush(s.back);
  RECT fastBox = k.box, referenceBox = k.box;
  for (Canvas* c : {&fast, &reference}) {
    SelectObject(c->dc(), font);
    SetTextColor(c->dc(), s.text);
    SetBkColor(c->dc(), s.back);
    FillRect(c->dc(), &k.box, brush);
  }
  SetBkMode(fast.dc(), mode);
  if (mode == OPAQUE)
    DrawTextA(fast.dc(), k.text, -1, &fastBox, k.format);
  else
    qz::gdi::DrawTextOnFill(fast.dc(), k.text, -1, &fastBox, k.format, k.box, brush);
  // Transparent text over the fill: each glyph blended over what is there.
  SetBkMode(reference.dc(), TRANSPARENT);
  DrawTextA(reference.dc(), k.text, -1, &referenceBox, k.format);
  return SameThenRelease(fast, reference, font, brush);
}

TEST(FilledDrawText, MatchesBlendingOverTheFill) {
  const FilledTextCase cases[] = {
      {"single line", 0, "Blend 0.25", DT_LEFT | DT_VCENTER | DT_SINGLELINE, {4, 4, 150, 30}},
      {"centred bold", 3, "Apply &Mode", DT_CENTER | DT_SINGLELINE, {0, 0, 160, 24}},
      {"italic overhangs", 4, "ffjj//VAW", DT_RIGHT | DT_SINGLELINE, {10, 6, 90, 28}},
      {"wrapped lines", 5, "Clip gj black fjord", DT_LEFT | DT_WORDBREAK, {2, 2, 100, 62}},
      {"ellipsis", 2, "Texture grain plate", DT_LEFT | DT_END_ELLIPSIS | DT_SINGLELINE, {2, 2, 70, 20}},
      {"cut by the box", 5, "Hgjq", DT_LEFT | DT_SINGLELINE, {8, 8, 60, 20}},
  };
  for (const FilledTextCase& k : cases) {
    EXPECT_TRUE(FilledDrawTextMatches(k, TRANSPARENT)) << k.name;
    // Opaque text fills its own lines in the same colour, so it matches too.
    EXPECT_TRUE(FilledDrawTextMatches(k, OPAQUE)) << k.name;
  }
}

}  // namespace
