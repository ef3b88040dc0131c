// How panel controls create and drive their labels and push buttons: the
// toolkit's static and button windows, used the same way by every control.
#pragma once

#include "afxwin.h"

namespace qzc {

constexpr UINT LabelId = 0xffff;  // labels send nothing a control acts on
constexpr DWORD LeftLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr DWORD RightLabelStyle = WS_CHILD | WS_VISIBLE | SS_RIGHT;
constexpr DWORD PushButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// Sends WM_SETFONT with the control's font (0 for none), redrawing.
void SetControlFont(CWnd& wnd, HFONT font);

// Creates a label with a placeholder text, sets its font, then its real text.
BOOL CreateLabel(CStatic& label, const char* placeholder, DWORD style, const RECT& rect, CWnd* parent, HFONT font,
                 const char* text);

// Creates a push button with its caption and the control's font.
BOOL CreatePushButton(CButton& button, const char* caption, const RECT& rect, CWnd* parent, UINT id, HFONT font);

// Paints `hwnd` now, starting at its top-most ancestor that still has to
// paint: a window painted before such an ancestor would be painted over again
// by it.
void UpdateFromTopmostPending(HWND hwnd);

// WS_DISABLED follows the control's Disabled flag.
void FollowDisabled(CWnd& wnd, uint32_t disabled);

}  // namespace qzc
