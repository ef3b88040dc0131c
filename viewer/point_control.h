// A square handle over the viewer that edits a Point input, with a line to
// a reference input's position (the image centre without one).
#pragma once

#include "qzsystem/previewcontrol.h"

namespace qzc {

class PointControl : public PreviewControl {
 public:
  PointControl();
  ~PointControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t RemoveInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void SetActive(int mode) override;
  void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlMove(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlUp(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;

  // Normalised image coordinates.
  double DrawnX = 0.5, DrawnY = 0.5;
  double CurrentX = 0.5, CurrentY = 0.5;
  double ReferenceX = 0.5, ReferenceY = 0.5;
  double DrawnReferenceX = 0.5, DrawnReferenceY = 0.5;
  Input* ReferenceInput = nullptr;  // not owned
};

PreviewControl* NewPointControl();

}  // namespace qzc
