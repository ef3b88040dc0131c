// An X mark over the viewer at a reference point plus an offset held in two
// Number inputs, x (index 0) and y (index 1), with a dotted line back to the
// reference (the image centre without a reference input).
#pragma once

#include "qzsystem/previewcontrol.h"

namespace qzc {

class XYOffsetControl : public PreviewControl {
 public:
  XYOffsetControl();
  ~XYOffsetControl() override;

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

  // Offsets in normalised image units, positions in normalised coordinates.
  double DrawnOffsetX = 0.0, DrawnOffsetY = 0.0;
  double OffsetX = 0.0, OffsetY = 0.0;
  double ReferenceX = 0.5, ReferenceY = 0.5;
  double DrawnReferenceX = 0.5, DrawnReferenceY = 0.5;
  Input* ReferenceInput = nullptr;  // not owned

 private:
  bool HandleUnderPointer(const PreviewInfo& info) const;
  void SendOffset(float x, float y);
  void Nudge(const PreviewInfo& info, uintptr_t key);
};

PreviewControl* NewXYOffsetControl();

}  // namespace qzc
