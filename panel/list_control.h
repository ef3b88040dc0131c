// The clips placed on a tool's clip-list input, one row each with its name,
// start and end: a double-click moves the document to a clip, Delete
// removes one in its own undo step, and dropped files become new clips end
// to end from the current time.
#pragma once

#include "afxwin.h"
#include "qzsystem/cliplist.h"
#include "qzsystem/inputcontrol.h"
#include "windows/field_windows.h"

namespace qzc {

class ListControl : public InputControl {
 public:
  ListControl();
  ~ListControl() override;

  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  void UpdateDisplay(Input* input) override;
  uint32_t OnDropFiles(HDROP drop) override;

  QZListBox ClipList;
  ::ClipList* Entries = nullptr;

 private:
  ::ClipList* FindEntries();
  Input* ClipListInput();
  const ClipEntry* EntryOfRow(int row);
  void DeleteClip(int row);
  void MoveToClip();
};

InputControl* NewListControl();

}  // namespace qzc
