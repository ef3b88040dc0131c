// Values carried by inputs. Each is created holding one reference.
#pragma once

#include <cstdint>

#include "qzsystem/object.h"

class Parameter : public Object {
 public:
  // `kind` identifies the C++ class of the value (the address of a marker
  // each kind owns), so that comparisons need no run-time type look-up.
  Parameter(uint32_t id, const void* kind) : Object(id), Kind(kind) {}

  const void* const Kind;

  // Same kind and same value; attributes are not compared.
  virtual bool Equals(const Parameter& other) const = 0;
  // A new object (one reference) of the same kind, value and attributes.
  virtual Parameter* Copy() const = 0;

  // `other` as a T when it is one, else null.
  template <typename T>
  static const T* As(const Parameter& other) {
    return other.Kind == &T::KindMarker ? static_cast<const T*>(&other) : nullptr;
  }
};

// Equality that accepts null: two nulls are equal, null and a value are not.
bool SameValue(const Parameter* a, const Parameter* b);

class Number : public Parameter {
 public:
  static constexpr uint32_t ClassID = MakeID("Numb");
  static const char KindMarker;
  explicit Number(double value = 0.0) : Parameter(ClassID, &KindMarker), Value(value) {}
  double Value;
  bool Equals(const Parameter& other) const override;
  Parameter* Copy() const override;
};

class Point : public Parameter {
 public:
  static constexpr uint32_t ClassID = MakeID("Pont");
  static const char KindMarker;
  Point(float x, float y) : Parameter(ClassID, &KindMarker), X(x), Y(y) {}
  float X;
  float Y;
  bool Equals(const Parameter& other) const override;
  Parameter* Copy() const override;
};

class Text : public Parameter {
 public:
  static constexpr uint32_t ClassID = MakeID("Text");
  static const char KindMarker;
  // Keeps its own copy; null is taken as "".
  explicit Text(const char* text);
  ~Text() override;
  char* String;
  bool Equals(const Parameter& other) const override;
  Parameter* Copy() const override;
};

// A file or a numbered file sequence. `save` is non-zero for a clip that
// will be written. Length is the number of frames: for a clip to be read,
// the run of existing files numbered consecutively from the named one (a
// name without a frame number counts as one frame); a clip to be written
// has length 1.
class Clip : public Parameter {
 public:
  static constexpr uint32_t ClassID = MakeID("Clip");
  static const char KindMarker;
  Clip(const char* name, uint32_t save);
  ~Clip() override;
  char* Name;
  uint32_t Length;
  uint32_t SaveMode;
  bool Equals(const Parameter& other) const override;
  Parameter* Copy() const override;
};

class LookUpTable : public Parameter {
 public:
  static constexpr uint32_t ClassID = MakeID("LUT ");
  static const char KindMarker;
  // `size` entries, all 0; a negative size gives an empty table.
  explicit LookUpTable(int size);
  ~LookUpTable() override;
  int Size;
  float* Table;
  bool Equals(const Parameter& other) const override;
  Parameter* Copy() const override;
};

// Counts the frames of the sequence that `path` belongs to (see Clip).
uint32_t CountSequenceFrames(const char* path);
