// A pair of numeric inputs that form an interval inside an outer range: the
// low end (inputs connected under index 0) and the high end (index 1),
// edited on a two-ended range bar and in two number fields inside it.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"
#include "windows/range_bar.h"

namespace qzc {

// What a sent value is, in its change-kind attribute.
enum class RangeChange : intptr_t {
  LowDragged = 0,
  HighDragged = 1,
  BothDragged = 2,
  LowTyped = 3,
  HighTyped = 4,
  TypedAgainstBound = 5,
};

class RangeControl : public InputControl {
 public:
  RangeControl();
  ~RangeControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  Input* GetInputAt(int x, int y) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void OnOK() override;

  double Lowest = 0.0;
  double Highest = 0.0;
  double LowValue = 0.0;
  double HighValue = 0.0;
  // Each end's input value exactly as last told, even when the change was
  // too small to show or outside the range, so that a disconnection gives
  // the input back its own value.
  double KeptLow = 0.0;
  double KeptHigh = 0.0;
  bool LowKept = false;
  bool HighKept = false;
  double InnerLowOffset = 0.0;
  double InnerHighOffset = 0.0;
  // Clear: the next UpdateDisplay only sets it again (see SetAttrsTagList).
  long Refresh = 0;
  double LastInnerLow = 1.0;
  double LastInnerHigh = 1.0;
  uint32_t Steps = 100;
  long Decimals = 4;
  double Precision = 0.0001;
  RangeBar* Bar = nullptr;
  TimeCodeEdit LowEdit;
  TimeCodeEdit HighEdit;
  long TimeType = 0;
  long Integer = 0;
  long RepeatMarks = 0;
  long ReadOnly = 0;
  long KeepSpan = 0;
  long ShowHandles = 1;
  double RepeatLimit = 0.0;
  long TextFlags = 0;

 private:
  void ReadAttributes(TagList& tags);
  bool ReadTexts(const TagList& tags);
  void ConfigureEdits();
  void OnBarChange(WORD phase);
  bool TypedLow(double oldLow, double oldHigh);
  void TypedHigh(double oldLow, double oldHigh);
  void Send(double value, uint32_t index, RangeChange kind);
  void ShowTexts();
  void FormatNumber(double value, long whole, char* out) const;
  void ShowInEdit(TimeCodeEdit& edit, double value);
  long ShownDecimals() const { return Decimals > 0 ? Decimals : 0; }
  bool IsDragged() const { return Bar && Bar->Dragging; }
};

InputControl* NewRangeControl();

}  // namespace qzc
