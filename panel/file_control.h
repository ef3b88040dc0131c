// A file-name field with a browse button for a text input holding a path;
// files dropped from the shell set the name too.
#pragma once

#include <string>

#include "afxwin.h"
#include "frame/file_names.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

class FileControl : public InputControl {
 public:
  FileControl();
  ~FileControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnOK() override;
  uint32_t OnDropFiles(HDROP drop) override;

  TimeCodeEdit PathField;
  CButton BrowseButton;
  uint32_t NameHidden = 0;
  PathBuffer Path = "";
  // The dialog's filter; the control keeps its own copy because the host
  // frees its attribute list after the call.
  std::string Filter;
  HANDLE Icon = nullptr;

 private:
  void Browse();
};

InputControl* NewFileControl();

}  // namespace qzc
