// The document's undo history: steps of recorded input changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Input;
class Output;
class Parameter;

// A step holds, per changed input (and, for values, per time), the state
// before its first change and after its last. Brackets (Start/End) nest;
// only the outermost makes a step, and a bracket that recorded nothing
// leaves no step.
//
// Grouping rule for changes outside a bracket: they join the most recent
// step while it is still open for grouping, and otherwise start a new step
// named "Change". A step stays open for grouping after its bracket closes,
// until EndGroup (the document's ResetUndo), a new bracket, Undo or Redo.
// So a gesture whose first change is bracketed and whose later changes are
// not makes one step.
class UndoStack {
 public:
  UndoStack() = default;
  UndoStack(const UndoStack&) = delete;
  UndoStack& operator=(const UndoStack&) = delete;
  ~UndoStack();

  void Start(const char* name);
  void End();
  void EndGroup() { GroupOpen = false; }
  // Undo and Redo refuse (return false) inside a bracket or with nothing to do.
  bool Undo();
  bool Redo();

  // Called by inputs for every effective change; ignored while replaying.
  // The stack takes its own references to the values it keeps.
  void RecordValue(Input* input, double time, Parameter* before, Parameter* after);
  void RecordConnection(Input* input, Output* before, Output* after);
  bool Replaying() const { return IsReplaying; }

  // Drops every record that refers to a disappearing input or output.
  void Forget(Input* input);
  void Forget(Output* output);
  void Clear();

  std::vector<std::string> UndoNames() const;
  std::vector<std::string> RedoNames() const;

 private:
  struct Record {
    Input* Target;
    bool IsConnection;
    double Time;
    Parameter* Before;
    Parameter* After;
    Output* OutputBefore;
    Output* OutputAfter;
  };
  struct Step {
    std::string Name;
    std::vector<Record> Records;
  };

  Step& TargetStep();
  void PushStep(const char* name);
  void DropRedo();
  static void Release(Record& record);
  void Apply(Step& step, bool forward);
  template <typename Predicate>
  void EraseRecords(Predicate doomed);

  std::vector<Step> Steps;
  size_t Done = 0;
  int Depth = 0;
  bool BracketRecorded = false;
  bool GroupOpen = false;
  bool IsReplaying = false;
  std::string PendingName;
};
