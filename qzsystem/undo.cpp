#include "qzsystem/undo.h"

#include <utility>

#include "qzsystem/input.h"
#include "qzsystem/parameter.h"

UndoStack::~UndoStack() {
  Clear();
}

void UndoStack::Release(Record& record) {
  if (record.Before) record.Before->Recycle();
  if (record.After) record.After->Recycle();
  record.Before = record.After = nullptr;
}

void UndoStack::Clear() {
  for (Step& step : Steps) {
    for (Record& record : step.Records) Release(record);
  }
  Steps.clear();
  Done = 0;
  BracketRecorded = false;
  GroupOpen = false;
}

void UndoStack::DropRedo() {
  for (size_t i = Done; i < Steps.size(); ++i) {
    for (Record& record : Steps[i].Records) Release(record);
  }
  Steps.resize(Done);
}

void UndoStack::PushStep(const char* name) {
  DropRedo();
  Steps.push_back(Step{name, {}});
  Done = Steps.size();
}

void UndoStack::Start(const char* name) {
  GroupOpen = false;
  if (Depth++ > 0) return;
  PendingName = name ? name : "";
  BracketRecorded = false;
}

void UndoStack::End() {
  if (Depth == 0) return;
  if (--Depth > 0) return;
  GroupOpen = BracketRecorded;
}

UndoStack::Step& UndoStack::TargetStep() {
  if (Depth > 0) {
    if (!BracketRecorded) {
      PushStep(PendingName.c_str());
      BracketRecorded = true;
    }
    return Steps.back();
  }
  if (!GroupOpen || Done == 0 || Done != Steps.size()) {
    PushStep("Change");
    GroupOpen = true;
  }
  return Steps.back();
}

void UndoStack::RecordValue(Input* input, double time, Parameter* before, Parameter* after) {
  if (IsReplaying) return;
  Step& step = TargetStep();
  // A write joins the input's latest record when it lands at the same time:
  // nothing of that input was written between them, so replaying the
  // records in order (forwards for redo, backwards for undo) still passes
  // through exactly the states the writes made. Joining an earlier record
  // would not: an input that is not animated keeps one value for all times,
  // so writes at other times in between overlap it.
  for (auto record = step.Records.rbegin(); record != step.Records.rend(); ++record) {
    if (record->Target != input || record->IsConnection) continue;
    if (record->Time != time) break;
    if (after) after->Use();
    if (record->After) record->After->Recycle();
    record->After = after;
    return;
  }
  if (before) before->Use();
  if (after) after->Use();
  step.Records.push_back(Record{input, false, time, before, after, nullptr, nullptr});
}

void UndoStack::RecordConnection(Input* input, Output* before, Output* after) {
  if (IsReplaying) return;
  Step& step = TargetStep();
  for (Record& record : step.Records) {
    if (record.Target == input && record.IsConnection) {
      record.OutputAfter = after;
      return;
    }
  }
  step.Records.push_back(Record{input, true, 0.0, nullptr, nullptr, before, after});
}

// Each value put back keeps what it replaced as the value the opposite
// direction puts back, so that redo after undo (and undo after redo) gives
// back exactly the state before, whatever changed unrecorded since the step
// was made (an input animated since, for one).
void UndoStack::Apply(Step& step, bool forward) {
  IsReplaying = true;
  const size_t count = step.Records.size();
  for (size_t i = 0; i < count; ++i) {
    Record& record = step.Records[forward ? i : count - 1 - i];
    if (record.IsConnection) {
      record.Target->ConnectTo(forward ? record.OutputAfter : record.OutputBefore, 0);
      continue;
    }
    Parameter* replaced = record.Target->Replace(forward ? record.After : record.Before, record.Time);
    Parameter*& opposite = forward ? record.Before : record.After;
    if (opposite) opposite->Recycle();
    opposite = replaced;
  }
  IsReplaying = false;
}

bool UndoStack::Undo() {
  if (Depth > 0 || Done == 0) return false;
  GroupOpen = false;
  --Done;
  Apply(Steps[Done], false);
  return true;
}

bool UndoStack::Redo() {
  if (Depth > 0 || Done == Steps.size()) return false;
  GroupOpen = false;
  Apply(Steps[Done], true);
  ++Done;
  return true;
}

template <typename Predicate>
void UndoStack::EraseRecords(Predicate doomed) {
  bool removedStep = false;
  for (size_t i = Steps.size(); i-- > 0;) {
    std::vector<Record>& records = Steps[i].Records;
    std::erase_if(records, [&](Record& record) {
      if (!doomed(record)) return false;
      Release(record);
      return true;
    });
    // The open bracket's step stays even when emptied: the bracket still
    // refers to it.
    const bool isOpenBracket = Depth > 0 && BracketRecorded && i + 1 == Steps.size();
    if (records.empty() && !isOpenBracket) {
      Steps.erase(Steps.begin() + static_cast<ptrdiff_t>(i));
      if (i < Done) --Done;
      removedStep = true;
    }
  }
  if (removedStep) GroupOpen = false;
}

void UndoStack::Forget(Input* input) {
  EraseRecords([input](const Record& record) { return record.Target == input; });
}

void UndoStack::Forget(Output* output) {
  EraseRecords([output](const Record& record) {
    return record.IsConnection && (record.OutputBefore == output || record.OutputAfter == output);
  });
}

std::vector<std::string> UndoStack::UndoNames() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < Done; ++i) names.push_back(Steps[i].Name);
  return names;
}

std::vector<std::string> UndoStack::RedoNames() const {
  std::vector<std::string> names;
  for (size_t i = Done; i < Steps.size(); ++i) names.push_back(Steps[i].Name);
  return names;
}
