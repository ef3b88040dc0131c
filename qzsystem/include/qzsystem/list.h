// The host's lockable list of object pointers (or owned strings).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "qzsystem/lock.h"

struct ListNode {
  ListNode* Next = nullptr;
  void* Data = nullptr;

  Object* Obj() const { return static_cast<Object*>(Data); }
  const char* Str() const { return static_cast<const char*>(Data); }

 private:
  friend class List;
  int Priority = 0;
  uint32_t Flags = 0;
  bool Live = false;
  bool OwnsString = false;
  ListNode* NextFree = nullptr;
};

// Lists hold pointers they do not own: Add takes no reference and the list
// never releases an object. Strings added with AddString are copies the list
// owns. The operations do not take the list's lock; callers hold it around
// walks and changes that may race, as the host does.
//
// Node storage is stable and recycled: a node removed during a walk keeps
// pointing at the node that followed it, so GetNext on the node just removed
// continues the walk (until later Adds reuse that node; freed nodes are
// reused oldest first).
class List : public LockableObject {
 public:
  explicit List(uint32_t flags = 0) : Flags(flags) {}
  ~List() override;

  uint32_t Flags;

  // Appends and calls the object's OnAddToList. `priority` and `flags` are
  // kept with the node.
  ListNode* Add(Object* object, int priority = 0, uint32_t flags = 0);
  ListNode* AddString(const char* text);
  // Removes the first node holding `object` and calls its OnRemoveFromList;
  // returns non-zero when one was found.
  uint32_t Remove(Object* object);
  ListNode* GetFirst() const { return Head; }
  // The node after `previous`; GetNext(nullptr) is the first node.
  ListNode* GetNext(const ListNode* previous) const;
  uint32_t Count() const { return Size; }
  ListNode* Find(Object* object) const;
  // Forgets every node without calling back the objects, which may already
  // be gone.
  void Clear();

 private:
  static constexpr int NodesPerBlock = 16;

  ListNode* Append(void* data);
  ListNode* NewNode();
  void FreeNode(ListNode* node);

  ListNode* Head = nullptr;
  ListNode* Tail = nullptr;
  uint32_t Size = 0;
  ListNode* FreeHead = nullptr;
  ListNode* FreeTail = nullptr;
  std::vector<std::unique_ptr<ListNode[]>> Blocks;
};
