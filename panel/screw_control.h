// A numeric input without ends, edited with a thumb wheel and a number field
// inside the wheel at its right end. The scale only says what one wheel width
// and one step are worth; the value may leave it in either direction.
#pragma once

#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"
#include "windows/screw_wheel.h"

namespace qzc {

class ScrewControl : public InputControl {
 public:
  ScrewControl();
  ~ScrewControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void OnOK() override;

  double Lower = 0.0;
  double Upper = 1.0;
  double Value = 0.5;
  // The input's value exactly as last told, even when it could not be shown
  // (not finite, or a change below the precision), so that a disconnection
  // gives the input back its own value.
  double KeptValue = 0.0;
  bool ValueKept = false;
  long Steps = 1001;
  long Divisions = 0;
  long Decimals = 4;
  double Precision = 0.0001;
  ScrewWheel* Wheel = nullptr;  // owned; null only when it could not be made
  TimeCodeEdit Edit;
  long Integer = 0;
  long ReadOnly = 0;
  long TimeType = 0;

 private:
  long PageCount() const;
  long ShownDecimals() const { return Decimals > 0 ? Decimals : 0; }
  void ConfigureWheel();
  void ConfigureEdit();
  void OnWheelChange();
  void WriteValue(double value);

  unsigned Refreshes = 0;  // UpdateDisplay calls that reached the windows
};

InputControl* NewScrewControl();

}  // namespace qzc
