// A multi-line text field for a text input: every change the user types is
// written at once, and the host's echo of it leaves the caret alone.
#pragma once

#include <string>

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "windows/field_windows.h"

namespace qzc {

class TextEditControl : public InputControl {
 public:
  TextEditControl();
  ~TextEditControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;

  QZRichEdit Editor;
  std::string Content;
  long Updating = 0;
  long Lines = 8;

 private:
  void WriteTypedText();
  void PostContextMenu(LPARAM clientPoint);
};

InputControl* NewTextEditControl();

}  // namespace qzc
