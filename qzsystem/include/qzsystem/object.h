// The root of the host's object model: class ID, attribute list and a
// reference count.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "qzsystem/taglist.h"

class List;
class QZMenu;

// A class ID is four characters whose bytes in memory spell the ID
// (little-endian), so "BtnC" is 0x436e7442.
constexpr uint32_t MakeID(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<unsigned char>(text[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

class Object {
 public:
  Object() = default;
  explicit Object(uint32_t id) : ID(id) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  uint32_t ID = 0;
  TagList Attrs;

  virtual ~Object();
  // Writes a one-line description to standard error (a debugging aid).
  virtual void Dump();
  // Merges the list into Attrs (TagList::Merge): each tag in `tags` replaces
  // all of its occurrences. String values stay pointers to the caller's text.
  virtual uint32_t SetAttrsTagList(TagList& tags);
  // Copies the attribute into `out` (a double for double tags, else an
  // intptr_t) and returns 1; returns 0 and leaves `out` alone when absent.
  virtual uint32_t CopyAttr(uint32_t tag, void* out);
  virtual uint32_t Save(void* store);
  virtual void EndUndo();
  virtual void StartUndo();
  virtual void RestoreState();
  virtual void SaveState();
  virtual void CleanupState();
  virtual void Use();
  // Drops one reference and deletes the object when none is left. Only for
  // objects made with new.
  virtual void Recycle();
  virtual void OnAddToList(List* list);
  virtual void OnRemoveFromList(List* list);
  virtual void AddToMenu(QZMenu* menu, TagList& tags);
  virtual uint32_t HandleMenu(QZMenu* menu, uint32_t item);

  intptr_t GetAttr(uint32_t tag) const { return Attrs.GetLong(tag, 0); }
  double GetAttrDouble(uint32_t tag, double def = 0.0) const { return Attrs.GetDouble(tag, def); }
  // Stores a copy of `text` that lives as long as this object (null stores 0).
  const char* SetAttrString(uint32_t tag, const char* text);
  int32_t References() const { return RefCount.load(std::memory_order_relaxed); }

 private:
  std::atomic<int32_t> RefCount{1};
  std::vector<std::unique_ptr<char[]>> OwnedStrings;
};
