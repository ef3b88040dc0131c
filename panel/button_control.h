// A push button that pulses the inputs connected as its input 0.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

class ButtonControl : public InputControl {
 public:
  ButtonControl();
  ~ButtonControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void SetInputs(Parameter* value, double time, uint32_t index) override;

  CButton Button;
};

InputControl* NewButtonControl();

}  // namespace qzc
