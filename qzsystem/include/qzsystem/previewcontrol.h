// Base class of the viewer controls: handles drawn over the image in a
// viewer, connected to inputs of a tool.
#pragma once

#include <cstdint>

#include "atltypes.h"
#include "qzsystem/input.h"
#include "qzsystem/list.h"
#include "qzsystem/object.h"
#include "windows.h"

class CPipelineDoc;
class Operator;
class Parameter;
class PreviewInfo;
class PreviewView;

// The index under which an input is connected to its viewer control.
constexpr uint32_t ViewerIndexTag = 0x1003000c;

// Commands the viewer sends through ControlCommand.
// A key press; data is the virtual-key code.
constexpr uint32_t PreviewCommandKey = 4;
// A tool's overlay control tells the tool it is attached to it, and detached.
constexpr uint32_t PreviewCommandAttach = 5;
constexpr uint32_t PreviewCommandDetach = 6;
// Which input lies under the pointer? data points to an Input* to fill; a
// control that does not answer leaves it alone.
constexpr uint32_t PreviewCommandInputAt = 7;

class PreviewControl : public Object, public InputObserver {
 public:
  PreviewControl();
  // Disconnects every input: stops observing it and leaves its Controls list.
  ~PreviewControl() override;

  // 0 at rest; a control sets it non-zero when a press starts a drag.
  uint32_t DragMode = 0;
  int IsActive = 0;
  CPipelineDoc* Doc = nullptr;
  PreviewView* View = nullptr;
  // A malloc'd name or null; the base frees it at destruction, so a control
  // that replaces it frees the old one.
  char* Name = nullptr;
  List Inputs;  // the connected inputs, in connection order

  // Keeps the attributes as Object does; the document may also come in the
  // panel controls' document attribute (0x10040008).
  uint32_t SetAttrsTagList(TagList& tags) override;

  // Sets View, and Doc from the view when the control has none yet.
  virtual void SetView(PreviewView* view);
  // The tool of the first connected input, or null.
  virtual Operator* GetOperator();
  // Connects: observes the input, joins its Controls list, then OnConnect.
  // Connecting a connected input again does nothing and returns 1.
  virtual uint32_t AddInput(Input* input);
  // OnDisconnect, then the reverse of AddInput; 0 when not connected.
  virtual uint32_t RemoveInput(Input* input);
  // Stores the value in every connected input whose index attribute
  // (0x1003000c, 0 when absent) equals `index`; each input that really
  // changes tells its observers, this control included, via NotifyChanged.
  virtual void SetInputs(Parameter* value, double time, uint32_t index);
  // The base asks for the display to be updated (UpdateDisplay).
  virtual void NotifyChanged(Input* input, Parameter* value);
  // The base asks the viewer to redraw, except while this control drags:
  // a dragging control keeps its figure current by XOR drawing itself.
  virtual void UpdateDisplay(Input* input);
  // The base tells the control the input's value at the current time
  // (NotifyChanged), so a new control shows its inputs at once.
  virtual void OnConnect(Input* input);
  // The base asks for the display to be updated (UpdateDisplay).
  virtual void OnDisconnect(Input* input);
  // Every mode activates; the viewer draws, presses and sends keys to active
  // controls only. Both ask the viewer to redraw.
  virtual void SetActive(int mode);
  virtual void SetInactive();
  virtual void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase);
  // The base keeps DragMode and returns non-zero when it is non-zero.
  virtual uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point);
  virtual void ControlMove(HDC hdc, PreviewInfo* info, CPoint point);
  // The base ends the drag: DragMode back to 0, and the document stops
  // grouping changes (ResetUndo), so one drag is one undo step.
  virtual void ControlUp(HDC hdc, PreviewInfo* info, CPoint point);
  // The base answers no command.
  virtual void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data);
  // The base has no tip: returns 0 and leaves `text` alone.
  virtual uint32_t ControlGetTip(HDC hdc, PreviewInfo* info, char* text);
  virtual void ResetUndo();
  virtual void SetUndo(uint32_t on);

  void InputChanged(Input* input, Parameter* value) override;

  // A viewer control is told of every change of each input whose Controls
  // list it is on, however it joined (AddInput, or List::Add by the control
  // itself for an input it follows): joining the list of one of the
  // document's inputs observes it, leaving the list for the last time stops.
  void OnAddToList(List* list) override;
  void OnRemoveFromList(List* list) override;

 protected:
  uint32_t UndoEnabled = 1;

 private:
  void Disconnect(Input* input);
  // The connected or document input whose Controls list `list` is, or null.
  Input* OwnerOfControls(const List* list);
};

// Tells every viewer control on the input's Controls list that the input is
// going away (RemoveInput), as the host does before it deletes an input.
void ReleasePreviewControls(Input* input);
