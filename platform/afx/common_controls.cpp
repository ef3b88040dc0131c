#include "afxcmn.h"

namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessageA(hwnd, msg, wParam, lParam);
}

}  // namespace

// ---- CRichEditCtrl ----

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (!::LoadLibraryA("RICHED32.DLL")) return FALSE;
  return CWnd::Create(RICHEDIT_CLASSA, nullptr, style, rect, parent, id);
}

DWORD CRichEditCtrl::SetEventMask(DWORD mask) {
  return static_cast<DWORD>(Send(m_hWnd, EM_SETEVENTMASK, 0, mask));
}

DWORD CRichEditCtrl::GetEventMask() const {
  return static_cast<DWORD>(Send(m_hWnd, EM_GETEVENTMASK));
}

void CRichEditCtrl::LimitText(long max) {
  Send(m_hWnd, EM_EXLIMITTEXT, 0, max);
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL useSystemColor, COLORREF color) {
  return static_cast<COLORREF>(Send(m_hWnd, EM_SETBKGNDCOLOR, static_cast<WPARAM>(useSystemColor), color));
}

BOOL CRichEditCtrl::SetReadOnly(BOOL readOnly) {
  return static_cast<BOOL>(Send(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(readOnly)));
}

void CRichEditCtrl::GetSel(long& start, long& end) const {
  DWORD first = 0, last = 0;
  Send(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  start = static_cast<long>(first);
  end = static_cast<long>(last);
}

void CRichEditCtrl::SetSel(long start, long end) {
  Send(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CRichEditCtrl::ReplaceSel(LPCSTR text, BOOL canUndo) {
  Send(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}

int CRichEditCtrl::GetLineCount() const {
  return static_cast<int>(Send(m_hWnd, EM_GETLINECOUNT));
}

BOOL CRichEditCtrl::GetModify() const {
  return static_cast<BOOL>(Send(m_hWnd, EM_GETMODIFY));
}

void CRichEditCtrl::SetModify(BOOL modified) {
  Send(m_hWnd, EM_SETMODIFY, static_cast<WPARAM>(modified));
}

// ---- CSliderCtrl ----

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  ::InitCommonControls();
  return CWnd::Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id);
}

void CSliderCtrl::SetRange(int min, int max, BOOL redraw) {
  Send(m_hWnd, TBM_SETRANGE, static_cast<WPARAM>(redraw), MAKELPARAM(min, max));
}

void CSliderCtrl::GetRange(int& min, int& max) const {
  min = GetRangeMin();
  max = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const {
  return static_cast<int>(Send(m_hWnd, TBM_GETRANGEMIN));
}

int CSliderCtrl::GetRangeMax() const {
  return static_cast<int>(Send(m_hWnd, TBM_GETRANGEMAX));
}

void CSliderCtrl::SetPos(int pos) {
  Send(m_hWnd, TBM_SETPOS, TRUE, pos);
}

int CSliderCtrl::GetPos() const {
  return static_cast<int>(Send(m_hWnd, TBM_GETPOS));
}

int CSliderCtrl::SetPageSize(int size) {
  return static_cast<int>(Send(m_hWnd, TBM_SETPAGESIZE, 0, size));
}

void CSliderCtrl::SetTicFreq(int freq) {
  Send(m_hWnd, TBM_SETTICFREQ, static_cast<WPARAM>(freq));
}
