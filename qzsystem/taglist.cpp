#include "qzsystem/taglist.h"

#include <cmath>
#include <limits>

intptr_t TagLongFromDouble(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = static_cast<double>(std::numeric_limits<intptr_t>::max());
  constexpr double kMin = static_cast<double>(std::numeric_limits<intptr_t>::min());
  if (value >= kMax) return std::numeric_limits<intptr_t>::max();
  if (value <= kMin) return std::numeric_limits<intptr_t>::min();
  return static_cast<intptr_t>(value);
}

void TagList::Add(uint32_t tag, intptr_t value) {
  Items.emplace_back(tag, value);
}

void TagList::AddDouble(uint32_t tag, double value) {
  Items.emplace_back(tag, value);
}

const TagItem* TagList::FindItem(uint32_t tag) const {
  for (const TagItem& item : Items) {
    if (item.Tag == tag) return &item;
  }
  return nullptr;
}

const intptr_t* TagList::Find(uint32_t tag) const {
  const TagItem* item = FindItem(tag);
  return item ? &item->Value : nullptr;
}

intptr_t* TagList::Find(uint32_t tag) {
  return const_cast<intptr_t*>(static_cast<const TagList*>(this)->Find(tag));
}

const TagItem* TagList::ItemOfValue(const intptr_t* value) const {
  // Compared as addresses so that a foreign pointer is rejected without
  // relying on pointer ordering across unrelated objects.
  const auto address = reinterpret_cast<uintptr_t>(value);
  const auto first = reinterpret_cast<uintptr_t>(Items.data());
  const auto last = first + Items.size() * sizeof(TagItem);
  if (address < first || address >= last) return nullptr;
  const uintptr_t offset = address - first;
  if (offset % sizeof(TagItem) != offsetof(TagItem, Value)) return nullptr;
  return &Items[offset / sizeof(TagItem)];
}

const intptr_t* TagList::FindNext(uint32_t tag, const intptr_t* previous) const {
  const TagItem* item = ItemOfValue(previous);
  if (!item) return nullptr;
  for (++item; item != Items.data() + Items.size(); ++item) {
    if (item->Tag == tag) return &item->Value;
  }
  return nullptr;
}

intptr_t* TagList::FindNext(uint32_t tag, const intptr_t* previous) {
  return const_cast<intptr_t*>(static_cast<const TagList*>(this)->FindNext(tag, previous));
}

uint32_t TagList::Get(uint32_t tag, intptr_t* out) const {
  const TagItem* item = FindItem(tag);
  if (!item) return 0;
  if (out) *out = item->Value;
  return 1;
}

intptr_t TagList::GetLong(uint32_t tag, intptr_t def) const {
  const TagItem* item = FindItem(tag);
  return item ? item->Value : def;
}

double TagList::GetDouble(uint32_t tag, double def) const {
  const TagItem* item = FindItem(tag);
  return item ? item->Double : def;
}

uint32_t TagList::Store(const TagItem& item, uint32_t add) {
  if (TagItem* existing = const_cast<TagItem*>(FindItem(item.Tag))) {
    *existing = item;
    return 1;
  }
  if (!add) return 0;
  Items.push_back(item);
  return 1;
}

uint32_t TagList::Set(uint32_t tag, intptr_t value, uint32_t add) {
  return Store(TagItem(tag, value), add);
}

uint32_t TagList::SetDouble(uint32_t tag, double value, uint32_t add) {
  return Store(TagItem(tag, value), add);
}

uint32_t TagList::Remove(uint32_t tag) {
  const size_t before = Items.size();
  std::erase_if(Items, [tag](const TagItem& item) { return item.Tag == tag; });
  return static_cast<uint32_t>(before - Items.size());
}

void TagList::Merge(const TagList& other) {
  if (&other == this) return;
  for (const TagItem& item : other.Items) Remove(item.Tag);
  Items.insert(Items.end(), other.Items.begin(), other.Items.end());
}
