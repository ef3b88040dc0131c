// The class registry: records of classes (controls, file formats, tools)
// with their creator and data tags, kept in registration order.
#pragma once

#include <cstdint>

#include "qzsystem/lock.h"
#include "qzsystem/taglist.h"

class Registry;

constexpr uint32_t RegistryCreatorTag = 0x10000000;
constexpr uint32_t RegistryClassTypeTag = 0x10000003;
constexpr uint32_t RegistryClassIDTag = 0x10000005;
constexpr intptr_t ClassTypeFileFormat = 512;
constexpr intptr_t ClassTypePanelControl = 2048;
constexpr intptr_t ClassTypeViewerControl = 4096;

// The records of one registration list. Walks and changes take its lock
// (records register and unregister themselves under the exclusive lock).
class RegistryList : public LockableObject {
 public:
  Registry* GetFirst() const { return First; }
  Registry* GetNext(const Registry* previous) const;
  uint32_t Count() const { return Size; }

 private:
  friend class Registry;
  Registry* First = nullptr;
  Registry* Last = nullptr;
  uint32_t Size = 0;
};

// The host's list of classes; exists from the library's load on.
extern RegistryList* ClassRegistry;

class Registry {
 public:
  using Creator = void* (*)();

  // Adds the record at the end of *list (making the list when *list is null).
  // The variable part is tag/value pairs closed by a single 0 tag. Every tag
  // and every value is read as a uintptr_t, so callers must pass both
  // pointer-sized (cast plain integers to uintptr_t).
  Registry(RegistryList** list, const char* name, ...);
  // Removes the record from its list.
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  const char* Name;
  TagList Tags;

  intptr_t GetData(uint32_t tag) const { return Tags.GetLong(tag, 0); }
  // The object the class's creator makes, or null without a creator.
  void* Create() const;

 private:
  friend class RegistryList;
  RegistryList* Owner;
  Registry* Next = nullptr;
  Registry* Previous = nullptr;
  char* OwnedName;
};

Registry* FindRegistryByName(const char* name, RegistryList* list = ClassRegistry);
Registry* FindRegistryById(uint32_t id, RegistryList* list = ClassRegistry);
