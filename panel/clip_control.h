// A clip (file or numbered file sequence) chooser: a name field and a browse
// button whose file dialog lists every file format the host knows, for
// loading or, when asked, for saving.
#pragma once

#include <string>
#include <vector>

#include "afxwin.h"
#include "frame/file_names.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

class ClipControl : public InputControl {
 public:
  ClipControl();
  ~ClipControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnOK() override;
  uint32_t OnDropFiles(HDROP drop) override;

  // The file dialog's filter: every format's patterns first, then one entry
  // per format that can load or save, then all files. `extensions` receives
  // each listed format's first extension in filter order and `initialIndex`
  // the 1-based index of `initialFormat`'s entry (0 when none has that ID).
  static std::string BuildFilter(uint32_t initialFormat, std::vector<std::string>* extensions, uint32_t* initialIndex);

  CButton Browse;
  TimeCodeEdit NameEdit;
  long LoadMode = 1;
  long HideName = 0;
  PathBuffer FileName = "";
  long HostChanged = 0;
  uint32_t InitialFormat = 0;
  HANDLE BrowseIcon = nullptr;

 private:
  void RunBrowse();
  void WriteClip(double time);
};

InputControl* NewClipControl();

}  // namespace qzc
