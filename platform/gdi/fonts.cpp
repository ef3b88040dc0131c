#include "fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace qz::gdi {
namespace {

constexpr int kDefaultEm = 11;  // a 13-pixel cell: the platform's 8-point UI font
constexpr int kMaxEm = 512;

enum Variant { kBold = 1, kItalic = 2, kMono = 4 };

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The packaged face's siblings share its stem: Sans -> Sans-Bold,
// Sans-Oblique, Sans-BoldOblique, SansMono, SansMono-Bold, ...
std::string VariantPath(int variant) {
  std::string path = QZ_FONT_FILE;
  size_t dot = path.rfind(".ttf");
  if (dot == std::string::npos) return path;
  std::string stem = path.substr(0, dot);
  if (variant & kMono) stem += "Mono";
  if ((variant & (kBold | kItalic)) == (kBold | kItalic)) return stem + "-BoldOblique.ttf";
  if (variant & kBold) return stem + "-Bold.ttf";
  if (variant & kItalic) return stem + "-Oblique.ttf";
  return stem + ".ttf";
}

// Picks the nearest existing file; returns the variant bits it lacks, which
// are then synthesised.
std::string FileFor(int variant, int* synthesised) {
  const int tries[] = {variant,
                       variant & ~kItalic,
                       variant & ~kBold,
                       variant & kMono,
                       variant & ~kMono,
                       (variant & ~kMono) & ~kItalic,
                       (variant & ~kMono) & ~kBold,
                       0};
  for (int v : tries) {
    std::string path = VariantPath(v);
    if (FileExists(path)) {
      *synthesised = variant & ~v & (kBold | kItalic);
      return path;
    }
  }
  *synthesised = variant & (kBold | kItalic);
  return std::string();
}

struct FaceKey {
  int variant;
  int em;
};

struct DesignMetrics {
  int unitsPerEm = 0;  // 0: no face file
  long ascender = 0;
  long descender = 0;
};

// Faces and their glyphs live for the process, like the platform's font cache.
struct FaceCache {
  std::vector<std::pair<FaceKey, std::unique_ptr<FontFace>>> faces;
  DesignMetrics design[8];
  bool designLoaded[8] = {};
};

FaceCache& Cache() {
  static FaceCache* cache = new FaceCache;
  return *cache;
}

const DesignMetrics& DesignOf(int variant) {
  FaceCache& cache = Cache();
  if (!cache.designLoaded[variant]) {
    cache.designLoaded[variant] = true;
    int synthesised = 0;
    std::string path = FileFor(variant, &synthesised);
    FT_Face ft = nullptr;
    if (!path.empty() && Library() && FT_New_Face(Library(), path.c_str(), 0, &ft) == 0) {
      cache.design[variant] = DesignMetrics{ft->units_per_EM ? ft->units_per_EM : 2048, ft->ascender, ft->descender};
      FT_Done_Face(ft);
    }
  }
  return cache.design[variant];
}

int Scaled(long units, int em, int unitsPerEm) {
  return static_cast<int>(std::lround(static_cast<double>(units) * em / unitsPerEm));
}

int CellHeight(const DesignMetrics& design, int em) {
  if (!design.unitsPerEm) return static_cast<int>(std::lround(em * 0.93)) + static_cast<int>(std::lround(em * 0.24));
  return Scaled(design.ascender, em, design.unitsPerEm) + Scaled(-design.descender, em, design.unitsPerEm);
}

void SetMetrics(FontFace* face, FT_Face ft) {
  int em = face->em;
  if (ft) {
    int upem = ft->units_per_EM ? ft->units_per_EM : 2048;
    face->ascent = Scaled(ft->ascender, em, upem);
    face->descent = Scaled(-ft->descender, em, upem);
    face->maxWidth = Scaled(ft->max_advance_width, em, upem);
    face->underlineOffset = std::max(1, Scaled(-ft->underline_position, em, upem));
    face->lineThickness = std::max(1, Scaled(ft->underline_thickness, em, upem));
  } else {
    face->ascent = static_cast<int>(std::lround(em * 0.93));
    face->descent = static_cast<int>(std::lround(em * 0.24));
    face->maxWidth = em;
  }
  face->strikeOffset = std::max(1, face->ascent / 3);
  face->internalLeading = face->ascent + face->descent - em;
  // The average of the letters, as the platform's dialog units measure it.
  int sum = 0;
  for (int c = 'a'; c <= 'z'; ++c) sum += GlyphOf(face, static_cast<unsigned char>(c)).advance;
  for (int c = 'A'; c <= 'Z'; ++c) sum += GlyphOf(face, static_cast<unsigned char>(c)).advance;
  face->averageWidth = (sum + 26) / 52;
  face->maxWidth = std::max(face->maxWidth, face->averageWidth);
}

FontFace* FaceFor(int variant, int em) {
  FaceCache& cache = Cache();
  for (auto& entry : cache.faces)
    if (entry.first.variant == variant && entry.first.em == em) return entry.second.get();
  auto face = std::make_unique<FontFace>();
  face->em = em;
  face->weight = (variant & kBold) ? FW_BOLD : FW_NORMAL;
  int synthesised = 0;
  std::string path = FileFor(variant, &synthesised);
  FT_Face ft = nullptr;
  if (!path.empty() && Library() && FT_New_Face(Library(), path.c_str(), 0, &ft) == 0) {
    if (FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(em)) != 0) {
      FT_Done_Face(ft);
      ft = nullptr;
    }
  }
  if (ft) {
    face->ftFace = ft;
    face->emboldenInSoftware = synthesised & kBold;
    if (synthesised & kItalic) {
      FT_Matrix shear{0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
      FT_Set_Transform(ft, &shear, nullptr);
    }
  }
  FontFace* result = face.get();
  cache.faces.emplace_back(FaceKey{variant, em}, std::move(face));
  SetMetrics(result, ft);
  return result;
}

bool ContainsNoCase(const char* text, const char* word) {
  std::string s(text, strnlen(text, LF_FACESIZE));
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s.find(word) != std::string::npos;
}

bool WantsMono(const LOGFONTA& log) {
  if ((log.lfPitchAndFamily & 3) == FIXED_PITCH || (log.lfPitchAndFamily & 0xF0) == FF_MODERN) return true;
  for (const char* word : {"mono", "courier", "fixed", "terminal", "console", "consolas"})
    if (ContainsNoCase(log.lfFaceName, word)) return true;
  return false;
}

int VariantOf(const LOGFONTA& log) {
  int variant = 0;
  if (log.lfWeight >= FW_BOLD) variant |= kBold;
  if (log.lfItalic) variant |= kItalic;
  if (WantsMono(log)) variant |= kMono;
  return variant;
}

// ANSI code page 1252 characters 0x80-0x9F; the rest map to Latin-1.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

FT_ULong Unicode(unsigned char c) {
  return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : c;
}

}  // namespace

