// A tool's clip list: the input on which clips are placed one after another
// in time, and the list of its entries that panel controls show.
#pragma once

#include <cstdint>

#include "qzsystem/input.h"
#include "qzsystem/list.h"

// The ID by which a tool's clip-list input is found (Operator::FindInput).
constexpr uint32_t ClipListInputID = 0x70696cc3;
// The input attribute holding its ClipList.
constexpr uint32_t ClipEntriesTag = 0x1000012c;

// One placed clip, read only for controls: its file name, the time it starts
// and the time it ends (its start plus its length in frames).
class ClipEntry : public Object {
 public:
  ClipEntry(const char* name, double start, double end);
  ~ClipEntry() override;
  char* Name;
  double Start;
  double End;
};

// The entries in time order. Readers hold the read lock for a walk.
class ClipList : public List {
 public:
  ~ClipList() override;
  // Whether `entry` is one of the current entries (under the read lock).
  bool Holds(const void* entry);

 private:
  friend class ClipListInput;
  void Rebuild(Input& input);
  void DeleteEntries();
};

// An animated input whose keys are the clips: a Clip set at a time places
// that clip there, a null value at a clip's start removes it, and undo
// brings either back. Its entries follow every change before any other
// observer is told, and are its attribute ClipEntriesTag.
class ClipListInput : public Input, private InputObserver {
 public:
  explicit ClipListInput(const char* name = nullptr);
  ~ClipListInput() override;
  ClipList Entries;

 private:
  void InputChanged(Input* input, Parameter* value) override;
};
