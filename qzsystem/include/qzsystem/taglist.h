// Attribute lists: ordered tag/value items, where a tag may repeat.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Tags whose top nibble is 2 (0x2xxxxxxx) carry doubles.
constexpr bool IsDoubleTag(uint32_t tag) {
  return (tag >> 28) == 2;
}

// Saturating conversion so that a double stored under an integer reading
// never overflows.
intptr_t TagLongFromDouble(double value);

// One item. The pointer-sized value and the double are kept in step: an item
// stored as an integer reads back as the same double and vice versa
// (truncated towards zero), so either reading works on any tag.
struct TagItem {
  uint32_t Tag = 0;
  intptr_t Value = 0;
  double Double = 0.0;

  TagItem() = default;
  template <typename T>
  requires std::integral<T> TagItem(uint32_t tag, T value)
      : Tag(tag), Value(static_cast<intptr_t>(value)), Double(static_cast<double>(value)) {}
  template <std::floating_point T>
  TagItem(uint32_t tag, T value) : Tag(tag), Value(TagLongFromDouble(value)), Double(value) {}
  TagItem(uint32_t tag, const void* pointer) : Tag(tag), Value(reinterpret_cast<intptr_t>(pointer)) {}
};

class TagList {
 public:
  TagList() = default;
  TagList(std::initializer_list<TagItem> items) : Items(items) {}

  // Appends; repeated tags are kept in the order they were added.
  void Add(uint32_t tag, intptr_t value);
  void AddDouble(uint32_t tag, double value);

  // Pointer to the value of the first occurrence, or null. Valid until the
  // list is next changed.
  intptr_t* Find(uint32_t tag);
  const intptr_t* Find(uint32_t tag) const;
  // The next occurrence of `tag` after the one whose value `previous` points
  // to; null when there is none or `previous` is not a value of this list.
  intptr_t* FindNext(uint32_t tag, const intptr_t* previous);
  const intptr_t* FindNext(uint32_t tag, const intptr_t* previous) const;

  uint32_t Get(uint32_t tag, intptr_t* out) const;
  intptr_t GetLong(uint32_t tag, intptr_t def) const;
  double GetDouble(uint32_t tag, double def) const;

  // Replaces the first occurrence; appends when absent and `add` is non-zero.
  // Returns non-zero when the list holds the value afterwards.
  uint32_t Set(uint32_t tag, intptr_t value, uint32_t add = 1);
  uint32_t SetDouble(uint32_t tag, double value, uint32_t add = 1);

  // Removes every occurrence; returns how many there were.
  uint32_t Remove(uint32_t tag);
  // Every tag present in `other` loses its occurrences here, then all of
  // `other`'s items are appended in order, so repeated tags stay repeated.
  void Merge(const TagList& other);

  uint32_t Count() const { return static_cast<uint32_t>(Items.size()); }
  void Clear() { Items.clear(); }

  const TagItem* FindItem(uint32_t tag) const;
  std::vector<TagItem>::const_iterator begin() const { return Items.begin(); }
  std::vector<TagItem>::const_iterator end() const { return Items.end(); }

 private:
  const TagItem* ItemOfValue(const intptr_t* value) const;
  uint32_t Store(const TagItem& item, uint32_t add);

  std::vector<TagItem> Items;
};