void RenderGlyph(FontFace* face, unsigned char c, Glyph* glyph) {
  glyph->rendered = true;
  FT_Face ft = static_cast<FT_Face>(face->ftFace);
  if (!ft) {
    glyph->advance = static_cast<int16_t>(std::max(1, face->em / 2));
    return;
  }
  if (FT_Load_Char(ft, Unicode(c), FT_LOAD_DEFAULT) != 0) return;
  FT_GlyphSlot slot = ft->glyph;
  if (face->emboldenInSoftware) FT_GlyphSlot_Embolden(slot);
  glyph->advance = static_cast<int16_t>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return;
  glyph->left = static_cast<int16_t>(slot->bitmap_left);
  glyph->top = static_cast<int16_t>(slot->bitmap_top);
  glyph->width = static_cast<uint16_t>(bm.width);
  glyph->height = static_cast<uint16_t>(bm.rows);
  glyph->offset = static_cast<uint32_t>(face->coverage.size());
  face->coverage.resize(face->coverage.size() + static_cast<size_t>(bm.width) * bm.rows);
  uint8_t* out = face->coverage.data() + glyph->offset;
  for (unsigned row = 0; row < bm.rows; ++row) {
    const uint8_t* in = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
    std::memcpy(out + static_cast<size_t>(row) * bm.width, in, bm.width);
  }
}

static int EmForHeight(LONG lfHeight, int variant) {
  if (lfHeight == 0) return kDefaultEm;
  if (lfHeight < 0) return lfHeight < -kMaxEm ? kMaxEm : static_cast<int>(-lfHeight);
  // A positive height is the cell height: the largest face whose cell fits.
  const DesignMetrics& design = DesignOf(variant);
  int cell = std::min<int>(lfHeight, kMaxEm * 2);
  for (int em = std::min(cell, kMaxEm); em > 1; --em)
    if (CellHeight(design, em) <= cell) return em;
  return 1;
}

FontFace* FaceOf(Font* font) {
  if (!font->face) {
    int variant = VariantOf(font->log);
    font->face = FaceFor(variant, EmForHeight(font->log.lfHeight, variant));
  }
  return font->face;
}

HFONT MakeStockFont(int index) {
  LOGFONTA log{};
  log.lfHeight = -kDefaultEm;
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = ANSI_CHARSET;
  switch (index) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case 16:  // SYSTEM_FIXED_FONT
      log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      std::strcpy(log.lfFaceName, "DejaVu Sans Mono");
      break;
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case 14:  // DEVICE_DEFAULT_FONT
    case DEFAULT_GUI_FONT:
      log.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      std::strcpy(log.lfFaceName, "DejaVu Sans");
      break;
    default:
      return nullptr;
  }
  Font* font = new Font;
  font->log = log;
  font->stock = true;
  HGDIOBJ handle = AddObject(OBJ_FONT, font);
  if (!handle) delete font;
  return static_cast<HFONT>(handle);
}

}  // namespace qz::gdi

using namespace qz::gdi;

HFONT CreateFontIndirectA(const LOGFONTA* log) {
  if (!log) return nullptr;
  Font* font = new Font;
  font->log = *log;
  font->log.lfFaceName[LF_FACESIZE - 1] = '\0';
  HGDIOBJ handle = AddObject(OBJ_FONT, font);
  if (!handle) delete font;
  return static_cast<HFONT>(handle);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA log{};
  log.lfHeight = height;
  log.lfWidth = width;
  log.lfEscapement = escapement;
  log.lfOrientation = orientation;
  log.lfWeight = weight;
  log.lfItalic = static_cast<BYTE>(italic);
  log.lfUnderline = static_cast<BYTE>(underline);
  log.lfStrikeOut = static_cast<BYTE>(strikeOut);
  log.lfCharSet = static_cast<BYTE>(charSet);
  log.lfOutPrecision = static_cast<BYTE>(outPrecision);
  log.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  log.lfQuality = static_cast<BYTE>(quality);
  log.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(log.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&log);
}
