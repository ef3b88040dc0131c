// A circle over the viewer whose ring edits a size (its diameter, in image
// widths) around a fixed centre or the value of a followed centre input.
#pragma once

#include "qzsystem/previewcontrol.h"

namespace qzc {

class CircleControl : public PreviewControl {
 public:
  CircleControl();
  ~CircleControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t RemoveInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlMove(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlUp(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;

  Input* CentreInput = nullptr;  // not owned
  float Size = 0.0f;
  // Normalised image coordinates.
  float DrawnCentreX = 0.5f, DrawnCentreY = 0.5f;
  float DrawnSize = 0.0f;
  float CentreX = 0.5f, CentreY = 0.5f;

 private:
  bool RingHit(const PreviewInfo& info) const;
};

PreviewControl* NewCircleControl();

}  // namespace qzc
