// A viewer control without handles of its own: it hands drawing, presses,
// drags, releases, commands and tips to a tool's preview hooks, so the tool
// draws and handles its own overlay, and adds the tool's entries to the
// viewer's context menu under the tool's name.
#pragma once

#include "qzsystem/operator.h"
#include "qzsystem/previewcontrol.h"

namespace qzc {

class OperatorControl : public PreviewControl {
 public:
  // Room for a tool's name, terminator included.
  static constexpr size_t NameBufferSize = 256;

  OperatorControl();
  ~OperatorControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  void AddToMenu(QZMenu* menu, TagList& tags) override;
  void SetView(PreviewView* view) override;
  Operator* GetOperator() override;
  void SetInactive() override;
  void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlMove(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlUp(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;
  uint32_t ControlGetTip(HDC hdc, PreviewInfo* info, char* text) override;

  Operator* Tool = nullptr;  // not owned
  TagList Tags;              // kept for the host; the control does not use it

 private:
  void Attach(Operator* tool);
  void Detach();
  void FetchName();
};

PreviewControl* NewOperatorControl();

}  // namespace qzc
