#include "qzsystem/previewview.h"

void PreviewView::RedrawControls() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
