#include "qzsystem/document.h"

#include <cstring>

#include "qzsystem/input.h"
#include "qzsystem/operator.h"

namespace {

template <typename T>
void ForgetAll(UndoStack& steps, const List& list) {
  for (ListNode* node = list.GetFirst(); node; node = list.GetNext(node)) steps.Forget(static_cast<T*>(node->Obj()));
}

}  // namespace

CPipelineDoc::CPipelineDoc() {
  Requests.reserve(64);
}

CPipelineDoc::~CPipelineDoc() {
  Steps.Clear();
  while (ListNode* node = Tools.GetFirst()) {
    auto* tool = static_cast<Operator*>(node->Obj());
    RemoveTool(tool);
  }
}

void CPipelineDoc::SetCurrentTime(double time, uint32_t) {
  CurrentTime = time;
  Tools.ObtainReadLock();
  for (ListNode* node = Tools.GetFirst(); node; node = Tools.GetNext(node)) {
    auto* tool = static_cast<Operator*>(node->Obj());
    tool->Inputs.ObtainReadLock();
    for (ListNode* in = tool->Inputs.GetFirst(); in; in = tool->Inputs.GetNext(in)) {
      static_cast<Input*>(in->Obj())->NotifyObservers(time);
    }
    tool->Inputs.ReleaseReadLock();
  }
  Tools.ReleaseReadLock();
}

Operator* CPipelineDoc::AddTool(Operator* tool) {
  if (!tool) return nullptr;
  tool->Doc = this;
  Tools.ObtainLock();
  Tools.Add(tool);
  Tools.ReleaseLock();
  return tool;
}

uint32_t CPipelineDoc::RemoveTool(Operator* tool) {
  Tools.ObtainLock();
  const uint32_t found = Tools.Remove(tool);
  Tools.ReleaseLock();
  if (!found) return 0;
  ForgetAll<Input>(Steps, tool->Inputs);
  ForgetAll<Output>(Steps, tool->Outputs);
  tool->Doc = nullptr;
  tool->Recycle();
  return 1;
}

Operator* CPipelineDoc::FindTool(const char* name) {
  if (!name) return nullptr;
  Operator* found = nullptr;
  Tools.ObtainReadLock();
  for (ListNode* node = Tools.GetFirst(); node && !found; node = Tools.GetNext(node)) {
    auto* tool = static_cast<Operator*>(node->Obj());
    if (std::strcmp(tool->Name, name) == 0) found = tool;
  }
  Tools.ReleaseReadLock();
  return found;
}

void CPipelineDoc::SyncRender() {
  Requests.push_back({RenderRequest::Sync, nullptr, nullptr, 0, 0, 0, 0});
}

void CPipelineDoc::RenderInteractive(Operator* tool, Operator* other, int mode) {
  Requests.push_back({RenderRequest::Interactive, tool, other, mode, 0, 0, 0});
}

void CPipelineDoc::PostToAll(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Requests.push_back({RenderRequest::Post, nullptr, nullptr, 0, message, wParam, lParam});
}
