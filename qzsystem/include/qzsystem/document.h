// The pipeline document: its tools, current time, render requests and undo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qzsystem/list.h"
#include "qzsystem/undo.h"

class Operator;

// What the document was asked to do, kept for the host and for tests.
struct RenderRequest {
  enum Kind : uint32_t { Sync, Interactive, Post };
  Kind Type;
  Operator* Tool;
  Operator* Other;
  int Mode;
  uint32_t Message;
  uintptr_t WParam;
  intptr_t LParam;
};

class Input;
class Parameter;

// Told of every effective write to an input of the document, with the time
// it was written at: the host's transcript of what its controls did.
class WriteListener {
 public:
  virtual void InputWritten(Input* input, double time, Parameter* value) = 0;

 protected:
  ~WriteListener() = default;
};

class CPipelineDoc {
 public:
  CPipelineDoc();
  CPipelineDoc(const CPipelineDoc&) = delete;
  CPipelineDoc& operator=(const CPipelineDoc&) = delete;
  // Releases the tools after clearing the history.
  ~CPipelineDoc();

  double CurrentTime = 0.0;
  // The document's tools (Operator*), in the order they were added.
  List Tools;

  // Moves to `time` and tells every observed input's observers its value
  // there. `flags` is accepted and not used.
  void SetCurrentTime(double time, uint32_t flags);

  // Adopts the caller's reference; the document releases its tools.
  Operator* AddTool(Operator* tool);
  // Takes the tool out and releases the document's reference.
  uint32_t RemoveTool(Operator* tool);
  Operator* FindTool(const char* name);

  void SyncRender();
  void RenderInteractive(Operator* tool, Operator* other, int mode);
  // Posts to every view of the document; recorded with kind Post.
  void PostToAll(uint32_t message, uintptr_t wParam, intptr_t lParam);
  const std::vector<RenderRequest>& RenderRequests() const { return Requests; }
  void ClearRenderRequests() { Requests.clear(); }

  // Undo: see UndoStack for the bracket and grouping rules. The argument of
  // EndUndo is accepted for the host's signature; every value closes.
  void StartUndo(const char* name) { Steps.Start(name); }
  void EndUndo(uint32_t /*keep*/) { Steps.End(); }
  // Ends the grouping of changes made outside brackets.
  void ResetUndo() { Steps.EndGroup(); }
  uint32_t Undo() { return Steps.Undo(); }
  uint32_t Redo() { return Steps.Redo(); }
  std::vector<std::string> UndoSteps() const { return Steps.UndoNames(); }
  std::vector<std::string> RedoSteps() const { return Steps.RedoNames(); }
  UndoStack& History() { return Steps; }

  void SetWriteListener(WriteListener* listener) { Listener = listener; }
  WriteListener* GetWriteListener() const { return Listener; }

 private:
  UndoStack Steps;
  std::vector<RenderRequest> Requests;
  WriteListener* Listener = nullptr;
};
