// A marker over the viewer that edits a Point input: a plus, a diagonal
// cross, a small square or a dot, dragged and nudged like the point handle.
#pragma once

#include "qzsystem/previewcontrol.h"

namespace qzc {

class CrosshairControl : public PreviewControl {
 public:
  CrosshairControl();
  ~CrosshairControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlMove(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlUp(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;

  // Normalised image coordinates.
  double DrawnX = 0.5, DrawnY = 0.5;
  double CurrentX = 0.5, CurrentY = 0.5;
  // 0 plus, 1 diagonal cross, 2 square, 3 dot; any other value draws nothing.
  long MarkerShape = 0;
};

PreviewControl* NewCrosshairControl();

}  // namespace qzc
