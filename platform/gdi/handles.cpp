#include <vector>

#include "objects.h"

namespace qz::gdi {

HandleTable* g_handles = nullptr;

HandleTable& CreateHandleTable() {
  if (!g_handles) g_handles = new HandleTable;
  return *g_handles;
}

HGDIOBJ AddObject(DWORD type, GdiObject* object) {
  HandleTable& t = Handles();
  uint32_t index;
  if (!t.free.empty()) {
    index = t.free.back();
    t.free.pop_back();
  } else {
    if (t.slots.size() >= kHandleIndexMask) return nullptr;
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  HandleSlot& slot = t.slots[index];
  slot.type = type;
  slot.object = object;
  uint64_t value = (slot.generation << kHandleIndexBits) | (index + 1);
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(value));
}

GdiObject* Detach(HGDIOBJ handle) {
  HandleSlot* slot = SlotOf(handle);
  return slot ? DetachSlot(slot) : nullptr;
}

GdiObject* DetachSlot(HandleSlot* slot) {
  GdiObject* object = slot->object;
  slot->object = nullptr;
  slot->type = 0;
  slot->generation = (slot->generation + 1) & ((uint64_t{1} << (64 - kHandleIndexBits)) - 1);
  if (slot->generation == 0) slot->generation = 1;
  HandleTable& t = Handles();
  t.free.push_back(static_cast<uint32_t>(slot - t.slots.data()));
  return object;
}

}  // namespace qz::gdi
