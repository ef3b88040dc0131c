// A dotted line from a centre with a round handle at its end that turns an
// angle input (degrees, counting on past a full turn); the centre and the
// line's length come from inputs named by attributes.
#pragma once

#include "qzsystem/parameter.h"
#include "qzsystem/previewcontrol.h"

namespace qzc {

class AngleControl : public PreviewControl {
 public:
  AngleControl();
  ~AngleControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t RemoveInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t ControlDown(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlMove(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlUp(HDC hdc, PreviewInfo* info, CPoint point) override;
  void ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;

  Input* CentreInput = nullptr;  // not owned
  Input* LengthInput = nullptr;  // not owned
  float Angle = 0.0f;            // degrees, unbounded
  float DrawnCentreX = 0.5f, DrawnCentreY = 0.5f;
  float DrawnAngle = 0.0f;
  float DrawnLength = 0.1f;
  float CentreX = 0.5f, CentreY = 0.5f;
  float Length = 0.1f;  // normalised
  float MinimumLength = 0.1f;
  float LengthScale = 0.5f;

 private:
  bool TakeCentre(const Point* point);
  bool TakeLength(const Number* number);
  bool TakeAngle(const Number* number);
  bool HandleUnderPointer(const PreviewInfo& info) const;
  bool FollowsDraggedCentre();
  void TurnTowardsPointer(const PreviewInfo& info);
  void Step(uintptr_t key);
};

PreviewControl* NewAngleControl();

}  // namespace qzc
