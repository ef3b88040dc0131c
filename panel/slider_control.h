// A numeric input edited with a slider and a number field side by side,
// over a background picture, with a name label and an optional side label.
#pragma once

#include <string>

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"
#include "windows/slider_window.h"

namespace qzc {

class SliderControl : public InputControl {
 public:
  SliderControl();
  ~SliderControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  Input* GetInputAt(int x, int y) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void OnOK() override;

  double DisplayMin = 0.0;
  double DisplayMax = 1.0;
  double Value = 0.0;
  double DefaultValue = 0.0;
  double PrevDefault = 1.0;
  long Steps = 1001;
  long Pages = 0;
  long Decimals = 4;
  double Precision = 0.0001;
  CStatic NameLabel;
  CStatic SideLabel;
  SliderWindow Slider;
  TimeCodeEdit Edit;
  std::string NameText;
  std::string SideText;
  long TimeType = 0;
  long Integer = 0;
  long ReadOnly = 0;
  long HasDefault = 0;
  long Snap = 0;
  long LabelsDirty = 0;

 private:
  // What the last display update showed, so that a commit whose write has
  // already shown its value need not show it again.
  unsigned long DisplayUpdates = 0;
  double ShownValue = 0.0;
  double ShownSliderValue = 0.0;
  long ShownDecimalCount = 0;

  void ReadAttributes(TagList& tags);
  void ReadLabels(const TagList& tags);
  void ConfigureSlider();
  void ConfigureSteps();
  void ConfigureEdit();
  void ReadInitialValue();
  void CommitSliderValue(WORD undo);
  void WriteValue(double value);
  long ShownDecimals() const { return Decimals > 0 ? Decimals : 0; }
  bool StillShown() const;
  LRESULT EraseBackground(HDC hdc);
  LRESULT LabelColours(HDC hdc);
};

InputControl* NewSliderControl();

}  // namespace qzc
