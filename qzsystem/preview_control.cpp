#include "qzsystem/previewcontrol.h"

#include <cstdlib>

#include "qzsystem/document.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"
#include "qzsystem/previewview.h"

PreviewControl::PreviewControl() = default;

PreviewControl::~PreviewControl() {
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetFirst(); node; node = Inputs.GetNext(node))
    Disconnect(static_cast<Input*>(node->Obj()));
  Inputs.Clear();
  Inputs.ReleaseLock();
  std::free(Name);
}

// A control that stays on the list (it also follows the input otherwise)
// keeps observing it.
void PreviewControl::Disconnect(Input* input) {
  input->Controls.ObtainLock();
  input->Controls.Remove(this);
  const bool stillOn = input->Controls.Find(this) != nullptr;
  input->Controls.ReleaseLock();
  if (!stillOn) input->RemoveObserver(this);
}

uint32_t PreviewControl::SetAttrsTagList(TagList& tags) {
  Object::SetAttrsTagList(tags);
  Doc = reinterpret_cast<CPipelineDoc*>(tags.GetLong(ControlDocTag, reinterpret_cast<intptr_t>(Doc)));
  return 1;
}

void PreviewControl::SetView(PreviewView* view) {
  View = view;
  if (view && !Doc) Doc = view->Doc;
}

Operator* PreviewControl::GetOperator() {
  Inputs.ObtainReadLock();
  ListNode* first = Inputs.GetFirst();
  Operator* owner = first ? static_cast<Input*>(first->Obj())->Owner : nullptr;
  Inputs.ReleaseReadLock();
  return owner;
}

uint32_t PreviewControl::AddInput(Input* input) {
  if (!input) return 0;
  Inputs.ObtainLock();
  const bool known = Inputs.Find(input) != nullptr;
  if (!known) Inputs.Add(input);
  Inputs.ReleaseLock();
  if (known) return 1;
  input->AddObserver(this);
  input->Controls.ObtainLock();
  input->Controls.Add(this);
  input->Controls.ReleaseLock();
  OnConnect(input);
  return 1;
}

uint32_t PreviewControl::RemoveInput(Input* input) {
  if (!input) return 0;
  Inputs.ObtainReadLock();
  const bool known = Inputs.Find(input) != nullptr;
  Inputs.ReleaseReadLock();
  if (!known) return 0;
  OnDisconnect(input);
  Inputs.ObtainLock();
  const uint32_t removed = Inputs.Remove(input);
  Inputs.ReleaseLock();
  // OnDisconnect may already have removed it.
  if (removed) Disconnect(input);
  return 1;
}

void PreviewControl::SetInputs(Parameter* value, double time, uint32_t index) {
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (static_cast<uint32_t>(input->GetAttr(ViewerIndexTag)) != index) continue;
    input->SetValue(value, time, 1);
  }
  Inputs.ReleaseLock();
}

void PreviewControl::NotifyChanged(Input* input, Parameter*) {
  UpdateDisplay(input);
}

void PreviewControl::UpdateDisplay(Input*) {
  if (View && DragMode == 0) View->RedrawControls();
}

void PreviewControl::OnConnect(Input* input) {
  Parameter* value = input ? input->GetValue(Doc ? Doc->CurrentTime : 0.0) : nullptr;
  NotifyChanged(input, value);
  if (value) value->Recycle();
}

void PreviewControl::OnDisconnect(Input* input) {
  UpdateDisplay(input);
}

void PreviewControl::SetActive(int) {
  IsActive = 1;
  if (View) View->RedrawControls();
}

void PreviewControl::SetInactive() {
  IsActive = 0;
  if (View) View->RedrawControls();
}

void PreviewControl::DrawControls(HDC, PreviewInfo*, uint32_t) {}

uint32_t PreviewControl::ControlDown(HDC, PreviewInfo*, CPoint) {
  return DragMode != 0 ? 1 : 0;
}

void PreviewControl::ControlMove(HDC, PreviewInfo*, CPoint) {}

void PreviewControl::ControlUp(HDC, PreviewInfo*, CPoint) {
  DragMode = 0;
  ResetUndo();
}

void PreviewControl::ControlCommand(HDC, PreviewInfo*, uint32_t, void*) {}

uint32_t PreviewControl::ControlGetTip(HDC, PreviewInfo*, char*) {
  return 0;
}

void PreviewControl::ResetUndo() {
  if (Doc) Doc->ResetUndo();
}

void PreviewControl::SetUndo(uint32_t on) {
  UndoEnabled = on;
}

void PreviewControl::InputChanged(Input* input, Parameter* value) {
  NotifyChanged(input, value);
}

Input* PreviewControl::OwnerOfControls(const List* list) {
  Input* owner = nullptr;
  Inputs.ObtainReadLock();
  for (ListNode* node = Inputs.GetFirst(); node && !owner; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (&input->Controls == list) owner = input;
  }
  Inputs.ReleaseReadLock();
  if (owner || !Doc) return owner;
  Doc->Tools.ObtainReadLock();
  for (ListNode* node = Doc->Tools.GetFirst(); node && !owner; node = Doc->Tools.GetNext(node)) {
    auto* tool = static_cast<Operator*>(node->Obj());
    tool->Inputs.ObtainReadLock();
    for (ListNode* in = tool->Inputs.GetFirst(); in && !owner; in = tool->Inputs.GetNext(in)) {
      auto* input = static_cast<Input*>(in->Obj());
      if (&input->Controls == list) owner = input;
    }
    tool->Inputs.ReleaseReadLock();
  }
  Doc->Tools.ReleaseReadLock();
  return owner;
}

void PreviewControl::OnAddToList(List* list) {
  if (Input* input = OwnerOfControls(list)) input->AddObserver(this);
}

void PreviewControl::OnRemoveFromList(List* list) {
  if (list->Find(this)) return;
  if (Input* input = OwnerOfControls(list)) input->RemoveObserver(this);
}

void ReleasePreviewControls(Input* input) {
  if (!input) return;
  input->Controls.ObtainReadLock();
  for (ListNode* node = input->Controls.GetFirst(); node; node = input->Controls.GetNext(node))
    static_cast<PreviewControl*>(node->Obj())->RemoveInput(input);
  input->Controls.ReleaseReadLock();
}
