#include "qzsystem/object.h"

#include <cstdio>
#include <cstring>

Object::~Object() = default;

void Object::Dump() {
  const char id[5] = {static_cast<char>(ID), static_cast<char>(ID >> 8), static_cast<char>(ID >> 16),
                      static_cast<char>(ID >> 24), 0};
  std::fprintf(stderr, "Object %p '%s' refs %d attrs %u\n", static_cast<void*>(this), id, References(), Attrs.Count());
}

uint32_t Object::SetAttrsTagList(TagList& tags) {
  Attrs.Merge(tags);
  return 1;
}

uint32_t Object::CopyAttr(uint32_t tag, void* out) {
  const TagItem* item = Attrs.FindItem(tag);
  if (!item) return 0;
  if (out) {
    if (IsDoubleTag(tag)) {
      *static_cast<double*>(out) = item->Double;
    } else {
      *static_cast<intptr_t*>(out) = item->Value;
    }
  }
  return 1;
}

uint32_t Object::Save(void*) {
  return 1;
}
void Object::EndUndo() {}
void Object::StartUndo() {}
void Object::RestoreState() {}
void Object::SaveState() {}
void Object::CleanupState() {}

void Object::Use() {
  RefCount.fetch_add(1, std::memory_order_relaxed);
}

void Object::Recycle() {
  if (RefCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void Object::OnAddToList(List*) {}
void Object::OnRemoveFromList(List*) {}
void Object::AddToMenu(QZMenu*, TagList&) {}
uint32_t Object::HandleMenu(QZMenu*, uint32_t) {
  return 0;
}

const char* Object::SetAttrString(uint32_t tag, const char* text) {
  const char* stored = nullptr;
  if (text) {
    const size_t length = std::strlen(text);
    auto copy = std::make_unique<char[]>(length + 1);
    std::memcpy(copy.get(), text, length + 1);
    stored = copy.get();
    OwnedStrings.push_back(std::move(copy));
  }
  Attrs.Set(tag, reinterpret_cast<intptr_t>(stored));
  // Copies that no attribute refers to any more (replaced here or by a
  // merged list) are freed.
  std::erase_if(OwnedStrings, [this](const std::unique_ptr<char[]>& owned) {
    for (const TagItem& item : Attrs) {
      if (item.Value == reinterpret_cast<intptr_t>(owned.get())) return false;
    }
    return true;
  });
  return stored;
}
