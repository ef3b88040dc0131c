// Objects that load pictures, colours and layout lists from the host's
// resource store: a folder holding <id>.png, <id>.colour ("R G B", decimal
// 0-255) and <id>.tags (one "0xTAG VALUE" per line, VALUE a decimal integer
// or a double written with a '.', '#' starting a comment).
//
// Each object loads on its first Load (later calls return 1 at once); a
// failed Load returns 0, leaves the object empty and may be tried again.
#pragma once

#include <cstdint>
#include <string>

#include "qzsystem/dib.h"
#include "qzsystem/taglist.h"
#include "windows.h"

// The store's folder: the one set here, else the environment variable
// QZ_RESOURCES, else the build's resource folder. Null or "" clears the
// setting.
void SetResourceDir(const char* path);
std::string GetResourceDir();
// The folder this library was loaded from; empty when it cannot be told.
// Installed files (the resource store, the controls module) are found from it.
std::string LibraryFolder();
std::string ResourcePath(uint32_t id, const char* extension);

class ResDIB {
 public:
  ResDIB(uint32_t id, uint32_t zero);
  ~ResDIB() { Unload(); }
  ResDIB(const ResDIB&) = delete;
  ResDIB& operator=(const ResDIB&) = delete;

  uint32_t Load();
  void Unload();

  uint32_t ID;
  DIB* Dib = nullptr;
};

// An opaque bitmap: the picture's colours with the alpha byte cleared, since
// platform bitmaps carry 0x00RRGGBB pixels.
class ResBitmap {
 public:
  ResBitmap(uint32_t id, uint32_t zero);
  ~ResBitmap() { Unload(); }
  ResBitmap(const ResBitmap&) = delete;
  ResBitmap& operator=(const ResBitmap&) = delete;

  uint32_t Load();
  void Unload();

  uint32_t ID;
  HBITMAP Bitmap = nullptr;
  int Width = 0;
  int Height = 0;

 private:
  DIB* Image = nullptr;
};

class ResColour {
 public:
  explicit ResColour(uint32_t id) : ID(id) {}
  ~ResColour() { Unload(); }
  ResColour(const ResColour&) = delete;
  ResColour& operator=(const ResColour&) = delete;

  uint32_t Load();
  void Unload();

  uint32_t ID;
  COLORREF Colour = 0;      // text colour: the file's first line
  COLORREF Background = 0;  // the second line, or the colour when there is none
  HBRUSH Brush = nullptr;   // a solid brush of the background
};

class ResData {
 public:
  explicit ResData(uint32_t id) : ID(id) {}
  ~ResData() { Unload(); }
  ResData(const ResData&) = delete;
  ResData& operator=(const ResData&) = delete;

  uint32_t Load();
  void Unload();

  uint32_t ID;
  TagList* Tags = nullptr;
};

// Parsers behind ResColour and ResData, for text already read.
bool ParseColour(const std::string& text, COLORREF* colour, COLORREF* background = nullptr);
bool ParseTagList(const std::string& text, TagList* tags);
