// NudgeControl: a push button that adds a fixed step to a number input, with
// one undo step per click.
#pragma once

#include "qzsystem/inputcontrol.h"

class NudgeControl : public InputControl {
 public:
  static constexpr UINT ButtonId = 1000;
  static constexpr uint32_t StepTag = 0x7e570001;  // the amount added per click

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  CButton Button;
  double Step = 1.0;
};
