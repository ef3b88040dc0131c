// A drop-down list of fixed texts for a numeric input holding the index of
// the chosen entry, with the control's name on its right.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/list.h"

namespace qzc {

class ComboControl : public InputControl {
 public:
  ComboControl();
  ~ComboControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  Input* GetInputAt(int x, int y) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;

  // The input's value as last read or written; the chosen entry is its
  // whole part. Kept whole, so writing it back never changes the input.
  double Selected = 0.0;
  List Items{0};  // the entry texts, in attribute order
  CComboBox Choice;
  CStatic NameLabel;

 private:
  void ReplaceItems(const TagList& tags, const intptr_t* first);
  void FillChoice();
  void FollowEnabledState();
  void ShowSelected();
  void WriteSelected(double time);
};

InputControl* NewComboControl();

}  // namespace qzc
