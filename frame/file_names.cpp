#include "frame/file_names.h"

#include <strings.h>

#include <cstring>

#include "frame/panel_windows.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

bool CopyPath(PathBuffer& out, const char* text) {
  if (!text) text = "";
  const size_t length = std::strlen(text);
  if (length >= PathSize) return false;
  std::memcpy(out, text, length + 1);
  return true;
}

void CopyPathCut(PathBuffer& out, const char* text) {
  if (!text) text = "";
  const size_t length = std::min(std::strlen(text), PathSize - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

bool SameFileName(const char* a, const char* b) {
  return strcasecmp(a ? a : "", b ? b : "") == 0;
}

HANDLE LoadBrowseIcon() {
  return LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(BrowseIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
}

BOOL CreatePathField(TimeCodeEdit& field, const RECT& rect, CWnd* parent, UINT id, HFONT font) {
  if (!field.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", PathFieldStyle, rect, parent, id)) return FALSE;
  SetControlFont(field, font);
  return TRUE;
}

BOOL CreateIconButton(CButton& button, const RECT& rect, CWnd* parent, UINT id, HFONT font, HANDLE icon) {
  if (!button.Create("", IconButtonStyle, rect, parent, id)) return FALSE;
  SetControlFont(button, font);
  button.SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  return TRUE;
}

void ShowPath(CWnd& field, const char* path, bool hidden) {
  if (field.m_hWnd) field.SetWindowText(hidden ? "" : path);
}

bool FirstDroppedFile(HDROP drop, PathBuffer& out) {
  if (!drop || DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 0) return false;
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  if (length == 0 || length >= PathSize) return false;
  DragQueryFileA(drop, 0, out, PathSize);
  return true;
}

bool TypedPath(CWnd& field, PathBuffer& out) {
  if (!field.m_hWnd) return false;
  const int length = field.GetWindowTextLength();
  if (length < 0 || static_cast<size_t>(length) >= PathSize) return false;
  field.GetWindowText(out, PathSize);
  return true;
}

}  // namespace qzc
