#include "qzsystem/list.h"

#include <cstring>

List::~List() {
  Clear();
}

ListNode* List::NewNode() {
  if (!FreeHead) {
    Blocks.push_back(std::make_unique<ListNode[]>(NodesPerBlock));
    for (int i = 0; i < NodesPerBlock; ++i) FreeNode(&Blocks.back()[i]);
  }
  ListNode* node = FreeHead;
  FreeHead = node->NextFree;
  if (!FreeHead) FreeTail = nullptr;
  node->NextFree = nullptr;
  return node;
}

void List::FreeNode(ListNode* node) {
  if (node->OwnsString) delete[] static_cast<char*>(node->Data);
  node->OwnsString = false;
  node->Live = false;
  node->Data = nullptr;
  node->NextFree = nullptr;
  if (FreeTail) {
    FreeTail->NextFree = node;
  } else {
    FreeHead = node;
  }
  FreeTail = node;
}

ListNode* List::Append(void* data) {
  ListNode* node = NewNode();
  node->Next = nullptr;
  node->Data = data;
  node->Live = true;
  if (Tail) {
    Tail->Next = node;
  } else {
    Head = node;
  }
  Tail = node;
  ++Size;
  return node;
}

ListNode* List::Add(Object* object, int priority, uint32_t flags) {
  ListNode* node = Append(object);
  node->Priority = priority;
  node->Flags = flags;
  if (object) object->OnAddToList(this);
  return node;
}

ListNode* List::AddString(const char* text) {
  if (!text) text = "";
  const size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  ListNode* node = Append(copy);
  node->OwnsString = true;
  return node;
}

uint32_t List::Remove(Object* object) {
  ListNode* previous = nullptr;
  for (ListNode* node = Head; node; previous = node, node = node->Next) {
    if (node->Data != object || node->OwnsString) continue;
    if (previous) {
      previous->Next = node->Next;
    } else {
      Head = node->Next;
    }
    if (Tail == node) Tail = previous;
    --Size;
    // node->Next is left as it was so that a walk standing on this node goes on.
    FreeNode(node);
    if (object) object->OnRemoveFromList(this);
    return 1;
  }
  return 0;
}

ListNode* List::GetNext(const ListNode* previous) const {
  if (!previous) return Head;
  ListNode* node = previous->Next;
  while (node && !node->Live) node = node->Next;
  return node;
}

ListNode* List::Find(Object* object) const {
  for (ListNode* node = Head; node; node = node->Next) {
    if (node->Data == object && !node->OwnsString) return node;
  }
  return nullptr;
}

void List::Clear() {
  ListNode* node = Head;
  Head = Tail = nullptr;
  Size = 0;
  while (node) {
    ListNode* next = node->Next;
    FreeNode(node);
    node = next;
  }
}
