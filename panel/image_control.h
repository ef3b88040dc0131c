// A tool-name field that connects an image input (a bitmap mask) to the main
// image output of the tool typed into it, with the control's name beside it.
#pragma once

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

class Operator;
class Output;

namespace qzc {

class ImageControl : public InputControl {
 public:
  static constexpr int ToolNameSize = 260;

  ImageControl();
  ~ImageControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void OnConnect(Input* input) override;
  void OnOK() override;

  TimeCodeEdit ToolEdit;
  char ToolName[ToolNameSize] = "";
  CStatic NameLabel;

 private:
  void ShowConnection(Input* input);
  void ShowToolName();
  void ConnectTyped(Input* input);
};

InputControl* NewImageControl();

}  // namespace qzc
