// The reference host's sample tool with an overlay of its own: a polyline
// through Point inputs, drawn in the viewer through an OperatorControl, whose
// points the user drags, with two context-menu entries (close or open the
// shape; put the points back where they started).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qzsystem/document.h"
#include "qzsystem/operator.h"

namespace qzh {

class PolylineTool : public Operator {
 public:
  // Menu items, as HandleMenu receives them.
  static constexpr uint32_t MenuToggleClosed = 1;
  static constexpr uint32_t MenuResetPoints = 2;
  // Corners of a point's square lie this many pixels from it on each axis.
  static constexpr int PointHalfSize = 3;

  // A tool named `name` in `doc` (which owns it) with one Point input per
  // position, named "Point 1", "Point 2", ...
  static PolylineTool* AddTo(CPipelineDoc& doc, const char* name, const std::vector<std::pair<float, float>>& points);

  bool Closed = false;
  std::vector<Input*> Points;                        // owned by the tool through Inputs
  std::vector<std::pair<float, float>> StartPoints;  // where Reset puts them
  std::vector<PreviewControl*> Overlays;             // attached overlay controls
  int Grabbed = -1;                                  // index of the point being dragged
  int DragsDone = 0;                                 // PreviewDragDone calls
  std::vector<uint32_t> MenuChoices;                 // items handed to HandleMenu

  // The position of point `index` now, (NaN, NaN) when it has none.
  std::pair<float, float> PointAt(size_t index) const;

  void AddToMenu(QZMenu* menu, TagList& tags) override;
  uint32_t HandleMenu(QZMenu* menu, uint32_t item) override;
  void PreviewDraw(PreviewControl* control, HDC hdc, PreviewInfo* info, uint32_t erase) override;
  uint32_t PreviewDown(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point) override;
  void PreviewMove(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point) override;
  void PreviewUp(PreviewControl* control, HDC hdc, PreviewInfo* info, POINT point) override;
  void PreviewCommand(PreviewControl* control, HDC hdc, PreviewInfo* info, uint32_t command, void* data) override;
  uint32_t PreviewGetTip(PreviewControl* control, HDC hdc, PreviewInfo* info, char* text) override;
  void PreviewDragDone() override;

 private:
  explicit PolylineTool(const char* name) : Operator(name) {}
  // The point under the pointer, -1 for none.
  int PointUnderPointer(const PreviewInfo& info) const;
  void MovePoint(size_t index, float x, float y);
  void RedrawOverlays();
};

}  // namespace qzh
