#include <vector>

#include "objects.h"

namespace qz::gdi {
namespace {

struct Slot {
  uint64_t generation = 1;
  DWORD type = 0;
  GdiObject* object = nullptr;
};

// Slot index in the low 24 bits (plus one), generation above: a handle is
// never a small integer, so (HBRUSH)(COLOR_x + 1) never collides with one.
constexpr unsigned kIndexBits = 24;
constexpr uint64_t kIndexMask = (uint64_t{1} << kIndexBits) - 1;

struct Table {
  std::vector<Slot> slots;
  std::vector<uint32_t> free;
};

// The table lives for the process and is never destroyed: stock objects are
// never freed and handles are looked up to the very end. It is constant-
// initialised, so it is ready before any start-up code asks for it, and
// every look-up reaches it without a first-use check.
union Forever {
  Table table;
  constexpr Forever() : table() {}
  ~Forever() {}
};
constinit Forever forever;

Table& table() {
  return forever.table;
}

Slot* SlotOf(HGDIOBJ handle) {
  uint64_t value = reinterpret_cast<uintptr_t>(handle);
  uint64_t index = value & kIndexMask;
  if (index == 0) return nullptr;
  Table& t = table();
  if (index - 1 >= t.slots.size()) return nullptr;
  Slot& slot = t.slots[index - 1];
  if (!slot.object || slot.generation != (value >> kIndexBits)) return nullptr;
  return &slot;
}

}  // namespace

HGDIOBJ AddObject(DWORD type, GdiObject* object) {
  Table& t = table();
  uint32_t index;
  if (!t.free.empty()) {
    index = t.free.back();
    t.free.pop_back();
  } else {
    if (t.slots.size() >= kIndexMask) return nullptr;
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& slot = t.slots[index];
  slot.type = type;
  slot.object = object;
  uint64_t value = (slot.generation << kIndexBits) | (index + 1);
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(value));
}

GdiObject* Lookup(HGDIOBJ handle, DWORD type) {
  Slot* slot = SlotOf(handle);
  if (!slot || (type && slot->type != type)) return nullptr;
  return slot->object;
}

GdiObject* LookupAny(HGDIOBJ handle, DWORD* type) {
  Slot* slot = SlotOf(handle);
  *type = slot ? slot->type : 0;
  return slot ? slot->object : nullptr;
}

DWORD TypeOf(HGDIOBJ handle) {
  Slot* slot = SlotOf(handle);
  return slot ? slot->type : 0;
}

GdiObject* Detach(HGDIOBJ handle) {
  Slot* slot = SlotOf(handle);
  if (!slot) return nullptr;
  GdiObject* object = slot->object;
  slot->object = nullptr;
  slot->type = 0;
  slot->generation = (slot->generation + 1) & ((uint64_t{1} << (64 - kIndexBits)) - 1);
  if (slot->generation == 0) slot->generation = 1;
  table().free.push_back(static_cast<uint32_t>(slot - table().slots.data()));
  return object;
}

}  // namespace qz::gdi
