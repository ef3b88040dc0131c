// The viewer window that viewer controls draw in. A host's viewer derives
// from it and draws the picture and the controls when it paints.
#pragma once

#include <map>

#include "afxwin.h"

class CPipelineDoc;

// Messages about a tool's viewer overlay, lParam the tool (Operator*): the
// overlay control shown in a viewer (to the frame's flow view), and closed
// (to every view of the document).
constexpr UINT OverlayShownMessage = 0x140A;
constexpr UINT OverlayClosedMessage = 0x1409;

// The frame window that holds a document's views side by side; each view has
// a kind.
class CChildFrame {
 public:
  // The kind of the flow view, where the document's tools are shown.
  static constexpr int FlowView = 4;

  virtual ~CChildFrame() = default;
  // The frame's view of `kind`, or null.
  virtual CWnd* GetView(int kind);
  // Makes `view` the frame's view of `kind` (null removes it).
  void SetView(int kind, CWnd* view);

 private:
  std::map<int, CWnd*> Views;
};

class PreviewView : public CWnd {
 public:
  CPipelineDoc* Doc = nullptr;
  CChildFrame* Frame = nullptr;  // the frame holding the view; not owned

  // Asks for the picture and its controls to be drawn again; the base
  // invalidates the whole client area, to be painted by the next paint.
  virtual void RedrawControls();
};
