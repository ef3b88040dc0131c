// The viewer window that viewer controls draw in. A host's viewer derives
// from it and draws the picture and the controls when it paints.
#pragma once

#include "afxwin.h"

class CPipelineDoc;

class PreviewView : public CWnd {
 public:
  CPipelineDoc* Doc = nullptr;

  // Asks for the picture and its controls to be drawn again; the base
  // invalidates the whole client area, to be painted by the next paint.
  virtual void RedrawControls();
};
