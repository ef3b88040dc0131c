// A check box for an on/off input, optionally with an indeterminate state.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

class CheckBoxControl : public InputControl {
 public:
  CheckBoxControl();
  ~CheckBoxControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t CopyAttr(uint32_t tag, void* out) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;

  CButton Box;
  long State = 0;  // 0 off, 1 on, -1 indeterminate
  // The input's value as last read or written; State is its whole part.
  // Written back on disconnection, so that doing so never changes the input.
  double Held = 0.0;
  long ThreeState = 0;

 private:
  void ApplyBoxStyle();
  void ShowState();
};

InputControl* NewCheckBoxControl();

}  // namespace qzc
