#include "frame/panel_windows.h"

#include "qzsystem/resources.h"

namespace qzc {

LRESULT EditColours(HDC hdc, ResColour* colours) {
  if (!colours || !colours->Load() || !colours->Brush) return 0;
  ::SetTextColor(hdc, colours->Colour);
  ::SetBkColor(hdc, colours->Background);
  return reinterpret_cast<LRESULT>(colours->Brush);
}

void ForwardFieldLeaving(HWND window, WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != EN_KILLFOCUS) return;
  if (::GetCapture() == window) ::ReleaseCapture();
  if (HWND parent = ::GetParent(window)) ::SendMessageA(parent, WM_COMMAND, wParam, lParam);
}

void SetControlFont(CWnd& wnd, HFONT font) {
  if (wnd.m_hWnd) wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

BOOL CreateLabel(CStatic& label, const char* placeholder, DWORD style, const RECT& rect, CWnd* parent, HFONT font,
                 const char* text) {
  if (!label.Create(placeholder, style, rect, parent, LabelId)) return FALSE;
  SetControlFont(label, font);
  label.SetWindowText(text ? text : "");
  return TRUE;
}

BOOL CreatePushButton(CButton& button, const char* caption, const RECT& rect, CWnd* parent, UINT id, HFONT font) {
  if (!button.Create(caption ? caption : "", PushButtonStyle, rect, parent, id)) return FALSE;
  SetControlFont(button, font);
  return TRUE;
}

void FollowDisabled(CWnd& wnd, uint32_t disabled) {
  if (!wnd.m_hWnd) return;
  if (disabled)
    wnd.ModifyStyle(0, WS_DISABLED);
  else
    wnd.ModifyStyle(WS_DISABLED, 0);
}

BOOL CreateTrackBarWindow(CWnd& wnd, InputControl** owner, LPCSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id, void* context) {
  if (!parent || !parent->m_hWnd) return FALSE;
  *owner = reinterpret_cast<InputControl*>(::GetWindowLongA(parent->m_hWnd, 0));
  InitCommonControls();
  if (!wnd.CWnd::Create(TRACKBAR_CLASSA, windowName, style, rect, parent, id, context)) return FALSE;
  wnd.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  return TRUE;
}

void UpdateFromTopmostPending(HWND hwnd) {
  HWND first = hwnd;
  for (HWND above = ::GetParent(hwnd); above; above = ::GetParent(above))
    if (::GetUpdateRect(above, nullptr, FALSE)) first = above;
  ::UpdateWindow(first);
}

}  // namespace qzc
