#include "afxdlgs.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "framework_state.h"
#include "qzplatform/dialogs.h"

namespace {

std::array<COLORREF, 16>& CustomColours() {
  static std::array<COLORREF, 16> colours = [] {
    std::array<COLORREF, 16> white;
    white.fill(RGB(255, 255, 255));
    return white;
  }();
  return colours;
}

void CopyBounded(char* dest, size_t size, LPCSTR text) {
  size_t length = text ? strnlen(text, size - 1) : 0;
  if (length) memcpy(dest, text, length);
  dest[length] = '\0';
}

size_t NameOffset(const std::string& path) {
  size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

namespace afx {

void ResetCommonDialogs() {
  CustomColours().fill(RGB(255, 255, 255));
  qz::ResetDialogResponder();
}

}  // namespace afx

HWND CCommonDialog::OwnerWindow() const {
  if (m_pParentWnd) return m_pParentWnd->m_hWnd;
  CWnd* main = AfxGetMainWnd();
  return main ? main->m_hWnd : nullptr;
}

// ---- CColorDialog ----

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : CCommonDialog(parent), m_cc{} {
  m_cc.lStructSize = sizeof(m_cc);
  m_cc.rgbResult = initial;
  m_cc.Flags = flags | CC_RGBINIT;
  m_cc.lpCustColors = GetSavedCustomColors();
}

INT_PTR CColorDialog::DoModal() {
  m_cc.hwndOwner = OwnerWindow();
  return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}

COLORREF* CColorDialog::GetSavedCustomColors() {
  return CustomColours().data();
}

// ---- CFontDialog ----

CFontDialog::CFontDialog(LPLOGFONTA logFont, DWORD flags, HDC printer, CWnd* parent)
    : CCommonDialog(parent), m_cf{}, m_lf{}, m_callerFont(logFont) {
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpLogFont = &m_lf;
  m_cf.Flags = flags;
  m_cf.hDC = printer;
  if (printer) m_cf.Flags |= CF_PRINTERFONTS;
  if (logFont) {
    m_lf = *logFont;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
}

INT_PTR CFontDialog::DoModal() {
  m_cf.hwndOwner = OwnerWindow();
  if (!::ChooseFontA(&m_cf)) return IDCANCEL;
  if (m_callerFont && m_cf.lpLogFont) *m_callerFont = *m_cf.lpLogFont;
  return IDOK;
}

void CFontDialog::GetCurrentFont(LPLOGFONTA logFont) const {
  if (logFont && m_cf.lpLogFont) *logFont = *m_cf.lpLogFont;
}

CString CFontDialog::GetFaceName() const {
  return CString(m_cf.lpLogFont->lfFaceName, LF_FACESIZE);
}

BOOL CFontDialog::IsBold() const {
  return m_cf.lpLogFont->lfWeight >= 600;
}

// ---- CFileDialog ----

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : CCommonDialog(parent), m_ofn{}, m_bOpenFileDialog(openFileDialog), m_szFileName{}, m_szFileTitle{} {
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.Flags = flags;
  CopyBounded(m_szFileName, sizeof m_szFileName, fileName);
  if (defaultExtension) {
    m_defaultExtension = defaultExtension;
    m_ofn.lpstrDefExt = m_defaultExtension.c_str();
  }
  if (filter) {
    m_filter = filter;
    std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
    // Two NULs end the list even when the caller left out the final "||".
    m_filter.append(2, '\0');
    m_ofn.lpstrFilter = m_filter.data();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = OwnerWindow();
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
  return m_ofn.lpstrFile ? CString(m_ofn.lpstrFile, static_cast<int>(m_ofn.nMaxFile)) : CString();
}

CString CFileDialog::GetFileName() const {
  std::string path = GetPathName().Std();
  return CString(path.substr(NameOffset(path)));
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}
