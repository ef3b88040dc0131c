// The framework's common dialogs: modal calls of the platform's colour, font
// and file dialogs, answered by the host's responder (qzplatform/dialogs.h).
#pragma once

#include "afxwin.h"
#include "commdlg.h"

class CCommonDialog : public CWnd {
 public:
  explicit CCommonDialog(CWnd* parent) : m_pParentWnd(parent) {}
  // IDOK or IDCANCEL.
  virtual INT_PTR DoModal() = 0;
  CWnd* m_pParentWnd;

 protected:
  HWND OwnerWindow() const;
};

class CColorDialog : public CCommonDialog {
 public:
  // CC_RGBINIT is always added so that the dialog opens on `initial`; the
  // custom colours are shared by every colour dialog, as the framework does.
  explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  static COLORREF* GetSavedCustomColors();

  CHOOSECOLORA m_cc;
};

class CFontDialog : public CCommonDialog {
 public:
  // With `logFont`, the dialog opens on it (CF_INITTOLOGFONTSTRUCT) and the
  // chosen font is written back to it on OK.
  explicit CFontDialog(LPLOGFONTA logFont = nullptr, DWORD flags = CF_EFFECTS | CF_SCREENFONTS, HDC printer = nullptr,
                       CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  void GetCurrentFont(LPLOGFONTA logFont) const;
  CString GetFaceName() const;
  int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
  COLORREF GetColor() const { return m_cf.rgbColors; }
  int GetWeight() const { return m_cf.lpLogFont->lfWeight; }
  BOOL IsBold() const;
  BOOL IsItalic() const { return m_cf.lpLogFont->lfItalic != 0; }
  BOOL IsUnderline() const { return m_cf.lpLogFont->lfUnderline != 0; }
  BOOL IsStrikeOut() const { return m_cf.lpLogFont->lfStrikeOut != 0; }

  CHOOSEFONTA m_cf;
  LOGFONTA m_lf;

 private:
  LPLOGFONTA m_callerFont;
};

class CFileDialog : public CCommonDialog {
 public:
  // `filter` is "Description|pattern|...||"; each '|' becomes the NUL the
  // platform's filter list uses.
  explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                       CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;

  OPENFILENAMEA m_ofn;

 protected:
  BOOL m_bOpenFileDialog;
  std::string m_filter;
  std::string m_defaultExtension;
  char m_szFileName[_MAX_PATH];
  char m_szFileTitle[64];
};
