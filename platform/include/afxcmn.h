// Wrappers of the common controls: the rich edit field and the track bar.
#pragma once

#include "afxwin.h"
#include "richedit.h"

class CRichEditCtrl : public CWnd {
 public:
  // Makes sure the rich edit class is registered, then creates a "RICHEDIT" child.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  DWORD SetEventMask(DWORD mask);
  DWORD GetEventMask() const;
  void LimitText(long max = 0);
  COLORREF SetBackgroundColor(BOOL useSystemColor, COLORREF color);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  void GetSel(long& start, long& end) const;
  void SetSel(long start, long end);
  void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
  int GetLineCount() const;
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
};

class CSliderCtrl : public CWnd {
 public:
  // Makes sure the common controls are registered, then creates a "msctls_trackbar32" child.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(int min, int max, BOOL redraw = FALSE);
  void GetRange(int& min, int& max) const;
  int GetRangeMin() const;
  int GetRangeMax() const;
  void SetPos(int pos);
  int GetPos() const;
  int SetPageSize(int size);
  void SetTicFreq(int freq);
};
