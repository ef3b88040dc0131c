#include "qzsystem/previewview.h"

void PreviewView::RedrawControls() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

CWnd* CChildFrame::GetView(int kind) {
  auto found = Views.find(kind);
  return found == Views.end() ? nullptr : found->second;
}

void CChildFrame::SetView(int kind, CWnd* view) {
  if (view)
    Views[kind] = view;
  else
    Views.erase(kind);
}
