#include "afxwin.h"

namespace {

template <typename T = LRESULT>
T Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<T>(::SendMessageA(hwnd, msg, wParam, lParam));
}

LPARAM Text(LPCSTR text) {
  return reinterpret_cast<LPARAM>(text);
}

}  // namespace

// ---- CStatic ----

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("STATIC", text, style, rect, parent, id);
}

HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(
      ::SendMessageA(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

// ---- CButton ----

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}

UINT CButton::GetState() const {
  return Send<UINT>(m_hWnd, BM_GETSTATE);
}

void CButton::SetState(BOOL highlight) {
  Send(m_hWnd, BM_SETSTATE, highlight);
}

int CButton::GetCheck() const {
  return Send<int>(m_hWnd, BM_GETCHECK);
}

void CButton::SetCheck(int check) {
  Send(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check));
}

UINT CButton::GetButtonStyle() const {
  return static_cast<UINT>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & 0xff;
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
  Send(m_hWnd, BM_SETSTYLE, style, MAKELPARAM(redraw, 0));
}

HICON CButton::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}

HICON CButton::GetIcon() const {
  return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HBITMAP CButton::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}

// ---- CEdit ----

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}

void CEdit::SetLimitText(UINT max) {
  Send(m_hWnd, EM_LIMITTEXT, max);
}

void CEdit::LimitText(int max) {
  Send(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(max));
}

UINT CEdit::GetLimitText() const {
  return Send<UINT>(m_hWnd, EM_GETLIMITTEXT);
}

DWORD CEdit::GetSel() const {
  return Send<DWORD>(m_hWnd, EM_GETSEL);
}

void CEdit::GetSel(int& start, int& end) const {
  DWORD first = 0, last = 0;
  Send(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  start = static_cast<int>(first);
  end = static_cast<int>(last);
}

void CEdit::SetSel(DWORD selection, BOOL) {
  Send(m_hWnd, EM_SETSEL, LOWORD(selection), HIWORD(selection));
}

void CEdit::SetSel(int start, int end, BOOL) {
  Send(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
  Send(m_hWnd, EM_REPLACESEL, canUndo, Text(text));
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  return Send<BOOL>(m_hWnd, EM_SETREADONLY, readOnly);
}

BOOL CEdit::GetModify() const {
  return Send<BOOL>(m_hWnd, EM_GETMODIFY);
}

void CEdit::SetModify(BOOL modified) {
  Send(m_hWnd, EM_SETMODIFY, modified);
}

int CEdit::GetLineCount() const {
  return Send<int>(m_hWnd, EM_GETLINECOUNT);
}

// ---- CComboBox ----

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
}

int CComboBox::AddString(LPCSTR text) {
  return Send<int>(m_hWnd, CB_ADDSTRING, 0, Text(text));
}

int CComboBox::InsertString(int index, LPCSTR text) {
  return Send<int>(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index), Text(text));
}

int CComboBox::DeleteString(UINT index) {
  return Send<int>(m_hWnd, CB_DELETESTRING, index);
}

void CComboBox::ResetContent() {
  Send(m_hWnd, CB_RESETCONTENT);
}

int CComboBox::GetCount() const {
  return Send<int>(m_hWnd, CB_GETCOUNT);
}

int CComboBox::GetCurSel() const {
  return Send<int>(m_hWnd, CB_GETCURSEL);
}

int CComboBox::SetCurSel(int select) {
  return Send<int>(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(select));
}

int CComboBox::GetLBText(int index, LPSTR text) const {
  return Send<int>(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
}

void CComboBox::GetLBText(int index, CString& text) const {
  int length = GetLBTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  int copied = GetLBText(index, text.GetBuffer(length));
  text.ReleaseBuffer(copied < 0 ? 0 : copied);
}

int CComboBox::GetLBTextLen(int index) const {
  return Send<int>(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return Send<int>(m_hWnd, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

DWORD_PTR CComboBox::GetItemData(int index) const {
  return Send<DWORD_PTR>(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index));
}

int CComboBox::SetItemHeight(int index, UINT height) {
  return Send<int>(m_hWnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
}

int CComboBox::GetItemHeight(int index) const {
  return Send<int>(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(index));
}

void CComboBox::ShowDropDown(BOOL show) {
  Send(m_hWnd, CB_SHOWDROPDOWN, show);
}

BOOL CComboBox::GetDroppedState() const {
  return Send<BOOL>(m_hWnd, CB_GETDROPPEDSTATE);
}

int CComboBox::FindStringExact(int startAfter, LPCSTR text) const {
  return Send<int>(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(text));
}

// ---- CListBox ----

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("LISTBOX", nullptr, style, rect, parent, id);
}

int CListBox::AddString(LPCSTR text) {
  return Send<int>(m_hWnd, LB_ADDSTRING, 0, Text(text));
}

int CListBox::InsertString(int index, LPCSTR text) {
  return Send<int>(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(index), Text(text));
}

int CListBox::DeleteString(UINT index) {
  return Send<int>(m_hWnd, LB_DELETESTRING, index);
}

void CListBox::ResetContent() {
  Send(m_hWnd, LB_RESETCONTENT);
}

int CListBox::GetCount() const {
  return Send<int>(m_hWnd, LB_GETCOUNT);
}

int CListBox::GetCurSel() const {
  return Send<int>(m_hWnd, LB_GETCURSEL);
}

int CListBox::SetCurSel(int select) {
  return Send<int>(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(select));
}

int CListBox::GetText(int index, LPSTR buffer) const {
  return Send<int>(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
}

void CListBox::GetText(int index, CString& text) const {
  int length = GetTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  int copied = GetText(index, text.GetBuffer(length));
  text.ReleaseBuffer(copied < 0 ? 0 : copied);
}

int CListBox::GetTextLen(int index) const {
  return Send<int>(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index));
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
  return Send<int>(m_hWnd, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

DWORD_PTR CListBox::GetItemData(int index) const {
  return Send<DWORD_PTR>(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(index));
}

int CListBox::SetItemHeight(int index, UINT height) {
  return Send<int>(m_hWnd, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
}

BOOL CListBox::SetTabStops(int count, LPINT tabStops) {
  return Send<BOOL>(m_hWnd, LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(tabStops));
}

BOOL CListBox::SetTabStops() {
  return Send<BOOL>(m_hWnd, LB_SETTABSTOPS, 0, 0);
}

BOOL CListBox::SetTabStops(const int& eachN) {
  return Send<BOOL>(m_hWnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&eachN));
}

int CListBox::SetTopIndex(int index) {
  return Send<int>(m_hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(index));
}

int CListBox::GetTopIndex() const {
  return Send<int>(m_hWnd, LB_GETTOPINDEX);
}

int CListBox::FindStringExact(int startAfter, LPCSTR text) const {
  return Send<int>(m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(text));
}
