// A rotated rectangle over the viewer whose edges edit a width and a height
// input (indices 0 and 1), around a centre and at an angle that are fixed or
// read from two further inputs, with an optional aspect lock.
#pragma once

#include "qzsystem/previewcontrol.h"

namespace qzc {

class RectangleControl : public PreviewControl {
 public:
  RectangleControl();
  ~RectangleControl() override;

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
  Input* AngleInput = nullptr;   // not owned
  // The fixed centre and angle (degrees), and those last drawn.
  float CentreX = 0.5f, CentreY = 0.5f;
  float Angle = 0.0f;
  // Normalised sizes: fractions of the image width and height.
  float Width = 0.0f, Height = 0.0f;
  float DrawnWidth = 0.0f, DrawnHeight = 0.0f;
  int WidthGrabbed = 0, HeightGrabbed = 0;
  int AspectLocked = 0;
  float AspectRatio = 1.0f;  // width / height while locked
  int PenStyle = PS_SOLID;

 private:
  struct Edges {
    bool Width;
    bool Height;
  };
  // Which edges the pointer lies on, against the rectangle last drawn.
  Edges EdgesAt(const PreviewInfo& info) const;
  // The pointer along the rectangle's width and height axes, in viewer
  // pixels from the centre.
  void PointerAlongAxes(const PreviewInfo& info, float* u, float* v) const;
};

PreviewControl* NewRectangleControl();

}  // namespace qzc
