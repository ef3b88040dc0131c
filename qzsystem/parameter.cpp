#include "qzsystem/parameter.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

char* CopyString(const char* text) {
  if (!text) text = "";
  const size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

template <typename T>
T* WithAttrs(T* copy, const Parameter& from) {
  copy->Attrs = from.Attrs;
  return copy;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

const char Number::KindMarker = 0;
const char Point::KindMarker = 0;
const char Text::KindMarker = 0;
const char Clip::KindMarker = 0;
const char LookUpTable::KindMarker = 0;

bool SameValue(const Parameter* a, const Parameter* b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return a->Equals(*b);
}

bool Number::Equals(const Parameter& other) const {
  const Number* number = As<Number>(other);
  return number && number->Value == Value;
}

Parameter* Number::Copy() const {
  return WithAttrs(new Number(Value), *this);
}

bool Point::Equals(const Parameter& other) const {
  const Point* point = As<Point>(other);
  return point && point->X == X && point->Y == Y;
}

Parameter* Point::Copy() const {
  return WithAttrs(new Point(X, Y), *this);
}

Text::Text(const char* text) : Parameter(ClassID, &KindMarker), String(CopyString(text)) {}

Text::~Text() {
  delete[] String;
}

bool Text::Equals(const Parameter& other) const {
  const Text* text = As<Text>(other);
  return text && std::strcmp(text->String, String) == 0;
}

Parameter* Text::Copy() const {
  return WithAttrs(new Text(String), *this);
}

Clip::Clip(const char* name, uint32_t save)
    : Parameter(ClassID, &KindMarker),
      Name(CopyString(name)),
      Length(save ? 1 : CountSequenceFrames(Name)),
      SaveMode(save) {}

Clip::~Clip() {
  delete[] Name;
}

bool Clip::Equals(const Parameter& other) const {
  const Clip* clip = As<Clip>(other);
  return clip && std::strcmp(clip->Name, Name) == 0 && clip->Length == Length && clip->SaveMode == SaveMode;
}

Parameter* Clip::Copy() const {
  Clip* copy = new Clip(nullptr, SaveMode);
  delete[] copy->Name;
  copy->Name = CopyString(Name);
  copy->Length = Length;
  return WithAttrs(copy, *this);
}

LookUpTable::LookUpTable(int size)
    : Parameter(ClassID, &KindMarker), Size(size > 0 ? size : 0), Table(new float[static_cast<size_t>(Size)]()) {}

LookUpTable::~LookUpTable() {
  delete[] Table;
}

bool LookUpTable::Equals(const Parameter& other) const {
  const LookUpTable* table = As<LookUpTable>(other);
  // Bitwise, so that a table holding NaN still equals its own copy.
  return table && table->Size == Size && std::memcmp(table->Table, Table, sizeof(float) * Size) == 0;
}

Parameter* LookUpTable::Copy() const {
  LookUpTable* copy = new LookUpTable(Size);
  std::memcpy(copy->Table, Table, sizeof(float) * Size);
  return WithAttrs(copy, *this);
}

uint32_t CountSequenceFrames(const char* path) {
  if (!path || !FileExists(path)) return 1;
  const std::string name(path);
  const size_t slash = name.find_last_of('/');
  const size_t stemStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot < stemStart) dot = name.size();
  size_t digits = dot;
  while (digits > stemStart && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  const size_t width = dot - digits;
  if (width == 0 || width > 9) return 1;

  const std::string prefix = name.substr(0, digits);
  const std::string suffix = name.substr(dot);
  unsigned long frame = std::stoul(name.substr(digits, width));
  uint32_t count = 1;
  char number[32];
  // Bounded so that a directory full of frames cannot stall a constructor.
  while (count < 1000000) {
    std::snprintf(number, sizeof number, "%0*lu", static_cast<int>(width), ++frame);
    if (!FileExists(prefix + number + suffix)) break;
    ++count;
  }
  return count;
}
