// A font chooser for two inputs: the face name (index 0) and a style code
// packing the size and the style bits (any other index). The face can be
// typed or chosen, with size and style, in the font dialog.
#pragma once

#include <string>

#include "afxdlgs.h"
#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

class FontControl : public InputControl {
 public:
  FontControl();
  ~FontControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnOK() override;

  // The style code: size in tenths of a point times 65536, plus 1 strike-out,
  // 2 underline, 4 bold (weight 700), 8 italic.
  static int32_t StyleCode(int pointSize, const LOGFONTA& font);
  // The size in tenths of a point a style code holds; false for a number
  // that is no code.
  static bool SizeOfStyleCode(double code, int* pointSize);

  CFontDialog Dialog;
  TimeCodeEdit FaceField;
  CStatic Label;
  CButton SelectButton;
  std::string FaceName;
  int PointSize = 80;

 private:
  void ChooseFont();
};

InputControl* NewFontControl();

}  // namespace qzc
