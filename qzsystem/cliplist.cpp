#include "qzsystem/cliplist.h"

#include <cstring>

#include "qzsystem/parameter.h"

namespace {

char* CopyName(const char* name) {
  if (!name) name = "";
  const size_t size = std::strlen(name) + 1;
  char* copy = new char[size];
  std::memcpy(copy, name, size);
  return copy;
}

}  // namespace

ClipEntry::ClipEntry(const char* name, double start, double end) : Name(CopyName(name)), Start(start), End(end) {}

ClipEntry::~ClipEntry() {
  delete[] Name;
}

ClipList::~ClipList() {
  DeleteEntries();
}

bool ClipList::Holds(const void* entry) {
  ObtainReadLock();
  bool found = false;
  for (ListNode* node = GetFirst(); node && !found; node = GetNext(node)) found = node->Data == entry;
  ReleaseReadLock();
  return found;
}

void ClipList::DeleteEntries() {
  for (ListNode* node = GetFirst(); node; node = GetNext(node)) delete static_cast<ClipEntry*>(node->Obj());
  Clear();
}

// One entry per key that holds a clip, in the keys' (time) order.
void ClipList::Rebuild(Input& input) {
  ObtainLock();
  DeleteEntries();
  for (uint32_t i = 0; i < input.KeyCount(); ++i) {
    const double start = input.KeyTime(i);
    Parameter* value = input.GetValue(start);
    if (const Clip* clip = value ? Parameter::As<Clip>(*value) : nullptr)
      Add(new ClipEntry(clip->Name, start, start + clip->Length));
    if (value) value->Recycle();
  }
  ReleaseLock();
}

ClipListInput::ClipListInput(const char* name) : Input(name, ClipListInputID) {
  Animate(1);
  Attrs.Set(ClipEntriesTag, reinterpret_cast<intptr_t>(&Entries));
  // First among the observers, so that controls told of a change find the
  // entries already up to date.
  AddObserver(this);
}

ClipListInput::~ClipListInput() {
  RemoveObserver(this);
}

void ClipListInput::InputChanged(Input*, Parameter*) {
  Entries.Rebuild(*this);
}
