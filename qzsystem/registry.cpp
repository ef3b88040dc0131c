#include "qzsystem/registry.h"

#include <cstdarg>
#include <cstring>

// Never freed: module records may unregister during process exit, after
// this library's own static objects would have been destroyed.
RegistryList* ClassRegistry = new RegistryList;

Registry* RegistryList::GetNext(const Registry* previous) const {
  return previous ? previous->Next : First;
}

Registry::Registry(RegistryList** list, const char* name, ...) {
  const size_t length = name ? std::strlen(name) : 0;
  OwnedName = new char[length + 1];
  if (length) std::memcpy(OwnedName, name, length);
  OwnedName[length] = '\0';
  Name = OwnedName;

  va_list args;
  va_start(args, name);
  for (;;) {
    const auto tag = static_cast<uint32_t>(va_arg(args, uintptr_t));
    if (tag == 0) break;
    Tags.Add(tag, static_cast<intptr_t>(va_arg(args, uintptr_t)));
  }
  va_end(args);

  Owner = list ? (*list ? *list : (*list = new RegistryList)) : nullptr;
  if (!Owner) return;
  Owner->ObtainLock();
  Previous = Owner->Last;
  if (Previous) {
    Previous->Next = this;
  } else {
    Owner->First = this;
  }
  Owner->Last = this;
  ++Owner->Size;
  Owner->ReleaseLock();
}

Registry::~Registry() {
  if (Owner) {
    Owner->ObtainLock();
    if (Previous) {
      Previous->Next = Next;
    } else {
      Owner->First = Next;
    }
    if (Next) {
      Next->Previous = Previous;
    } else {
      Owner->Last = Previous;
    }
    --Owner->Size;
    Owner->ReleaseLock();
  }
  delete[] OwnedName;
}

void* Registry::Create() const {
  const auto creator = reinterpret_cast<Creator>(GetData(RegistryCreatorTag));
  return creator ? creator() : nullptr;
}

namespace {

template <typename Match>
Registry* FindRegistry(RegistryList* list, Match match) {
  if (!list) return nullptr;
  Registry* found = nullptr;
  list->ObtainReadLock();
  for (Registry* record = list->GetFirst(); record && !found; record = list->GetNext(record)) {
    if (match(record)) found = record;
  }
  list->ReleaseReadLock();
  return found;
}

}  // namespace

Registry* FindRegistryByName(const char* name, RegistryList* list) {
  if (!name) return nullptr;
  return FindRegistry(list, [name](Registry* record) { return std::strcmp(record->Name, name) == 0; });
}

Registry* FindRegistryById(uint32_t id, RegistryList* list) {
  return FindRegistry(
      list, [id](Registry* record) { return static_cast<uint32_t>(record->GetData(RegistryClassIDTag)) == id; });
}
