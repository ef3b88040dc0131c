#include "qzsystem/operator.h"

#include <algorithm>
#include <cstring>

#include "qzsystem/document.h"

Output::Output(const char* name, uint32_t id, uint32_t type) : Object(id) {
  if (name) SetAttrString(OutputNameTag, name);
  if (type) Types.push_back(type);
}

Output::~Output() {
  while (!Connections.empty()) Connections.back()->LoseConnection();
  CPipelineDoc* doc = Owner ? Owner->Doc : nullptr;
  if (doc) doc->History().Forget(this);
}

const char* Output::GetName() const {
  return reinterpret_cast<const char*>(GetAttr(OutputNameTag));
}

uint32_t Output::HasType(uint32_t type) const {
  return std::find(Types.begin(), Types.end(), type) != Types.end();
}

void Output::AddType(uint32_t type) {
  if (!HasType(type)) Types.push_back(type);
}

Operator::Operator(const char* name, uint32_t id) : Object(id) {
  SetName(name);
}

Operator::~Operator() {
  ReleaseAll<Input>(Inputs);
  ReleaseAll<Output>(Outputs);
}

// An input or output someone still holds outlives its tool without a
// dangling owner.
template <typename T>
void Operator::ReleaseAll(List& list) {
  while (ListNode* node = list.GetFirst()) {
    auto* item = static_cast<T*>(node->Obj());
    list.Remove(item);
    if (Doc) Doc->History().Forget(item);
    item->Owner = nullptr;
    item->Recycle();
  }
}

void Operator::SetName(const char* name) {
  if (!name) name = "";
  const size_t length = std::min(std::strlen(name), NameSize - 1);
  std::memcpy(Name, name, length);
  Name[length] = '\0';
}

Input* Operator::AddInput(Input* input) {
  if (!input) return nullptr;
  input->Owner = this;
  Inputs.Add(input);
  return input;
}

Input* Operator::AddInput(const char* name, uint32_t id) {
  return AddInput(new Input(name, id));
}

Output* Operator::AddOutput(Output* output) {
  if (!output) return nullptr;
  output->Owner = this;
  output->Attrs.Set(OutputOwnerTag, reinterpret_cast<intptr_t>(this));
  Outputs.Add(output);
  return output;
}

Output* Operator::AddOutput(const char* name, uint32_t id, uint32_t type) {
  return AddOutput(new Output(name, id, type));
}

template <typename T>
T* Operator::FindIn(const List& list, const char* name, uint32_t id) {
  if (!name && !id) return nullptr;
  for (ListNode* node = list.GetFirst(); node; node = list.GetNext(node)) {
    T* item = static_cast<T*>(node->Obj());
    if (id && item->ID != id) continue;
    const char* itemName = item->GetName();
    if (name && (!itemName || std::strcmp(itemName, name) != 0)) continue;
    return item;
  }
  return nullptr;
}

Input* Operator::FindInput(const char* name, uint32_t id) const {
  return FindIn<Input>(Inputs, name, id);
}

Output* Operator::FindOutput(const char* name, uint32_t id) const {
  return FindIn<Output>(Outputs, name, id);
}

void Operator::GetName(char* buffer) {
  if (buffer) std::memcpy(buffer, Name, std::strlen(Name) + 1);
}

void Operator::PreviewDraw(PreviewControl*, HDC, PreviewInfo*, uint32_t) {}
uint32_t Operator::PreviewDown(PreviewControl*, HDC, PreviewInfo*, POINT) {
  return 0;
}
void Operator::PreviewMove(PreviewControl*, HDC, PreviewInfo*, POINT) {}
void Operator::PreviewUp(PreviewControl*, HDC, PreviewInfo*, POINT) {}
void Operator::PreviewCommand(PreviewControl*, HDC, PreviewInfo*, uint32_t, void*) {}
uint32_t Operator::PreviewGetTip(PreviewControl*, HDC, PreviewInfo*, char*) {
  return 0;
}
void Operator::PreviewDragDone() {}
