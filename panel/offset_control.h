// Two number fields, "X:" and "Y:", that edit a two-dimensional Point input,
// with the control's name at the right.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

class OffsetControl : public InputControl {
 public:
  OffsetControl();
  ~OffsetControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  uint32_t IsEditInRange(HWND edit) override;
  void OnOK() override;

  double X = 0.5;
  double Y = 0.5;
  // The expected range: it only decides what IsEditInRange reports.
  double LowestValue = 0.0;
  double HighestValue = 1.0;
  long Decimals = 4;
  TimeCodeEdit XEdit;
  TimeCodeEdit YEdit;
  CStatic XLabel;
  CStatic YLabel;
  CStatic NameLabel;

 private:
  static constexpr int ShownSize = 64;

  void Show(TimeCodeEdit& edit, double value, char (&shown)[ShownSize]);
  static bool Entry(TimeCodeEdit& edit, const char* shown, double* value);
  bool InRange(double value) const;

  // The text the control last put into each field: a field still showing
  // it holds no entry of the user's.
  char ShownX[ShownSize] = "";
  char ShownY[ShownSize] = "";
};

InputControl* NewOffsetControl();

}  // namespace qzc
